// Read-only streams over one region of a big stream, for media decoders on
// other threads: each owns a private big stream with its own file handle and
// serialises its operations with its own lock, so it never moves the stream
// of the archive it came from.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#include "core/stream.h"
#include "vfs/big_stream.h"
#include "vfs/resource_locator.h"

namespace tova {

class TRangeStream : public TStream {
public:
    // Length 0 takes the whole inner stream's size as the length.
    TRangeStream(std::unique_ptr<TTpBigStream> stream, int64_t start, int64_t length);

    // Never passes start + length; 0 at the end.
    int64_t Read(void* buffer, int64_t count) override;
    // Writes nothing.
    int64_t Write(const void* buffer, int64_t count) override;
    // Clamped into [start, start + length]; returns the position relative to
    // start. An unknown origin keeps the position.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;

    int64_t Start() const { return start_; }
    int64_t Length() const { return length_; }

private:
    std::unique_ptr<TTpBigStream> stream_;
    int64_t start_;
    int64_t length_;
    std::mutex lock_;
};

// Over a file (and its parts), opened read-only with deny-write sharing.
class TFileRangeStream : public TRangeStream {
public:
    TFileRangeStream(std::string_view programPath, int64_t start, int64_t length, int64_t partSize = kBigFilePartSize);
};

// Over a module resource.
class TResourceRangeStream : public TRangeStream {
public:
    TResourceRangeStream(const TResourceLocation& location, int64_t start, int64_t length);
};

}  // namespace tova
