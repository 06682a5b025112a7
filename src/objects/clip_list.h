// A layer's dirty region: the rectangles to repaint in the next frame. Near
// rectangles (within 20 pixels on every side) are merged, so that many small
// changes become a few larger copies.
#pragma once

#include <span>
#include <vector>

#include "graphics/surface.h"

namespace tova {

class TClipList {
public:
    // How close two rectangles must be (on every side) to be merged.
    static constexpr int32_t kMergeDistance = 20;

    // Clamps rect to bounds; an empty result is ignored. A rectangle near an
    // entry that holds it already changes nothing; else it is merged with
    // every near entry (the union replaces them) or appended.
    void Add(const TRect& rect, const TRect& bounds);
    void Clear() { rects_.clear(); }
    bool Empty() const { return rects_.empty(); }
    std::span<const TRect> Rects() const { return rects_; }

private:
    std::vector<TRect> rects_;
};

}  // namespace tova
