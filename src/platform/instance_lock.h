// The single-instance guard: an advisory lock (flock) on a file named after
// the instance key, in the user's runtime folder ($XDG_RUNTIME_DIR) or, when
// the system gives none, in a private folder of the user below the system
// temporary folder. The lock belongs to the open file, so it goes away with
// the process however that ends; the holder removes the file when it ends.
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
    // empty: RuntimeDirectory()). Null when another process holds it. The
    // file is opened without following a link and must be a regular file of
    // this user; throws ETovaError when it cannot be opened or locked, or the
    // folder is not the user's own.
    static std::unique_ptr<TInstanceLock> TryAcquire(std::string_view key, std::string_view folder = {});

    // The host path of the lock file.
    const std::string& Path() const { return path_; }

private:
    TInstanceLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    int fd_;
    std::string path_;
};

// $XDG_RUNTIME_DIR when it names a directory of this user, else
// PrivateRuntimeDirectory(); a host path with a trailing '/'.
std::string RuntimeDirectory();

// The folder "tovaplayer-UID" below the system temporary folder, made with
// mode 0700 when missing; a host path with a trailing '/'. Throws ETovaError
// when it cannot be made, or is a link, not a directory, not owned by this
// user or open to others: another user could then plant or hold the lock.
std::string PrivateRuntimeDirectory();

// The lock file's name for a key: "tovaplayer-" + the key with every byte
// outside [A-Za-z0-9._%-] written as %XX, + ".lock". A key keeps its own
// escapes ("%2D" for a '-' of the folder, "%25" for a '%'), so the name is
// as distinct as the key. A key too long for a file
// name keeps its start and gets a hash of the whole key instead of its rest.
std::string InstanceLockFileName(std::string_view key);

// Whether the file system holding that host path matches names without
// regard to case (FAT, exFAT, NTFS), so that two spellings are one folder.
bool FileSystemIgnoresCase(const std::string& hostPath);

}  // namespace tova
