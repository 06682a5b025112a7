#include "vfs/range_stream.h"

#include <algorithm>

#include "core/error.h"
#include "platform/file_stream.h"

namespace tova {

TRangeStream::TRangeStream(std::unique_ptr<TTpBigStream> stream, int64_t start, int64_t length)
    : stream_(std::move(stream)), start_(start), length_(length) {
    if (start_ < 0 || length_ < 0) throw ETovaError("invalid stream range");
    // "The whole stream" is everything from start on, so the range never
    // claims bytes past the inner stream's end.
    if (length_ == 0) length_ = std::max<int64_t>(0, stream_->GetSize() - start_);
    stream_->SetPositionBig(start_);
}

int64_t TRangeStream::Read(void* buffer, int64_t count) {
    std::lock_guard guard(lock_);
    const int64_t position = stream_->GetPositionBig();
    // An inner stream that ends before start leaves its position short of
    // the range: there is nothing of the range to read then.
    if (position < start_) return 0;
    const int64_t n = std::min(count, start_ + length_ - position);
    if (n <= 0) return 0;
    return stream_->Read(buffer, n);
}

int64_t TRangeStream::Write(const void*, int64_t) {
    return 0;
}

// Works relative to start: the current position is within [0, length], so
// clamping the offset to [-length, length] first keeps the sum from
// overflowing without changing the clamped result.
int64_t TRangeStream::Seek(int64_t offset, TSeekOrigin origin) {
    std::lock_guard guard(lock_);
    const int64_t current = std::clamp<int64_t>(stream_->GetPositionBig() - start_, 0, length_);
    int64_t base = current;
    switch (origin) {
        case TSeekOrigin::Beginning:
            base = 0;
            break;
        case TSeekOrigin::Current:
            break;
        case TSeekOrigin::End:
            base = length_;
            break;
        default:
            return current;
    }
    const int64_t target =
        std::clamp<int64_t>(base + std::clamp<int64_t>(offset, -length_, length_), 0, length_);
    stream_->SetPositionBig(start_ + target);
    return target;
}

int64_t TRangeStream::GetSize() {
    std::lock_guard guard(lock_);
    return length_;
}

TFileRangeStream::TFileRangeStream(std::string_view programPath, int64_t start, int64_t length,
                                   int64_t partSize)
    : TRangeStream(std::make_unique<TTpBigFileStream>(programPath, fmOpenRead | fmShareDenyWrite, partSize),
                   start, length) {}

TResourceRangeStream::TResourceRangeStream(const TResourceLocation& location, int64_t start, int64_t length)
    : TRangeStream(std::make_unique<TTpBigResourceStream>(location, std::string(), std::string()), start,
                   length) {}

}  // namespace tova
