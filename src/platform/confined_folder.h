// A folder that files are written into on behalf of a game script, held
// open by its descriptor: it must lie below one of the folders the player
// allows (the user's home, the save folder), and no link is followed on the
// way down from there, nor at the file written. Missing folders on the way
// are made. Every name below the folder is resolved from its descriptor, so
// a link planted after the check leads nowhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tova {

class TConfinedFolder {
public:
    ~TConfinedFolder();
    TConfinedFolder(const TConfinedFolder&) = delete;
    TConfinedFolder& operator=(const TConfinedFolder&) = delete;

    // The folder at hostPath (absolute), made with its missing parents when
    // it lies below one of allowedRoots (absolute host paths; the roots
    // themselves may be links). Null when it lies elsewhere, when a folder on
    // the way below the root is a link or not a folder, or when it cannot be
    // made.
    static std::unique_ptr<TConfinedFolder> Open(const std::string& hostPath,
                                                 const std::vector<std::string>& allowedRoots);

    // Whether anything (a file, a folder, a link) has that name in the folder.
    bool Contains(const std::string& name) const;
    // Writes a regular file of that name (a plain name, no delimiter); false
    // when it is a link or cannot be written, and then no partial file stays.
    bool WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    explicit TConfinedFolder(int fd) : fd_(fd) {}

    int fd_;
};

}  // namespace tova
