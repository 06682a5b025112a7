#include "vfs/lock_list.h"

#include <cstdio>

#include "core/path_names.h"
#include "platform/file_system.h"

namespace tova {

TVrLockList::~TVrLockList() {
    Clear();
    DeleteTempFiles();
}

TVrLockData* TVrLockList::Find(std::string_view name) {
    for (const auto& lock : locks_)
        if (lock->Name == name) return lock.get();
    return nullptr;
}

bool TVrLockList::IdInUse(int id) const {
    for (const auto& lock : locks_)
        if (lock->Id == id) return true;
    return false;
}

TVrLockData& TVrLockList::Add(std::string name) {
    while (IdInUse(nextId_)) ++nextId_;
    auto lock = std::make_unique<TVrLockData>();
    lock->Name = std::move(name);
    lock->Id = nextId_++;
    lock->RefCount = 1;
    locks_.push_back(std::move(lock));
    return *locks_.back();
}

void TVrLockList::Clear() {
    for (const auto& lock : locks_) pendingDeletes_.push_back(TempFileName(tempDir_, *lock));
    locks_.clear();
}

std::string TVrLockList::TempFileName(std::string_view tempDir, const TVrLockData& lock) {
    char id[16];
    std::snprintf(id, sizeof id, "%08X", static_cast<unsigned>(lock.Id));
    return std::string(tempDir) + "~tz" + id + ExtractFileExt(lock.Name);
}

void TVrLockList::DeleteTempFiles() {
    for (const std::string& file : pendingDeletes_) DeleteFileAt(file);
    pendingDeletes_.clear();
}

}  // namespace tova
