// The single-instance guard: an advisory lock (flock) on a file named after
// the instance key, in the runtime folder. The lock belongs to the open file,
// so it goes away with the process however that ends, and a stale file left
// behind never keeps a later player from starting.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tova {

class TInstanceLock {
public:
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // Takes the lock of key (code page 932 bytes) in folder (a host path;
    // empty: RuntimeDirectory()). Null when another process holds it; throws
    // ETovaError when the lock file cannot be opened.
    static std::unique_ptr<TInstanceLock> TryAcquire(std::string_view key, std::string_view folder = {});

    // The host path of the lock file.
    const std::string& Path() const { return path_; }

private:
    TInstanceLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    int fd_;
    std::string path_;
};

// $XDG_RUNTIME_DIR when it names a directory, else the system temporary
// folder; a host path with a trailing '/'.
std::string RuntimeDirectory();

// The lock file's name for a key: "tovaplayer-" + the key with every byte
// outside [A-Za-z0-9._-] written as %XX, + ".lock". A key too long for a file
// name keeps its start and gets a hash of the whole key instead of its rest.
std::string InstanceLockFileName(std::string_view key);

}  // namespace tova
