#include "vfs/big_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"

namespace tova {

namespace {

constexpr int64_t kCopyBufferSize = int64_t{1} << 20;

// Positions come from callers and from file data: an offset that would
// overflow stops at the int64 range instead.
int64_t SaturatingAdd(int64_t a, int64_t b) {
    if (b > 0 && a > std::numeric_limits<int64_t>::max() - b) return std::numeric_limits<int64_t>::max();
    if (b < 0 && a < std::numeric_limits<int64_t>::min() - b) return std::numeric_limits<int64_t>::min();
    return a + b;
}

}  // namespace

int64_t TTpBigStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = GetPositionBig();
    if (origin == TSeekOrigin::End) base = GetSize();
    SetPositionBig(std::max<int64_t>(0, SaturatingAdd(base, offset)));
    return GetPositionBig();
}

int64_t TTpBigStream::CopyFromBig(TTpBigStream& source, int64_t count) {
    if (count == 0) {
        source.SetPositionBig(0);
        count = source.GetSize();
    }
    if (count <= 0) return 0;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
    for (int64_t left = count; left > 0;) {
        const int64_t chunk = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

int64_t TTpBigStream::CopyTo(TStream& destination, int64_t count) {
    if (count <= 0) return 0;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
    for (int64_t left = count; left > 0;) {
        const int64_t chunk = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        ReadBuffer(buffer.data(), chunk);
        destination.WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

// --- TTpBigMemoryStream ---

std::span<const uint8_t> TTpBigMemoryStream::ViewAt(int64_t position, int64_t count) {
    const std::vector<uint8_t>& bytes = memory_.Bytes();
    if (position < 0 || count < 0 || position > static_cast<int64_t>(bytes.size()) ||
        count > static_cast<int64_t>(bytes.size()) - position)
        return {};
    return std::span(bytes).subspan(static_cast<size_t>(position), static_cast<size_t>(count));
}

void TTpBigMemoryStream::SetPositionBig(int64_t position) {
    memory_.SetPosition(position);
}

void TTpBigMemoryStream::LoadFromFile(std::string_view programPath) {
    TFileStream file(programPath, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.GetSize()));
    file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    memory_.Assign(std::move(bytes));
}

// Writes beside the target first and renames over it only once every byte is
// on the disk, so a failure half-way (disk full) leaves the old file intact:
// one fsync of the new file before the rename, one of the folder after it.
// The file beside it is new, under a fresh name: whatever stands in the
// folder (a link to someone's file above all) is never written through.
void TTpBigMemoryStream::SaveToFile(std::string_view programPath) {
    std::string tempName;
    try {
        const std::unique_ptr<TFileStream> file = TFileStream::CreateTemporary(programPath, fmShareExclusive);
        tempName = file->ProgramPath();
        file->WriteBuffer(memory_.Bytes());
        file->Flush();
    } catch (...) {
        if (!tempName.empty()) DeleteFileAt(tempName);
        throw;
    }
    if (!RenameFileAt(tempName, programPath)) {
        DeleteFileAt(tempName);
        throw ETovaError::Format("%s: cannot write the file", {programPath});
    }
    if (!SyncFolderOf(programPath)) throw ETovaError::Format("%s: cannot write the file", {programPath});
}

// --- TTpBigResourceStream ---

TTpBigResourceStream::TTpBigResourceStream(const TResourceLocation& location, std::string resName,
                                           std::string resType)
    : location_(location), resName_(std::move(resName)), resType_(std::move(resType)) {
    if (location_.offset < 0 || location_.size < 0)
        throw ETovaError::Format("%s: invalid resource location", {resName_});
    if (location_.memory == nullptr && location_.size > 0)
        file_ = std::make_unique<TFileStream>(location_.fileName, fmOpenRead | fmShareDenyNone);
}

TTpBigResourceStream::~TTpBigResourceStream() = default;

int64_t TTpBigResourceStream::Read(void* buffer, int64_t count) {
    const int64_t n = std::clamp<int64_t>(count, 0, location_.size - position_);
    if (n == 0) return 0;
    int64_t got = n;
    if (location_.memory != nullptr) {
        std::memcpy(buffer, location_.memory + location_.offset + position_, static_cast<size_t>(n));
    } else {
        file_->Seek(location_.offset + position_, TSeekOrigin::Beginning);
        got = file_->Read(buffer, n);
    }
    position_ += got;
    return got;
}

int64_t TTpBigResourceStream::Write(const void*, int64_t) {
    return 0;
}

void TTpBigResourceStream::SetPositionBig(int64_t position) {
    position_ = std::clamp<int64_t>(position, 0, location_.size);
}

// --- TTpBuffBigStream ---

TTpBuffBigStream::TTpBuffBigStream(TTpBigStream& stream)
    : stream_(stream), size_(stream.GetSize()), buffer_(static_cast<size_t>(kBufferSize)) {}

TTpBuffBigStream::~TTpBuffBigStream() {
    if (end_ == begin_) return;
    try {
        stream_.SetPositionBig(stream_.GetPositionBig() - static_cast<int64_t>(end_ - begin_));
    } catch (...) {
        // A destructor cannot report; the stream's next use will fail instead.
    }
}

int64_t TTpBuffBigStream::Read(void* buffer, int64_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        if (begin_ == end_) {
            // A request larger than the buffer goes straight to the stream.
            if (count - done >= kBufferSize) {
                const int64_t got = stream_.Read(out + done, count - done);
                done += std::max<int64_t>(0, got);
                break;
            }
            begin_ = 0;
            end_ = static_cast<size_t>(std::max<int64_t>(0, stream_.Read(buffer_.data(), kBufferSize)));
            if (end_ == 0) break;
        }
        const size_t n = std::min(end_ - begin_, static_cast<size_t>(count - done));
        std::memcpy(out + done, buffer_.data() + begin_, n);
        begin_ += n;
        done += static_cast<int64_t>(n);
    }
    return done;
}

int64_t TTpBuffBigStream::Write(const void*, int64_t) {
    return 0;
}

// Positions are the reader's: the stream's position less what is buffered
// but not yet taken. A target inside the buffered window keeps the buffer.
int64_t TTpBuffBigStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int64_t streamPosition = stream_.GetPositionBig();
    const int64_t windowStart = streamPosition - static_cast<int64_t>(end_);
    const int64_t current = streamPosition - static_cast<int64_t>(end_ - begin_);
    int64_t base = current;
    if (origin == TSeekOrigin::Beginning) base = 0;
    if (origin == TSeekOrigin::End) base = stream_.GetSize();
    const int64_t target = std::max<int64_t>(0, SaturatingAdd(base, offset));
    if (target == current) return current;
    if (target >= windowStart && target <= streamPosition) {
        begin_ = static_cast<size_t>(target - windowStart);
        return target;
    }
    begin_ = end_ = 0;
    stream_.SetPositionBig(target);
    return stream_.GetPositionBig();
}

}  // namespace tova
