#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

bool IsSafeByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

uint64_t Fnv1a(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
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

std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    if (runtime && *runtime && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::string dir(runtime);
        if (dir.back() != '/') dir.push_back('/');
        return dir;
    }
    return ToHostPath(TempDirectory());
}

std::unique_ptr<TInstanceLock> TInstanceLock::TryAcquire(std::string_view key, std::string_view folder) {
    std::string dir = folder.empty() ? RuntimeDirectory() : std::string(folder);
    if (dir.back() != '/') dir.push_back('/');
    std::string path = dir + InstanceLockFileName(key);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw ETovaError(path + ": cannot open the instance lock: " + std::strerror(errno));
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return nullptr;
        throw ETovaError(path + ": cannot lock the instance lock: " + std::strerror(error));
    }
    return std::unique_ptr<TInstanceLock>(new TInstanceLock(fd, std::move(path)));
}

TInstanceLock::~TInstanceLock() {
    // The file stays: removing it would race with a player that has just
    // opened it and is about to lock it.
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

}  // namespace tova
