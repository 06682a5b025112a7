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

namespace tova {

namespace {

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

void TConfinedFolder::WriteFile(const THostComponents& folders, const std::string& name,
                                std::span<const uint8_t> bytes) {
    const int folder = OpenFolder(folders);
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(folder, name.c_str(), kFlags, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Only an older regular file gives way; the new file is a new inode,
        // so hard links to the old one are not written through either.
        struct stat st;
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            Fail("refusing to replace", folders, name, EEXIST);
        if (::unlinkat(folder, name.c_str(), 0) != 0) Fail("cannot replace", folders, name, errno);
        fd = ::openat(folder, name.c_str(), kFlags, 0666);
    }
    if (fd < 0) Fail("cannot create file", folders, name, errno);
    size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) return;
    ::unlinkat(folder, name.c_str(), 0);
    Fail("cannot write file", folders, name, error);
}

}  // namespace tova
