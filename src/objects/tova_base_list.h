// The screen: the two layers, the registry of every component, the event
// queue the components fill, the keyboard and mouse state the window feeds
// (latched between frames, read by Input), the keyboard focus, and the
// frame stages Input, Step and Paint. The registry, the keyboard, the
// mouse routing, the focus, painting and the save record live in units of
// their own (object_registry, keyboard_state, screen_*.cpp).
#pragma once

#include <array>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/surface.h"
#include "objects/input_sink.h"
#include "objects/keyboard_state.h"
#include "objects/object_registry.h"
#include "objects/timer_list.h"
#include "objects/tova_base.h"
#include "objects/tova_object.h"

namespace tova {

class TBrioCollection;
class TOpeEvaluator;

class TTovaBaseList final : public TTovaComponent, public TInputSink {
public:
    // The size after a reset until the project sets one, and the largest
    // side a screen may have.
    static constexpr int32_t kInitialSize = 8;
    static constexpr int32_t kMaxSide = 4096;
    // The first save version that stores the focused control's name.
    static constexpr int32_t kFocusNameVersion = 119;

    TTovaBaseList();
    ~TTovaBaseList() override;

    TObjectKind Kind() const override { return TObjectKind::Screen; }
    bool WantsAutoName() const override { return false; }
    void GetProp(int id, TCustomParam& result) const override;
    void SetProp(int id, const TCustomParam& value) override;

    // --- The window's input (latched; Input reads it in the next frame) ----
    void KeyDown(int keyCode, bool autoRepeat) override;
    void KeyUp(int keyCode) override;
    void MouseDown(TMouseButton button) override;
    void MouseUp(TMouseButton button) override;
    void MouseMove(int32_t x, int32_t y) override;
    void Wheel(int32_t steps) override;

    // --- Registry -------------------------------------------------------------
    // Registers a component: gives it its handle, its screen, a generated
    // name when it wants one and has none, and keeps its name unique when it
    // is a control. The screen owns it from now on.
    TTovaObject& AddObject(std::unique_ptr<TTovaObject> object);
    // A new registered component of the class for an LT_ code (the low 7
    // bits), or null for a code with no class.
    TTovaObject* CreateComponent(int typeCode);
    // A layer by the special names ("" or "\001BASE0": the current layer;
    // "\001" or "\001BASE1": the other), else the first registered
    // component of that name, else null.
    TTovaObject* FindObject(std::string_view name) const;
    // The same, limited to controls (PR_PARENT).
    TTovaControl* FindControl(std::string_view name) const;
    TComponentHandle FindHandle(std::string_view name) const;
    TTovaObject* Resolve(TComponentHandle handle) const;
    bool Contains(TComponentHandle handle) const { return Resolve(handle) != nullptr; }
    std::string NameOf(TComponentHandle handle) const;
    // The name FindObject finds the object by: a layer's is relative to the
    // current layer ("\001BASE0" for the current one), anything else its Name.
    std::string LookupName(const TTovaObject& object) const;
    // Prefix + 0, Prefix + 1 ... the first that no registered object has.
    std::string MakeName(std::string_view prefix) const;
    int IndexOfName(std::string_view name) const;
    // Appends the names of the registered objects of that LT_ code (0: any)
    // whose parent is parent (the screen itself: any); returns the count.
    int ListNames(std::vector<std::string>& names, int typeCode, const TTovaObject* parent) const;
    // Every registered component, in registration order.
    size_t ObjectCount() const { return registry_.Count(); }
    TTovaObject& Object(size_t i) const { return registry_.At(i); }

    // The script's deletion: the name is cleared at once (so it can be used
    // again in the same frame) and the component is freed at the end of Step.
    void DeleteObject(TTovaObject& object);
    bool IsScheduledForDeletion(const TTovaObject& object) const;
    // Frees a component now (its children first) and drops its events.
    void RemoveObject(TTovaObject& object);
    // Frees every component and the events they queued.
    void ClearObjects();
    // Frees every component, the queue's entries and both layers, and makes
    // two new layers of the present size.
    void Reset();

