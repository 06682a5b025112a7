#include "objects/clip_list.h"

namespace tova {
namespace {

// The gap between the two on each axis is at most the merge distance.
bool Near(const TRect& a, const TRect& b) {
    constexpr int32_t d = TClipList::kMergeDistance;
    return int64_t{a.Left} - d <= b.Right && int64_t{b.Left} - d <= a.Right &&
           int64_t{a.Top} - d <= b.Bottom && int64_t{b.Top} - d <= a.Bottom;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

}  // namespace

void TClipList::Add(const TRect& rect, const TRect& bounds) {
    TRect r = rect.Intersect(bounds);
    if (r.IsEmpty()) return;
    for (size_t i = 0; i < rects_.size();) {
        if (!Near(rects_[i], r)) {
            ++i;
            continue;
        }
        if (Inside(r, rects_[i])) return;
        r = r.Union(rects_[i]);
        rects_.erase(rects_.begin() + static_cast<ptrdiff_t>(i));
        i = 0;  // the union may now be near an entry already passed
    }
    rects_.push_back(r);
}

}  // namespace tova
