// Byte streams with 64-bit positions: the abstract TStream that readers and
// writers of every format work against, and the growable memory stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tova {

enum class TSeekOrigin { Beginning = 0, Current = 1, End = 2 };

class TStream {
public:
    virtual ~TStream() = default;

    // Return the number of bytes transferred; a short count is not an error.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t GetSize();
    // Streams that cannot change their size throw ETovaError.
    virtual void SetSize(int64_t size);

    int64_t GetPosition() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
    // Bytes between the position and the end (0 when past the end).
    int64_t Remaining();

    // Like Read and Write, but a short transfer throws ETovaError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteBuffer(std::span<const uint8_t> bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }

    // Copies count bytes from source's position; count 0 copies the whole
    // source from position 0. Returns the bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over an owned, growable byte buffer.
class TTpMemoryStream : public TStream {
public:
    TTpMemoryStream() = default;
    explicit TTpMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    void Clear();
    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t>& Bytes() { return data_; }
    uint8_t* Memory() { return data_.data(); }
    // Replaces the content; the position goes to 0.
    void Assign(std::vector<uint8_t> bytes);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

}  // namespace tova
