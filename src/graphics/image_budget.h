// The memory one image may take while it loads: the surfaces of its layers
// and frames, the buffers its data is inflated into and what its decoders
// hold. A loader takes the bytes of everything it allocates from the budget
// before it allocates it, so an image whose data asks for more than the
// budget fails as a damaged image (the image cache then shows its 8 x 8
// frame) before any of that memory is touched.
#pragma once

#include <cstdint>

#include "graphics/surface.h"

namespace tova {

class TImageBudget {
public:
    static constexpr int64_t kDefaultLimit = int64_t{512} << 20;

    explicit TImageBudget(int64_t limit = kDefaultLimit) : limit_(limit) {}

    int64_t Limit() const { return limit_; }
    int64_t Used() const { return used_; }
    int64_t Left() const { return limit_ - used_; }
    // Takes bytes from what is left; when they do not fit, nothing is taken
    // and ETovaError says the image is damaged.
    void Take(int64_t bytes);
    // Gives bytes back (never more than were taken).
    void Give(int64_t bytes);
    void Reset() { used_ = 0; }

    // Resizes surface (its pixels zero), taking the new size's bytes and
    // giving back what it held.
    template <typename Pixel>
    void Resize(TSurface<Pixel>& surface, int32_t width, int32_t height) {
        Take(TSurface<Pixel>::BytesFor(width, height));
        Give(surface.Bytes());
        surface.Resize(width, height);
    }
    // target becomes a copy of source, taking the copy's bytes.
    template <typename Pixel>
    void Copy(TSurface<Pixel>& target, const TSurface<Pixel>& source) {
        Take(source.Bytes());
        Give(target.Bytes());
        target = source;
    }

private:
    int64_t limit_;
    int64_t used_ = 0;
};

// Bytes taken from a budget for as long as the hold lives: an inflate
// buffer, or what a decoder holds while it runs.
class TBudgetHold {
public:
    explicit TBudgetHold(TImageBudget& budget) : budget_(budget) {}
    ~TBudgetHold() { budget_.Give(bytes_); }
    TBudgetHold(const TBudgetHold&) = delete;
    TBudgetHold& operator=(const TBudgetHold&) = delete;

    void Take(int64_t bytes) {
        budget_.Take(bytes);
        bytes_ += bytes;
    }

private:
    TImageBudget& budget_;
    int64_t bytes_ = 0;
};

}  // namespace tova
