// Writing files below one host folder without ever leaving it: every path is
// walked from the folder's descriptor one component at a time, no symbolic
// link is followed, and a file is created only where nothing but (at most)
// an older regular file stood. Extraction of untrusted archives uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tova {

// Components of a path below the folder, host names (UTF-8), never "", "."
// or "..", never holding '/' or NUL.
using THostComponents = std::vector<std::string>;

enum class TPathKind { Missing, Folder, File, Other };  // Other: a link, a device, a socket...

// A file being written below a confined folder, piece by piece, always as a
// new file (exclusively, never through a link): at its place when nothing
// stands there, else under a fresh temporary name beside it, renamed over the
// older file by Commit. One that is dropped uncommitted is removed, so a
// failed or refused file leaves no trace and an older file of the name stays
// whole until the new one is complete.
class TConfinedFile {
public:
    ~TConfinedFile();
    TConfinedFile(const TConfinedFile&) = delete;
    TConfinedFile& operator=(const TConfinedFile&) = delete;

    // Throws ETovaError naming the file.
    void Write(std::span<const uint8_t> bytes);
    // Renames it over its place, which may hold at most an older regular
    // file. Throws ETovaError naming the file (which is then removed).
    void Commit();

private:
    friend class TConfinedFolder;
    TConfinedFile(int folder, int fd, std::string writtenName, std::string name, std::string shownPath);
    [[noreturn]] void Fail(const std::string& what, int error);

    int folder_;  // a descriptor of its own on the folder
    int fd_;
    std::string writtenName_;  // the name it is written under (its own when it was free)
    std::string name_;
    std::string shownPath_;  // for messages
    bool finished_ = false;  // committed, or removed after a failure
};

class TConfinedFolder {
public:
    // Opens the host folder, creating it and its missing parents first.
    // Throws ETovaError when it cannot.
    explicit TConfinedFolder(const std::string& hostDir);
    ~TConfinedFolder();
    TConfinedFolder(const TConfinedFolder&) = delete;
    TConfinedFolder& operator=(const TConfinedFolder&) = delete;

    // What the path names, without following a link in its last component.
    // Links in the other components are followed by the system, so callers
    // probe every parent first and stop at the first that is not a folder.
    TPathKind Probe(const THostComponents& path) const;
    // Bytes an unprivileged user may still write on the folder's file system.
    int64_t FreeBytes() const;

    // Creates the missing folders of the path, never through a link.
    // Throws ETovaError naming the path when it cannot.
    void MakeFolders(const THostComponents& folders) { OpenFolder(folders); }

    // Creates the missing folders and starts the file (see TConfinedFile),
    // never through a link. Throws ETovaError naming the path.
    std::unique_ptr<TConfinedFile> CreateFile(const THostComponents& folders, const std::string& name);
    // The same for a file written in one piece and committed at once.
    void WriteFile(const THostComponents& folders, const std::string& name, std::span<const uint8_t> bytes);

private:
    int OpenFolder(const THostComponents& folders);
    [[noreturn]] void Fail(const std::string& what, const THostComponents& folders, const std::string& name,
                           int error) const;

    std::string hostDir_;
    int root_ = -1;
    // The folder last written to stays open: entries come sorted, so most
    // files of one folder follow each other.
    THostComponents currentPath_;
    int current_ = -1;
};

}  // namespace tova
