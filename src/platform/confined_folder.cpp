#include "platform/confined_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

namespace tova {
namespace {

// An absolute host path, normalised, without a trailing '/'.
std::filesystem::path Normal(const std::string& hostPath) {
    std::filesystem::path path = std::filesystem::path(hostPath).lexically_normal();
    if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
    return path;
}

// The part of target below root, when target is root or lies below it.
std::optional<std::filesystem::path> Below(const std::filesystem::path& target,
                                           const std::filesystem::path& root) {
    auto t = target.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++t)
        if (t == target.end() || *t != *r) return std::nullopt;
    std::filesystem::path rest;
    for (; t != target.end(); ++t)
        rest /= *t;
    return rest;
}

// Opens (making it when missing) the folder name below the folder dir,
// never through a link; -1 when that fails.
int OpenChild(int dir, const std::string& name) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(dir, name.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT && (::mkdirat(dir, name.c_str(), 0777) == 0 || errno == EEXIST))
        fd = ::openat(dir, name.c_str(), kFlags);
    return fd;
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

std::unique_ptr<TConfinedFolder> TConfinedFolder::Open(const std::string& hostPath,
                                                       const std::vector<std::string>& allowedRoots) {
    const std::filesystem::path target = Normal(hostPath);
    if (!target.is_absolute()) return nullptr;
    for (const std::string& allowed : allowedRoots) {
        if (allowed.empty() || allowed.front() != '/') continue;
        const std::filesystem::path root = Normal(allowed);
        const std::optional<std::filesystem::path> rest = Below(target, root);
        if (!rest) continue;
        int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (auto part = rest->begin(); fd >= 0 && part != rest->end(); ++part) {
            const int child = OpenChild(fd, part->string());
            ::close(fd);
            fd = child;
        }
        if (fd >= 0) return std::unique_ptr<TConfinedFolder>(new TConfinedFolder(fd));
    }
    return nullptr;
}

TConfinedFolder::~TConfinedFolder() {
    ::close(fd_);
}

bool TConfinedFolder::Contains(const std::string& name) const {
    struct stat st;
    return IsPlainName(name) && ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool TConfinedFolder::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
    if (!IsPlainName(name)) return false;
    // Not blocking: a pipe planted under the name must not hang the player.
    const int fd =
        ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    // A half-written file is worse than none.
    if (!ok) ::unlinkat(fd_, name.c_str(), 0);
    return ok;
}

}  // namespace tova
