#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/error.h"
#include "platform/file_system.h"

namespace tova {
namespace {

// File names may have 255 bytes; the prefix, a hash and the suffix must fit.
constexpr size_t kMaxEncodedKey = 200;

// Attempts to lock a file that its holder removed in the meantime.
constexpr int kMaxLockAttempts = 16;

// '%' too: keys write their own '-' and '%' as %2D and %25, and these stay
// as they are, so two keys never meet in one file name.
bool IsSafeByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c == '%';
}

uint64_t Fnv1a(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

[[noreturn]] void RaiseSystem(const std::string& path, const char* what, int error) {
    throw ETovaError(path + ": " + what + ": " + std::strerror(error));
}

// Whether st is a directory of this user that no one else may change.
bool IsPrivateDirectory(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 022) == 0;
}

int LockNonBlocking(int fd) {
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

}  // namespace

std::string InstanceLockFileName(std::string_view key) {
    std::string encoded;
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsSafeByte(byte)) {
            encoded.push_back(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        }
    }
    if (encoded.size() > kMaxEncodedKey) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(key)));
        encoded.resize(kMaxEncodedKey);
        encoded += "~";
        encoded += hash;
    }
    return "tovaplayer-" + encoded + ".lock";
}

std::string PrivateRuntimeDirectory() {
    const std::string dir =
        ToHostPath(TempDirectory()) + "tovaplayer-" + std::to_string(static_cast<unsigned long>(::geteuid()));
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        RaiseSystem(dir, "cannot make the lock folder", errno);
    struct stat st;
    if (::lstat(dir.c_str(), &st) != 0) RaiseSystem(dir, "cannot inspect the lock folder", errno);
    if (S_ISLNK(st.st_mode)) throw ETovaError(dir + ": the lock folder is a link");
    if (!S_ISDIR(st.st_mode)) throw ETovaError(dir + ": the lock folder is not a folder");
    if (st.st_uid != ::geteuid()) throw ETovaError(dir + ": the lock folder belongs to another user");
    if ((st.st_mode & 077) != 0) throw ETovaError(dir + ": the lock folder is open to other users");
    return dir + "/";
}

std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    if (runtime && runtime[0] == '/' && ::stat(runtime, &st) == 0 && IsPrivateDirectory(st))
        return WithSlash(runtime);
    return PrivateRuntimeDirectory();
}

bool FileSystemIgnoresCase(const std::string& hostPath) {
    constexpr long kMsdos = 0x4d44, kExfat = 0x2011bab0, kNtfs = 0x5346544e;
    struct statfs fs;
    if (::statfs(hostPath.c_str(), &fs) != 0) return false;
    const long type = static_cast<long>(fs.f_type);
    return type == kMsdos || type == kExfat || type == kNtfs;
}

std::unique_ptr<TInstanceLock> TInstanceLock::TryAcquire(std::string_view key, std::string_view folder) {
    std::string path =
        WithSlash(folder.empty() ? RuntimeDirectory() : std::string(folder)) + InstanceLockFileName(key);
    // A holder removes the file as it ends: a lock taken on a file that is
    // no longer the one at the path guards nothing, so it is taken again.
    for (int attempt = 0; attempt < kMaxLockAttempts; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) RaiseSystem(path, "cannot open the instance lock", errno);
        struct stat opened;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid()) {
            ::close(fd);
            throw ETovaError(path + ": the instance lock is not a file of this user");
        }
        if (const int error = LockNonBlocking(fd)) {
            ::close(fd);
            if (error == EWOULDBLOCK) return nullptr;
            RaiseSystem(path, "cannot lock the instance lock", error);
        }
        struct stat named;
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
            named.st_ino == opened.st_ino)
            return std::unique_ptr<TInstanceLock>(new TInstanceLock(fd, std::move(path)));
        ::close(fd);
    }
    throw ETovaError(path + ": the instance lock keeps being replaced");
}

TInstanceLock::~TInstanceLock() {
    // Removed while still locked: a player that opened the file meanwhile
    // finds, once it has the lock, that the path no longer names its file.
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace tova
