#include "platform/file_stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "platform/file_system.h"

namespace tova {
namespace {

// One system call moves at most this much; larger requests loop.
constexpr int64_t kMaxTransfer = int64_t{1} << 30;

// Fresh names tried for a temporary file before giving up.
constexpr int kTemporaryAttempts = 16;

constexpr unsigned kCreateBits = 0xFF00;

bool IsTruncatingCreate(unsigned mode) {
    return (mode & kCreateBits) == fmCreate;
}

bool PathTaken(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

}  // namespace

bool IsCreateNewMode(unsigned mode) {
    return (mode & kCreateBits) == fmCreateNew;
}

bool IsCreateMode(unsigned mode) {
    return IsTruncatingCreate(mode) || IsCreateNewMode(mode);
}

std::unique_ptr<TFileStream> TFileStream::CreateTemporary(std::string_view programPath, unsigned share) {
    for (int attempt = 1;; ++attempt) {
        const std::string name = TemporaryName(programPath);
        try {
            return std::make_unique<TFileStream>(name, fmCreateNew | (share & 0xF0));
        } catch (const ETovaError&) {
            if (attempt == kTemporaryAttempts || !PathTaken(HostPathForCreate(name))) throw;
        }
    }
}

std::unique_ptr<TFileStream> TFileStream::OpenExisting(std::string_view programPath, unsigned mode) {
    if (IsCreateMode(mode) || !FindHostPath(programPath)) return nullptr;
    try {
        return std::make_unique<TFileStream>(programPath, mode);
    } catch (const ETovaError&) {
        if (DirectoryExists(programPath)) return nullptr;  // a folder is no file
        throw;
    }
}

TFileStream::TFileStream(std::string_view programPath, unsigned mode) : name_(programPath) {
    const bool create = IsTruncatingCreate(mode);
    int flags = O_CLOEXEC;
    if (create || IsCreateNewMode(mode)) {
        hostPath_ = HostPathForCreate(programPath);
        // Truncated only once the lock (if any) is held, so a failed
        // exclusive open never destroys the holder's data.
        flags |= O_RDWR | O_CREAT;
        if (!create) flags |= O_EXCL | O_NOFOLLOW;
        writable_ = true;
    } else {
        const auto found = FindHostPath(programPath);
        if (!found) Fail("cannot open file", ENOENT);
        hostPath_ = *found;
        const unsigned access = mode & 3;
        flags |= access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
        writable_ = access == fmOpenWrite || access == fmOpenReadWrite;
    }
    do {
        fd_ = ::open(hostPath_.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) Fail("cannot open file", errno);

    int error = 0;
    struct stat st;
    if (::fstat(fd_, &st) != 0)
        error = errno;
    else if (S_ISDIR(st.st_mode))
        error = EISDIR;
    else if ((mode & 0xF0) == fmShareExclusive && ::flock(fd_, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    else if (create && ::ftruncate(fd_, 0) != 0)
        error = errno;
    if (error == 0) {
        openedSize_ = IsCreateMode(mode) ? 0 : static_cast<int64_t>(st.st_size);
        modifiedTime_ = static_cast<int64_t>(st.st_mtime);
        return;
    }
    ::close(fd_);
    fd_ = -1;
    if (error == EWOULDBLOCK)
        throw ETovaError::Format("cannot open file '%s': it is in use by another program", {name_});
    Fail("cannot open file", error);
}

TFileStream::~TFileStream() {
    if (mapped_) ::munmap(mapped_, static_cast<size_t>(openedSize_));
    if (fd_ >= 0) ::close(fd_);
}

std::span<const uint8_t> TFileStream::MappedView() {
    if (!mapTried_) {
        mapTried_ = true;
        if (!writable_ && openedSize_ > 0 && static_cast<uint64_t>(openedSize_) <= SIZE_MAX) {
            void* view = ::mmap(nullptr, static_cast<size_t>(openedSize_), PROT_READ, MAP_PRIVATE, fd_, 0);
            if (view != MAP_FAILED) mapped_ = view;
        }
    }
    if (!mapped_) return {};
    return {static_cast<const uint8_t*>(mapped_), static_cast<size_t>(openedSize_)};
}

void TFileStream::Fail(std::string_view action, int error) const {
    const std::string reason = Utf8ToCp932Lossy(std::error_code(error, std::generic_category()).message());
    throw ETovaError::Format("%s '%s': %s", {action, name_, reason});
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    auto* bytes = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<size_t>(std::min(count - done, kMaxTransfer));
        const ssize_t n = ::read(fd_, bytes + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot read file", errno);
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<size_t>(std::min(count - done, kMaxTransfer));
        const ssize_t n = ::write(fd_, bytes + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot write file", errno);
        if (n == 0) break;  // no progress: report the short count
        done += n;
    }
    return done;
}

int64_t TFileStream::ReadAt(int64_t position, void* buffer, int64_t count) {
    auto* bytes = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<size_t>(std::min(count - done, kMaxTransfer));
        const ssize_t n = ::pread(fd_, bytes + done, chunk, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot read file", errno);
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::WriteAt(int64_t position, const void* buffer, int64_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<size_t>(std::min(count - done, kMaxTransfer));
        const ssize_t n = ::pwrite(fd_, bytes + done, chunk, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot write file", errno);
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == TSeekOrigin::Current ? SEEK_CUR
                       : origin == TSeekOrigin::End   ? SEEK_END
                                                      : SEEK_SET;
    const off_t position = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (position < 0) Fail("cannot seek in file", errno);
    return static_cast<int64_t>(position);
}

int64_t TFileStream::GetSize() {
    struct stat st;
    if (::fstat(fd_, &st) != 0) Fail("cannot read file", errno);
    return static_cast<int64_t>(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
    if (size < 0) Fail("cannot resize file", EINVAL);
    int result;
    do {
        result = ::ftruncate(fd_, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0) Fail("cannot resize file", errno);
    // Like the memory stream: a position past the new end moves to the end.
    if (GetPosition() > size) SetPosition(size);
}

void TFileStream::Flush() {
    // EINVAL: the file does not support syncing (a pipe or device); nothing to force.
    if (writable_ && ::fsync(fd_) != 0 && errno != EINVAL) Fail("cannot write file", errno);
}

std::string ReadHostFile(const std::string& hostPath, int64_t maxBytes) {
    const auto fail = [&](const std::string& why) {
        return ETovaError(Utf8ToCp932Lossy(hostPath + ": " + why));
    };
    // Non-blocking, so that opening a pipe with no writer returns at once.
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw fail(std::generic_category().message(errno));
    struct TCloser {
        int Fd;
        ~TCloser() { ::close(Fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) throw fail(std::generic_category().message(errno));
    if (S_ISDIR(st.st_mode)) throw fail("is a folder, not a file");
    if (!S_ISREG(st.st_mode)) throw fail("is not a regular file");
    if (st.st_size > maxBytes) throw fail("is larger than " + std::to_string(maxBytes) + " bytes");
    std::string content(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw fail(std::generic_category().message(errno));
        if (got == 0) break;  // the file shrank while it was read
        done += static_cast<size_t>(got);
    }
    content.resize(done);
    return content;
}

}  // namespace tova
