// A screen with an image cache over files held in memory, for the component
// tests: pictures made with the layered-image writer, properties set and
// read by number as scripts do, and frames run stage by stage.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/stream.h"
#include "expr/custom_param.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"
#include "expr/param_types.h"
#include "expr/property_types.h"
#include "graphics/brio_collection.h"
#include "graphics/brio_image.h"
#include "objects/property_access.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"

namespace tova::test {

class TMemoryImages : public TImageFileSource {
public:
    std::map<std::string, std::vector<uint8_t>> Files;
    bool Exists(std::string_view name) override { return Files.count(std::string(name)) != 0; }
    void Load(TStream& stream, std::string_view name) override {
        static_cast<TTpMemoryStream&>(stream).Assign(Files.at(std::string(name)));
    }
};

// One frame of a picture: its size, a colour per pixel and its delay.
struct TFrameSpec {
    int32_t Width = 1;
    int32_t Height = 1;
    std::function<TPixel32(int32_t x, int32_t y)> Colour;
    int32_t Delay = 100;
    // Alpha per pixel (0 transparent); none: the frame has no alpha plane.
    std::function<uint8_t(int32_t x, int32_t y)> Alpha;
};

inline TFrameSpec Spec(int32_t width, int32_t height, std::function<TPixel32(int32_t, int32_t)> colour,
                       int32_t delay = 100, std::function<uint8_t(int32_t, int32_t)> alpha = {}) {
    TFrameSpec spec;
    spec.Width = width;
    spec.Height = height;
    spec.Colour = std::move(colour);
    spec.Delay = delay;
    spec.Alpha = std::move(alpha);
    return spec;
}

inline std::vector<uint8_t> BrioFile(const std::vector<TFrameSpec>& frames) {
    TBrioFrameList list;
    for (const TFrameSpec& spec : frames) {
        TBrioFrame& frame = list.AddFrame();
        frame.Delay = spec.Delay;
        frame.Bpp = 32;
        TBrioLayer& layer = frame.AddLayer();
        layer.Picture.Resize(32, spec.Width, spec.Height);
        for (int32_t y = 0; y < spec.Height; ++y)
            for (int32_t x = 0; x < spec.Width; ++x)
                layer.Picture.Colour.Row(y)[x] = spec.Colour(x, y);
        if (spec.Alpha) {
            layer.HasAlpha = true;
            layer.AlphaOn = true;
            layer.Alpha.Resize(spec.Width, spec.Height);
            for (int32_t y = 0; y < spec.Height; ++y)
                for (int32_t x = 0; x < spec.Width; ++x)
                    layer.Alpha.Row(y)[x] = spec.Alpha(x, y);
        }
    }
    TTpMemoryStream stream;
    list.SaveToStream(stream);
    return stream.Bytes();
}

class ComponentTest : public ::testing::Test {
protected:
    ComponentTest() {
        screen_->SetImageCache(&cache_);
        screen_->SetEvaluator(&evaluator_);
        screen_->SetSize(64, 48);
    }

    // A registered component of the type on the current layer.
    template <class T>
    T& Create(int typeCode, const std::string& name) {
        TTovaObject* object = screen_->CreateComponent(typeCode);
        EXPECT_NE(object, nullptr);
        auto& component = dynamic_cast<T&>(*object);
        component.SetName(name);
        component.SetParent(&screen_->CurrentLayer());
        return component;
    }

    void Set(TTovaObject& object, int id, int32_t value) {
        SetAs(object, id, PT_INT, [&](auto& p) { p.SetInt(value); });
    }
    void Set(TTovaObject& object, int id, const std::string& value) {
        SetAs(object, id, PT_STR, [&](auto& p) { p.SetStr(value); });
    }
    void SetBool(TTovaObject& object, int id, bool value) {
        SetAs(object, id, PT_BOOL, [&](auto& p) { p.SetBool(value); });
    }
    int32_t Int(const TTovaObject& object, int id) {
        auto p = CreateParam(PropertyValueType(id));
        GetProperty(object, id, *p);
        return p->GetInt();
    }
    std::string Str(const TTovaObject& object, int id) {
        auto p = CreateParam(PropertyValueType(id));
        GetProperty(object, id, *p);
        return p->GetStr();
    }

    // One frame's component stage and, when asked, the painting.
    void Frame(int32_t ms, bool paint = true) {
        screen_->Step(ms);
        if (paint) {
            screen_->Paint();
            screen_->ClearDirty();
        }
    }
    TPixel32 Pixel(int32_t x, int32_t y) const { return screen_->Surface().Row(y)[x]; }
    bool Exists(const std::string& name) const { return screen_->FindObject(name) != nullptr; }

    TMemoryImages files_;
    TBrioCollection cache_{files_};
    TParamCollection vars_;
    TOpeEvaluator evaluator_{vars_};
    std::unique_ptr<TTovaBaseList> screen_ = std::make_unique<TTovaBaseList>();

private:
    template <class Fn>
    void SetAs(TTovaObject& object, int id, int type, Fn fill) {
        auto p = CreateParam(type);
        fill(*p);
        SetProperty(object, id, *p);
    }
};

}  // namespace tova::test
