// The virtual file system: every game file is asked for by its virtual name
// and looked up, in order, in the data folder on disk, the archives (index 0
// being the collection of entries made in memory at run time) and the roots
// of data discs. A name with a ".." component is never looked up on disk:
// a game sees its own files, not what lies above its folders.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vfs/file_collection.h"
#include "vfs/lock_list.h"
#include "vfs/range_stream.h"
#include "vfs/resource_locator.h"

namespace tova {

class TMessageBoxHost;

// What the file system needs from the project to find and ask for data
// discs; the project implements it.
class TDataDiscHost {
public:
    virtual ~TDataDiscHost() = default;
    // Whether root holds install.dat of the loaded project with that disc index.
    virtual bool IsProjectDisc(const std::string& root, int discIndex) = 0;
    virtual std::string ApplicationTitle() = 0;
    // A format with one integer ("%d"), the disc number.
    virtual std::string DiscRequestMessage() = 0;
    virtual std::string QuitConfirmMessage() = 0;
    // Sets the program's terminate flag and asks the main window to close.
    virtual void Terminate() = 0;
};

struct TVrFileManagerOptions {
    // Defaults: the mounted iso9660/udf file systems, and a private folder of
    // this process below the system temporary folder.
    std::optional<std::vector<std::string>> cdRoots;
    std::optional<std::string> tempDir;
    TMessageBoxHost* messageBox = nullptr;
    TDataDiscHost* discHost = nullptr;
    // How often RequestDisc asks before it gives up; 0 asks until the user
    // quits. A player without a person at the screen sets 1.
    int maxDiscRequests = 0;
    int64_t partSize = kBigFilePartSize;
};

class TVrFileManager {
public:
    explicit TVrFileManager(TVrFileManagerOptions options = {});
    ~TVrFileManager();
    TVrFileManager(const TVrFileManager&) = delete;
    TVrFileManager& operator=(const TVrFileManager&) = delete;

    // Appends the archive; -1 when a file of that name is open already. An
    // empty name makes an archive with no file (the memory collection).
    int AddArchive(std::string_view fileName);
    int AddResourceArchive(std::string_view moduleName, std::string_view resName, std::string_view resType);
    void RemoveArchive(int index);
    void Clear();
    int ArchiveCount() const { return static_cast<int>(archives_.size()); }
    TVrFileCollection& Archive(int index) { return *archives_[static_cast<size_t>(index)]; }

    void SetDataDir(std::string_view dir);
    const std::string& DataDir() const { return dataDir_; }
    const std::vector<std::string>& CdRoots() const { return cdRoots_; }
    const std::string& TempDir() const { return locks_.TempDir(); }
    TVrLockList& Locks() { return locks_; }
    TResourceLocator& Resources() { return resources_; }
    void SetDiscHost(TDataDiscHost* host) { options_.discHost = host; }
    void SetMessageBox(TMessageBoxHost* host) { options_.messageBox = host; }

    bool Exists(std::string_view name);
    // The whole content, inflated, at position 0 (a memory stream is emptied
    // first). Raises "%s:ファイルがありません" when no source has it. With
    // maxSize, content of more bytes is refused (ETovaError naming the file)
    // before it is read, or as it inflates past the limit.
    void LoadToStream(TStream& stream, std::string_view name, std::optional<int64_t> maxSize = std::nullopt);
    // The stored bytes, through a private handle, for readers on other threads.
    std::unique_ptr<TRangeStream> OpenRange(std::string_view name);
    // A disk file with the content: the data folder's file, a (shared)
    // extracted temporary file or a disc's file; nullopt when no source has
    // it (a name of the game is never handed on as a host path of its own).
    std::optional<std::string> GetLocalFileName(std::string_view name);
    std::string ExtractToTemp(std::string_view name);
    TVrFile* FindEntry(std::string_view name);
    // Appends the names of the files in a virtual directory ("" or ending in '\').
    void ListFiles(std::string_view dir, std::vector<std::string>& list);
    void DeleteTempFiles() { locks_.DeleteTempFiles(); }

    bool FindDisc(int discIndex);
    bool RequestDisc(int discNo);

private:
    std::optional<std::string> DiskFile(std::string_view name) const;
    std::optional<std::string> DiscFile(std::string_view name) const;
    const std::string& EnsureTempDir();

    TVrFileManagerOptions options_;
    std::vector<std::unique_ptr<TVrFileCollection>> archives_;
    std::vector<std::string> cdRoots_;
    std::string dataDir_;
    TVrLockList locks_;
    TResourceLocator resources_;
    bool tempDirMade_ = false;
    bool ownsTempDir_ = false;
};

// Fills the first "%d" of a message format with n.
std::string FormatDiscMessage(std::string_view format, int n);

}  // namespace tova