    // --- Layers and size ----------------------------------------------------
    TTovaBase& Layer(int index) const { return *layers_[static_cast<size_t>(index & 1)]; }
    TTovaBase& CurrentLayer() const { return Layer(current_); }
    int Current() const { return current_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Sizes (clamped to 1 .. kMaxSide) both layers and the composed picture.
    void SetSize(int32_t width, int32_t height);
    bool Transitioning() const { return transitioning_; }
    // Makes layer index current (the seam of the screen transitions: the
    // focus is dropped when it is not on that layer, and both layers are
    // repainted).
    void StartTransition(int index);

    // --- Focus ----------------------------------------------------------------
    TTovaControl* Focus() const;
    // Moves the keyboard focus, queuing focus-out and focus-in events.
    void SetFocus(TTovaControl* control);
    // Asks Input to give the focus to the first focusable control again.
    void MarkFocusDirty() { focusDirty_ = true; }
    bool FocusDirty() const { return focusDirty_; }

    // --- Keyboard ---------------------------------------------------------------
    bool KeyState(int code) const { return keyboard_.KeyState(code); }
    void SetKey(int code, bool down) { keyboard_.SetKey(code, down); }
    bool KeyPressed(int code) const { return keyboard_.KeyPressed(code); }
    void SetKeyPressed(int code, bool value) { keyboard_.SetKeyPressed(code, value); }
    void ClearKeys() { keyboard_.ClearKeys(); }
    const TKeyboardState& Keyboard() const { return keyboard_; }

    // --- Mouse (the current layer's state) ------------------------------------
    const TLayerInput& Mouse() const { return CurrentLayer().Input; }
    int32_t MouseX() const { return Mouse().MouseX; }
    int32_t MouseY() const { return Mouse().MouseY; }
    // The cursor file the pointer should show (empty: the default).
    const std::string& CursorFile() const { return Mouse().CursorFile; }

    // --- Frame stages -------------------------------------------------------
    void Input(int32_t frameMs);
    // Always true: the screen goes on.
    bool Step(int32_t frameMs) override;
    void Paint();
    // The composed picture: the current layer draws straight into it while
    // no transition runs.
    const TSurface32& Surface() const { return surface_; }
    // What the last Paint drew (screen coordinates).
    std::span<const TRect> PaintedRects() const { return painted_; }
    // Clears both layers' dirty lists (after presenting).
    void ClearDirty();

    // Where the screen reports what a script asked for and did not get (a
    // component nested too deep): errors hears of it once, trace (the
    // command log) every time; null: nowhere.
    void SetWarnings(std::ostream* errors, std::ostream* trace) {
        errors_ = errors;
        trace_ = trace;
    }
    // A script's PR_PARENT that SetParent refused as too deep.
    void NoteTooDeep(const TTovaControl& control, const TTovaControl& parent);

    void SetImageCache(TBrioCollection* images) { images_ = images; }
    TBrioCollection* ImageCache() const { return images_; }
    // The interpreter's evaluator, through which components evaluate the
    // expressions the creation commands handed them (an image's last-frame
    // delay); null while no interpreter runs.
    void SetEvaluator(TOpeEvaluator* evaluator) { evaluator_ = evaluator; }
    TOpeEvaluator* Evaluator() const { return evaluator_; }

    // The screen's part of the save data: size, current layer, both layers
    // with their children, the top-level non-visual components, the event
    // queue and the focused control's name.
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream, int32_t version) override;

    TTimerList Events;
    // Frames drawn per second, measured by the frame loop every two seconds
    // of frame time (0 until the first measurement).
    int32_t FrameRate = 0;

private:
    friend class TTovaObject;
    friend class TTovaControl;
    // Registry hooks of the objects.
    void Renamed(TTovaObject& object) { registry_.Renamed(object); }
    // Drops the keyboard focus without events (its control is going away
    // or moving).
    void DropFocus();
    // Before a control takes a name: another holder of it gets name_2,
    // name_3 ... (counting on from an _N suffix greater than 1).
    void MoveNameAside(const std::string& name, const TTovaObject& taker);
    void FreeTree(TTovaObject& object);
    void MakeLayers();
    void RouteMouse(TTovaBase& layer);
    void DeliverKeys();
    TTovaControl* FirstFocusable(TTovaControl& control) const;
    // The layer a special name stands for (see FindObject), or null.
    TTovaBase* LayerNamed(std::string_view name) const;

    TObjectRegistry registry_;
    std::array<std::unique_ptr<TTovaBase>, 2> layers_;
    int32_t width_ = kInitialSize;
    int32_t height_ = kInitialSize;
    TSurface32 surface_;
    bool transitioning_ = false;
    int current_ = 0;
    std::vector<TComponentHandle> pendingDelete_;
    TKeyboardState keyboard_;
    TComponentHandle focus_;
    bool focusDirty_ = false;
    std::vector<TRect> painted_;
    TBrioCollection* images_ = nullptr;
    TOpeEvaluator* evaluator_ = nullptr;
    std::ostream* errors_ = nullptr;
    std::ostream* trace_ = nullptr;
    bool tooDeepNoted_ = false;
    // Moves on whenever what controls inherit from their ancestors may have
    // changed; the controls keep what they inherited for one epoch.
    uint64_t layoutEpoch_ = 1;
};

}  // namespace tova
