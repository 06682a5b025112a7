#include "core/stream.h"

#include <algorithm>
#include <cstring>

#include "core/error.h"

namespace tova {

int64_t TStream::GetSize() {
    const int64_t position = GetPosition();
    const int64_t size = Seek(0, TSeekOrigin::End);
    SetPosition(position);
    return size;
}

void TStream::SetSize(int64_t) { throw ETovaError("this stream cannot change its size"); }

int64_t TStream::Remaining() { return std::max<int64_t>(0, GetSize() - GetPosition()); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count > 0 && Read(buffer, count) != count) throw ETovaError("unexpected end of data");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count > 0 && Write(buffer, count) != count) throw ETovaError("stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.GetSize();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)));
    int64_t copied = 0;
    while (copied < count) {
        const int64_t chunk = std::min<int64_t>(count - copied, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        copied += chunk;
    }
    return copied;
}

int64_t TTpMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t available = std::max<int64_t>(0, GetSize() - position_);
    const int64_t n = std::clamp<int64_t>(count, 0, available);
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TTpMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    const int64_t end = position_ + count;
    if (end > GetSize()) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TTpMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = position_;
    if (origin == TSeekOrigin::End) base = GetSize();
    position_ = std::max<int64_t>(0, base + offset);
    return position_;
}

void TTpMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
    position_ = std::min(position_, GetSize());
}

void TTpMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TTpMemoryStream::Assign(std::vector<uint8_t> bytes) {
    data_ = std::move(bytes);
    position_ = 0;
}

}  // namespace tova
