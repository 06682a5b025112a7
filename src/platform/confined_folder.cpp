#include "platform/confined_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "platform/file_system.h"

namespace tova {

namespace {

// Longest file name most Linux file systems take.
constexpr size_t kMaxFileName = 255;

std::string Joined(const std::string& base, const THostComponents& folders, const std::string& name) {
    std::string path = base;
    for (const std::string& folder : folders)
        path += "/" + folder;
    if (!name.empty()) path += "/" + name;
    return path;
}

int OpenChildFolder(int parent, const std::string& name) {
    int fd;
    do {
        fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

TConfinedFolder::TConfinedFolder(const std::string& hostDir) : hostDir_(hostDir) {
    std::error_code error;
    std::filesystem::create_directories(hostDir, error);
    root_ = ::open(hostDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root_ < 0) Fail("cannot open folder", {}, "", errno);
}

TConfinedFolder::~TConfinedFolder() {
    if (current_ >= 0 && current_ != root_) ::close(current_);
    if (root_ >= 0) ::close(root_);
}

void TConfinedFolder::Fail(const std::string& what, const THostComponents& folders, const std::string& name,
                           int error) const {
    const std::string reason = std::error_code(error, std::generic_category()).message();
    throw ETovaError(Utf8ToCp932Lossy(what + " '" + Joined(hostDir_, folders, name) + "': " + reason));
}

TPathKind TConfinedFolder::Probe(const THostComponents& path) const {
    if (path.empty()) return TPathKind::Folder;
    std::string relative;
    for (const std::string& component : path)
        relative += (relative.empty() ? "" : "/") + component;
    struct stat st;
    if (::fstatat(root_, relative.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? TPathKind::Missing : TPathKind::Other;
    if (S_ISDIR(st.st_mode)) return TPathKind::Folder;
    if (S_ISREG(st.st_mode)) return TPathKind::File;
    return TPathKind::Other;
}

int64_t TConfinedFolder::FreeBytes() const {
    struct statvfs st;
    if (::fstatvfs(root_, &st) != 0) return INT64_MAX;
    return static_cast<int64_t>(st.f_bavail) * static_cast<int64_t>(st.f_frsize);
}

int TConfinedFolder::OpenFolder(const THostComponents& folders) {
    if (current_ >= 0 && folders == currentPath_) return current_;
    if (current_ >= 0 && current_ != root_) ::close(current_);
    current_ = -1;
    int fd = root_;
    THostComponents walked;
    for (const std::string& name : folders) {
        int child = OpenChildFolder(fd, name);
        if (child < 0 && errno == ENOENT) {
            if (::mkdirat(fd, name.c_str(), 0777) != 0 && errno != EEXIST) {
                const int error = errno;
                if (fd != root_) ::close(fd);
                Fail("cannot create folder", walked, name, error);
            }
            child = OpenChildFolder(fd, name);
        }
        const int error = errno;
        if (fd != root_) ::close(fd);
        // ELOOP or ENOTDIR: a link or a file stands where a folder belongs.
        if (child < 0)
            Fail(error == ELOOP ? "refusing to write through the link" : "cannot open folder", walked, name,
                 error);
        walked.push_back(name);
        fd = child;
    }
    current_ = fd;
    currentPath_ = folders;
    return fd;
}

std::unique_ptr<TConfinedFile> TConfinedFolder::CreateFile(const THostComponents& folders,
                                                           const std::string& name) {
    const int folder = OpenFolder(folders);
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    constexpr int kAttempts = 16;
    // Where nothing stands yet the file is made at its place (and removed
    // again when dropped); else beside it under a fresh name, so the older
    // file stays whole until the new one is complete.
    std::string writtenName = name;
    int fd = ::openat(folder, name.c_str(), kFlags, 0666);
    for (int attempt = 1; fd < 0 && errno == EEXIST && attempt <= kAttempts; ++attempt) {
        writtenName = TemporaryName(name);
        // A name at its longest may leave no room for the temporary suffix.
        if (writtenName.size() > kMaxFileName) writtenName = TemporaryName(name.substr(0, kMaxFileName - 16));
        fd = ::openat(folder, writtenName.c_str(), kFlags, 0666);
    }
    if (fd < 0) Fail("cannot create file", folders, name, errno);
    // The file keeps a descriptor of its own on the folder: this one moves on
    // with the next path.
    const int own = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        const int error = errno;
        ::unlinkat(folder, writtenName.c_str(), 0);
        ::close(fd);
        Fail("cannot create file", folders, name, error);
    }
    return std::unique_ptr<TConfinedFile>(
        new TConfinedFile(own, fd, std::move(writtenName), name, Joined(hostDir_, folders, name)));
}

void TConfinedFolder::WriteFile(const THostComponents& folders, const std::string& name,
                                std::span<const uint8_t> bytes) {
    const std::unique_ptr<TConfinedFile> file = CreateFile(folders, name);
    file->Write(bytes);
    file->Commit();
}

// --- TConfinedFile ---

TConfinedFile::TConfinedFile(int folder, int fd, std::string writtenName, std::string name,
                             std::string shownPath)
    : folder_(folder),
      fd_(fd),
      writtenName_(std::move(writtenName)),
      name_(std::move(name)),
      shownPath_(std::move(shownPath)) {}

TConfinedFile::~TConfinedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!finished_) ::unlinkat(folder_, writtenName_.c_str(), 0);
    ::close(folder_);
}

void TConfinedFile::Fail(const std::string& what, int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlinkat(folder_, writtenName_.c_str(), 0);
    finished_ = true;
    const std::string reason = std::error_code(error, std::generic_category()).message();
    throw ETovaError(Utf8ToCp932Lossy(what + " '" + shownPath_ + "': " + reason));
}

void TConfinedFile::Write(std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("cannot write file", n < 0 ? errno : EIO);
        done += static_cast<size_t>(n);
    }
}

void TConfinedFile::Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail("cannot write file", errno);
    if (writtenName_ == name_) {
        finished_ = true;  // made at its place
        return;
    }
    // Only an older regular file gives way: the new file is a new inode, so
    // hard links to the old one are not written through either.
    struct stat st;
    if (::fstatat(folder_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode))
        Fail("refusing to replace", EEXIST);
    if (::renameat(folder_, writtenName_.c_str(), folder_, name_.c_str()) != 0) Fail("cannot replace", errno);
    finished_ = true;
}

}  // namespace tova
