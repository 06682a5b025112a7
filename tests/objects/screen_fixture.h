// What the screen tests share: a control that fills its rectangle with its
// colour (to see painting, clips and priorities on real pictures), a
// non-visual component, and a screen with helpers to build and poke them.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/stream.h"
#include "expr/custom_param.h"
#include "expr/param_factory.h"
#include "expr/property_types.h"
#include "graphics/draw_ops.h"
#include "objects/property_access.h"
#include "objects/property_ids.h"
#include "objects/tova_base_list.h"

namespace tova {

// A box in all but name: it fills its rectangle with PR_COLOR and reports
// how often it was painted. It claims LT_BOX's code so it is saved.
class TFillControl : public TTovaControl {
public:
    int TypeCode() const override { return LT_BOX; }
    bool Paused() const override { return PausedFlag; }
    std::string IdleText() const override { return Idle; }
    bool Step(int32_t frameMs) override {
        TTovaControl::Step(frameMs);
        return OnStep ? OnStep(*this) : true;
    }
    void Paint(TPaintContext& context) override {
        ++PaintCount;
        Fill(context.Target.View(), context.Clip, GetBoundsRect(),
             PixelFromColorRef(static_cast<uint32_t>(Color)));
    }

    bool PausedFlag = false;
    std::string Idle;
    std::function<bool(TFillControl&)> OnStep;
    int PaintCount = 0;
};

// A timer-like component without a place on the screen.
class TQuietComponent : public TTovaComponent {
public:
    int TypeCode() const override { return LT_TIMER; }
    bool Step(int32_t) override { return !Finished; }
    bool Finished = false;
};

// Integer, boolean and string values for SetProperty.
inline std::unique_ptr<TCustomParam> IntValue(int32_t v) {
    auto p = CreateParam(PT_INT);
    p->SetInt(v);
    return p;
}
inline std::unique_ptr<TCustomParam> StrValue(const std::string& v) {
    auto p = CreateParam(PT_STR);
    p->SetStr(v);
    return p;
}

// The screen's save record, and loading (the first length bytes of) one.
inline std::vector<uint8_t> Saved(const TTovaBaseList& screen) {
    TTpMemoryStream stream;
    screen.SaveToStream(stream);
    return stream.Bytes();
}
inline void Load(TTovaBaseList& screen, const std::vector<uint8_t>& bytes, size_t length, int32_t version) {
    TTpMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int64_t>(length));
    stream.SetPosition(0);
    screen.LoadFromStream(stream, version);
}

class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() { screen.SetSize(200, 100); }

    TFillControl& Box(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height,
                      uint32_t colorRef = 0xFFFFFF, TTovaControl* parent = nullptr) {
        auto owned = std::make_unique<TFillControl>();
        owned->Name = name;
        TFillControl& box = static_cast<TFillControl&>(screen.AddObject(std::move(owned)));
        if (parent) box.SetParent(parent);
        box.SetBounds(left, top, width, height);
        box.SetColor(static_cast<int32_t>(colorRef));
        return box;
    }
    void Set(TTovaObject& object, int id, int32_t v) { SetProperty(object, id, *IntValue(v)); }
    void Set(TTovaObject& object, int id, const std::string& v) { SetProperty(object, id, *StrValue(v)); }
    int32_t GetInt(const TTovaObject& object, int id) {
        auto p = CreateParam(PropertyValueType(id));
        GetProperty(object, id, *p);
        return p->GetInt();
    }
    std::string GetStr(const TTovaObject& object, int id) {
        auto p = CreateParam(PT_STR);
        GetProperty(object, id, *p);
        return p->GetStr();
    }
    // One frame: input, step, paint, then the dirty lists are cleared.
    void Frame(int32_t ms = 16) {
        screen.Input(ms);
        screen.Step(ms);
        screen.Paint();
        screen.ClearDirty();
    }
    // The colour (0x00BBGGRR) of a pixel of the composed screen.
    uint32_t At(int32_t x, int32_t y) const { return ColorRefFromPixel(screen.Surface().Row(y)[x]); }
    // Handler names of the queued events, in order.
    std::vector<std::string> Queued() const {
        std::vector<std::string> handlers;
        for (size_t i = 0; i < screen.Events.Count(); ++i)
            handlers.push_back(screen.Events[i].Handler);
        return handlers;
    }

    TTovaBaseList screen;
};

}  // namespace tova
