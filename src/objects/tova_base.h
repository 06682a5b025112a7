// A screen layer: a control the size of the screen whose children are the
// top-level controls of that layer, with its dirty region, its own picture
// and the mouse state the window feeds it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/surface.h"
#include "objects/clip_list.h"
#include "objects/tova_control.h"

namespace tova {

// Bits of TLayerInput::Capture.
enum class TCapture : uint8_t {
    LeftClick = 1,   // a left click waits for its release
    RightClick = 2,  // a right click waits for its release
    LeftHeld = 4,    // the left button is captured by HoverControl
    RightHeld = 8,   // the right button is captured by HoverControl
};

// The mouse as one layer sees it. Latches are set by the window between
// frames and moved into the "now" bytes by the frame's input stage.
struct TLayerInput {
    int32_t MouseX = 0;
    int32_t MouseY = 0;
    bool LeftDownLatch = false;
    bool LeftDownNow = false;
    bool RightDownLatch = false;
    bool RightDownNow = false;
    bool LeftHeld = false;
    bool RightHeld = false;
    bool Moved = false;
    uint8_t Capture = 0;
    TComponentHandle HoverControl;  // the control under the pointer last frame
    bool WheelDownLatch = false;
    bool WheelDownNow = false;
    bool WheelUpLatch = false;
    bool WheelUpNow = false;
    std::string CursorFile;  // the cursor file now shown

    bool Has(TCapture bit) const { return (Capture & static_cast<uint8_t>(bit)) != 0; }
    void Set(TCapture bit) { Capture = static_cast<uint8_t>(Capture | static_cast<uint8_t>(bit)); }
    void Drop(TCapture bit) { Capture = static_cast<uint8_t>(Capture & ~static_cast<uint8_t>(bit)); }
};

// The name of layer index (0 or 1), "\001BASE0" or "\001BASE1"; scripts and
// save records name the current layer by the first, the other by the second.
std::string_view LayerName(int index);

class TTovaBase : public TTovaControl {
public:
    // index: 0 or 1, naming the layer "\001BASE0" or "\001BASE1".
    explicit TTovaBase(int index);

    TTovaBase* AsLayer() const override { return const_cast<TTovaBase*>(this); }
    bool WantsAutoName() const override { return false; }
    int Index() const { return index_; }

    // Resizes the layer and its picture (sizes already within the limits)
    // and marks it wholly dirty.
    void Resize(int32_t width, int32_t height);
    // Adds a rectangle (screen coordinates) to the dirty region.
    void AddLayerDirtyRect(const TRect& rect);
    void InvalidateAll();
    const TClipList& Dirty() const { return dirty_; }
    void ClearDirty() { dirty_.Clear(); }

    // Repaints every dirty rectangle into target: the layer's colour (when
    // not negative), then its children in sibling order.
    void PaintDirty(TSurface32& target, TBrioCollection* images);

    // The layer's own picture (drawn into while it is not the current layer,
    // or during a transition).
    TSurface32& OwnSurface() { return surface_; }
    const TSurface32& OwnSurface() const { return surface_; }

    TLayerInput Input;

private:
    int index_;
    TClipList dirty_;
    TSurface32 surface_;
};

}  // namespace tova
