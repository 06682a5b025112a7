// Temporary files extracted from archives for code that needs a real file
// on disk. Each virtual name (compared case-sensitively) is extracted once
// and then shared; the files live until the list lets go of them, which
// queues them for deletion.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

struct TVrLockData {
    std::string Name;  // the virtual name
    int Id = 0;
    int RefCount = 0;
};

class TVrLockList {
public:
    TVrLockList() = default;
    ~TVrLockList();
    TVrLockList(const TVrLockList&) = delete;
    TVrLockList& operator=(const TVrLockList&) = delete;

    TVrLockData* Find(std::string_view name);
    // A new lock with the next free id, RefCount 1.
    TVrLockData& Add(std::string name);
    // Frees every lock, queueing its file for deletion.
    void Clear();
    int Count() const { return static_cast<int>(locks_.size()); }

    // The temporary file of a lock: dir + "~tz" + the id as eight upper-case
    // hex digits + the virtual name's extension.
    static std::string TempFileName(std::string_view tempDir, const TVrLockData& lock);

    void SetTempDir(std::string dir) { tempDir_ = std::move(dir); }
    const std::string& TempDir() const { return tempDir_; }

    // Deletes the queued files and empties the queue.
    void DeleteTempFiles();
    const std::vector<std::string>& PendingDeletes() const { return pendingDeletes_; }

private:
    bool IdInUse(int id) const;

    std::vector<std::unique_ptr<TVrLockData>> locks_;
    std::vector<std::string> pendingDeletes_;
    std::string tempDir_;
    int nextId_ = 0;
};

}  // namespace tova
