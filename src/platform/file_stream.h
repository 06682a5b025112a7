// A TStream over a host file, opened by program path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/stream.h"

namespace tova {

// Open modes as the data's callers give them: an access mode plus share bits.
// Sharing is advisory on this host: deny-write opens take a shared lock and
// exclusive opens an exclusive one, so two players never write one file.
enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,  // create anew (truncate), read and write
};

class TFileStream : public TStream {
public:
    // Throws ETovaError naming the file when it cannot be opened.
    TFileStream(std::string_view programPath, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;
    void SetSize(int64_t size) override;

    // Forces written data to the disk (fsync).
    void Flush();
    const std::string& HostPath() const { return hostPath_; }

private:
    int fd_ = -1;
    bool writable_ = false;
    std::string hostPath_;
};

}  // namespace tova
