// A TStream over a host file, opened by program path.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/stream.h"

namespace tova {

// Open modes as the data's callers give them: an access mode plus share bits
// (fmCreate may be combined with share bits too). Sharing is advisory on this
// host: an exclusive open takes an exclusive lock and fails while another
// exclusive open holds the file, so two players never write one file; the
// other modes take no lock, so readers never make anyone's open fail.
enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,  // create anew (truncate), read and write
    // Create a file where nothing stands yet, never through a link (fails
    // when anything, a link included, is at the path), read and write.
    fmCreateNew = 0x0100,
};

// Whether a mode makes its file (fmCreate or fmCreateNew), and whether it is
// fmCreateNew.
bool IsCreateMode(unsigned mode);
bool IsCreateNewMode(unsigned mode);

class TFileStream : public TStream {
public:
    // Throws ETovaError naming the file when it cannot be opened. Reading,
    // writing, seeking and resizing throw ETovaError on host I/O errors.
    TFileStream(std::string_view programPath, unsigned mode);
    // The file opened for reading or writing, or null when it does not exist.
    static std::unique_ptr<TFileStream> OpenExisting(std::string_view programPath, unsigned mode);
    // A new file beside programPath under a TemporaryName, created as
    // fmCreateNew with the share bits given: never an existing file, never
    // through a link. Its name is ProgramPath(). Throws ETovaError.
    static std::unique_ptr<TFileStream> CreateTemporary(std::string_view programPath, unsigned share = 0);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;
    void SetSize(int64_t size) override;

    // Reads or writes at an absolute position without moving the stream
    // (one pread or pwrite per call, looping on short transfers).
    int64_t ReadAt(int64_t position, void* buffer, int64_t count);
    int64_t WriteAt(int64_t position, const void* buffer, int64_t count);

    // The whole file as read-only memory, mapped on first use, for readers
    // that take many small pieces (one system call each would cost more
    // than the piece). Empty for a writable stream, an empty file or when
    // the system cannot map it: the caller then reads as usual. The view
    // covers the size at open and lives as long as the stream.
    std::span<const uint8_t> MappedView();

    // Forces written data to the disk (fsync). Closing does not: callers
    // that need a file to survive a crash say so (save.dat), the rest (an
    // extracted file, a packed archive) must not pay a sync per file.
    void Flush();
    const std::string& ProgramPath() const { return name_; }
    const std::string& HostPath() const { return hostPath_; }
    // The size and modification time (Unix seconds) when it was opened, from
    // the one status query of the open.
    int64_t OpenedSize() const { return openedSize_; }
    int64_t ModifiedTime() const { return modifiedTime_; }

private:
    [[noreturn]] void Fail(std::string_view action, int error) const;

    int fd_ = -1;
    bool writable_ = false;
    std::string name_;  // the program path, for messages
    std::string hostPath_;
    int64_t openedSize_ = 0;
    int64_t modifiedTime_ = 0;
    void* mapped_ = nullptr;
    bool mapTried_ = false;
};

// The whole content of a host file (a UTF-8 path, no lookup) of at most
// maxBytes. Refuses, with the path and the reason, what is not a regular
// file (a folder, a pipe that would block, a device that never ends) and a
// larger file, before reading any of it. Throws ETovaError.
std::string ReadHostFile(const std::string& hostPath, int64_t maxBytes);

}  // namespace tova
