// Big streams: 64-bit streams over a file that may be split into parts, over
// memory, or over a module resource. They are TStreams, so the binary readers
// work on them directly, and add the copy operations the archive code uses.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "vfs/resource_locator.h"

namespace tova {

class TTpBigStream : public TStream {
public:
    virtual int64_t GetPositionBig() = 0;
    virtual void SetPositionBig(int64_t position) = 0;

    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    // Count 0 copies the whole source from position 0. Return the bytes copied.
    virtual int64_t CopyFromBig(TTpBigStream& source, int64_t count);
    int64_t CopyFromStream(TStream& source, int64_t count) { return CopyFrom(source, count); }
    // Reads count bytes from here into destination.
    virtual int64_t CopyTo(TStream& destination, int64_t count);
    // The count bytes at position as memory that stays valid while the
    // stream lives and is not written, when the stream can give them so (a mapped file part,
    // memory); empty otherwise. The position does not move.
    virtual std::span<const uint8_t> ViewAt(int64_t /*position*/, int64_t /*count*/) { return {}; }
};

// The part size of split archive files: 1 GiB.
constexpr int64_t kBigFilePartSize = int64_t{1} << 30;

// A file in parts: part 0 is the named file, part k the name without its
// extension + "." + k as three digits (game.dat, game.001, game.002, ...).
class TTpBigFileStream : public TTpBigStream {
public:
    // mode: the TFileMode bits. A mode that writes without reading (write-only
    // or create) deletes every existing part first; a reading mode opens the
    // existing parts in turn until one is missing. Throws ETovaError naming
    // the file when part 0 cannot be opened.
    TTpBigFileStream(std::string_view programPath, unsigned mode, int64_t partSize = kBigFilePartSize);
    ~TTpBigFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t GetSize() override;
    int64_t GetPositionBig() override { return position_; }
    // Beyond the size moves to the size.
    void SetPositionBig(int64_t position) override;
    int64_t CopyFromBig(TTpBigStream& source, int64_t count) override;
    // Within one part of a stream opened for reading only.
    std::span<const uint8_t> ViewAt(int64_t position, int64_t count) override;

    const std::string& FileName() const { return fileName_; }
    int64_t PartSize() const { return partSize_; }
    int PartCount() const;
    // The program path of part k.
    static std::string PartName(std::string_view programPath, int part);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string fileName_;
    int64_t partSize_;
    int64_t position_ = 0;
};

// An owned memory stream seen as a big stream.
class TTpBigMemoryStream : public TTpBigStream {
public:
    TTpBigMemoryStream() = default;
    explicit TTpBigMemoryStream(std::vector<uint8_t> bytes) : memory_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override { return memory_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override { return memory_.Write(buffer, count); }
    int64_t GetSize() override { return memory_.GetSize(); }
    void SetSize(int64_t size) override { memory_.SetSize(size); }
    int64_t GetPositionBig() override { return memory_.GetPosition(); }
    void SetPositionBig(int64_t position) override;
    std::span<const uint8_t> ViewAt(int64_t position, int64_t count) override;

    TTpMemoryStream& Memory() { return memory_; }
    void LoadFromFile(std::string_view programPath);
    void SaveToFile(std::string_view programPath);

private:
    TTpMemoryStream memory_;
};

// A read-only stream over one module resource.
class TTpBigResourceStream : public TTpBigStream {
public:
    TTpBigResourceStream(const TResourceLocation& location, std::string resName, std::string resType);
    ~TTpBigResourceStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t GetSize() override { return location_.size; }
    int64_t GetPositionBig() override { return position_; }
    void SetPositionBig(int64_t position) override;

    const TResourceLocation& Location() const { return location_; }
    const std::string& ResName() const { return resName_; }
    const std::string& ResType() const { return resType_; }

private:
    TResourceLocation location_;
    std::string resName_;
    std::string resType_;
    std::unique_ptr<TStream> file_;  // for resources inside a file
    int64_t position_ = 0;
};

// A read-ahead buffer of 102400 bytes over a big stream it does not own.
// Destroying it steps the stream back by what it had read ahead, so the
// stream stands right after the last byte taken through the buffer.
class TTpBuffBigStream : public TStream {
public:
    static constexpr int64_t kBufferSize = 102400;

    explicit TTpBuffBigStream(TTpBigStream& stream);
    ~TTpBuffBigStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // The size when the buffer was made: the stream does not change while
    // it is read through the buffer, and asking a file each time is slow.
    int64_t GetSize() override { return size_; }

private:
    TTpBigStream& stream_;
    int64_t size_;
    std::vector<uint8_t> buffer_;
    size_t begin_ = 0;  // next unread byte in buffer_
    size_t end_ = 0;    // bytes valid in buffer_
};

}  // namespace tova
