#include "vfs/file_manager.h"

#include <filesystem>

#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace tova {

namespace {

[[noreturn]] void RaiseMissing(std::string_view name) {
    throw ETovaError::Format("%s:ファイルがありません", {name});
}

// Refuses content of size bytes when it passes maxSize.
void CheckSize(std::string_view name, int64_t size, std::optional<int64_t> maxSize) {
    if (maxSize && size > *maxSize)
        throw ETovaError(std::string(name) + ": the file is larger than " + std::to_string(*maxSize) +
                         " bytes");
}

void LoadDiskFile(TStream& stream, std::string_view name, const std::string& path,
                  std::optional<int64_t> maxSize) {
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    CheckSize(name, file.GetSize(), maxSize);
    if (auto* memory = dynamic_cast<TTpMemoryStream*>(&stream)) memory->Clear();
    stream.CopyFrom(file, 0);
    stream.SetPosition(0);
}

}  // namespace

std::string FormatDiscMessage(std::string_view format, int n) {
    std::string out(format);
    const size_t at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
    return out;
}

TVrFileManager::TVrFileManager(TVrFileManagerOptions options) : options_(std::move(options)) {
    cdRoots_ = options_.cdRoots ? *options_.cdRoots : tova::CdRoots();
    if (options_.tempDir) {
        locks_.SetTempDir(IncludeTrailingDelimiter(*options_.tempDir));
        tempDirMade_ = true;
    }
}

TVrFileManager::~TVrFileManager() {
    archives_.clear();
    locks_.Clear();
    locks_.DeleteTempFiles();
    if (ownsTempDir_) {
        std::error_code ignored;
        std::filesystem::remove(ToHostPath(locks_.TempDir()), ignored);
    }
}

const std::string& TVrFileManager::EnsureTempDir() {
    if (!tempDirMade_) {
        // A folder of this process's own, open to this user only, so that
        // two players never overwrite each other's extracted files and no
        // one else can plant a link where one is written.
        try {
            locks_.SetTempDir(MakePrivateTempFolder("tovaplayer-"));
        } catch (const ETovaError&) {
            throw ETovaError(SysText("作業用ファイルが作れません"));
        }
        tempDirMade_ = ownsTempDir_ = true;
    }
    return locks_.TempDir();
}

int TVrFileManager::AddArchive(std::string_view fileName) {
    if (!fileName.empty())
        for (const auto& archive : archives_)
            if (SjisSameText(archive->FileName, fileName)) return -1;
    auto archive = std::make_unique<TVrFileCollection>(options_.partSize);
    archive->MessageBox = options_.messageBox;
    archive->Open(fileName);
    archives_.push_back(std::move(archive));
    return ArchiveCount() - 1;
}

int TVrFileManager::AddResourceArchive(std::string_view moduleName, std::string_view resName,
                                       std::string_view resType) {
    auto archive = std::make_unique<TVrFileCollection>(options_.partSize);
    archive->MessageBox = options_.messageBox;
    archive->OpenResource(resources_, moduleName, resName, resType);
    archives_.push_back(std::move(archive));
    return ArchiveCount() - 1;
}

void TVrFileManager::RemoveArchive(int index) {
    archives_.erase(archives_.begin() + index);
}

void TVrFileManager::Clear() {
    archives_.clear();
}

void TVrFileManager::SetDataDir(std::string_view dir) {
    dataDir_ = IncludeTrailingDelimiter(std::string(dir));
}

std::optional<std::string> TVrFileManager::DiskFile(std::string_view name) const {
    // The game sees its own files only, never what lies above its folders.
    if (dataDir_.empty() || ClimbsAboveFolder(name)) return std::nullopt;
    if (!FileExistsWithin(dataDir_, name)) return std::nullopt;
    return dataDir_ + std::string(name);
}

std::optional<std::string> TVrFileManager::DiscFile(std::string_view name) const {
    if (ClimbsAboveFolder(name)) return std::nullopt;
    for (const std::string& root : cdRoots_)
        if (FileExistsWithin(root, name)) return root + std::string(name);
    return std::nullopt;
}

bool TVrFileManager::Exists(std::string_view name) {
    if (name.empty()) return false;
    for (const auto& archive : archives_)
        if (archive->IndexOf(name) >= 0) return true;
    return DiskFile(name) || DiscFile(name);
}

void TVrFileManager::LoadToStream(TStream& stream, std::string_view name, std::optional<int64_t> maxSize) {
    if (const auto path = DiskFile(name)) return LoadDiskFile(stream, name, *path, maxSize);
    for (const auto& archive : archives_) {
        const TVrFile* entry = archive->Find(name);
        if (!entry) continue;
        if (entry->Data) {
            CheckSize(name, entry->Data->GetSize(), maxSize);
            if (auto* memory = dynamic_cast<TTpMemoryStream*>(&stream)) memory->Clear();
            stream.CopyFrom(*entry->Data, 0);
            stream.SetPosition(0);
            return;
        }
        if (!archive->ArchiveStream) continue;
        if (!maxSize) return archive->ReadArchived(stream, *entry);
        if (entry->Stored) CheckSize(name, entry->Size, maxSize);
        return archive->ReadArchived(stream, *entry, *maxSize);
    }
    if (const auto path = DiscFile(name)) return LoadDiskFile(stream, name, *path, maxSize);
    RaiseMissing(name);
}

std::unique_ptr<TRangeStream> TVrFileManager::OpenRange(std::string_view name) {
    if (const auto path = DiskFile(name)) return std::make_unique<TFileRangeStream>(*path, 0, 0);
    for (const auto& archive : archives_)
        if (auto range = archive->OpenRange(name)) return range;
    if (const auto path = DiscFile(name)) return std::make_unique<TFileRangeStream>(*path, 0, 0);
    RaiseMissing(name);
}

std::optional<std::string> TVrFileManager::GetLocalFileName(std::string_view name) {
    if (const auto path = DiskFile(name)) return *path;
    if (FindEntry(name)) {
        if (TVrLockData* lock = locks_.Find(name)) {
            ++lock->RefCount;
            return TVrLockList::TempFileName(locks_.TempDir(), *lock);
        }
        return ExtractToTemp(name);
    }
    return DiscFile(name);
}

std::string TVrFileManager::ExtractToTemp(std::string_view name) {
    const std::string dir = EnsureTempDir();
    TVrLockData& lock = locks_.Add(std::string(name));
    const std::string path = TVrLockList::TempFileName(dir, lock);
    // Made anew: an older file of the name goes first, and the new one is
    // never opened through a link.
    DeleteFileAt(path);
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(path, fmCreateNew | fmShareExclusive);
    } catch (const ETovaError&) {
        throw ETovaError(SysText("作業用ファイルが作れません"));
    }
    LoadToStream(*file, name);
    file->Flush();
    return path;
}

TVrFile* TVrFileManager::FindEntry(std::string_view name) {
    for (const auto& archive : archives_)
        if (TVrFile* entry = archive->Find(name)) return entry;
    return nullptr;
}

void TVrFileManager::ListFiles(std::string_view dir, std::vector<std::string>& list) {
    for (const auto& archive : archives_)
        archive->ListDir(dir, list);
    // Files on disk are appended as they are found, without the duplicate
    // check of the archives.
    auto listDisk = [&](const std::string& root) {
        for (const std::string& file : ListDirectoryFiles(root + std::string(dir)))
            list.push_back(std::string(dir) + file);
    };
    if (!dataDir_.empty()) listDisk(dataDir_);
    for (const std::string& root : cdRoots_)
        listDisk(root);
}

bool TVrFileManager::FindDisc(int discIndex) {
    if (!options_.discHost) return false;
    bool found = false;
    for (const std::string& root : cdRoots_) {
        if (!FileExists(root + "game.dat") || !FileExists(root + "install.dat")) continue;
        if (!options_.discHost->IsProjectDisc(root, discIndex)) continue;
        AddArchive(root + "game.dat");
        found = true;
    }
    return found;
}

bool TVrFileManager::RequestDisc(int discNo) {
    for (int i = ArchiveCount() - 1; i >= 0; --i) {
        for (const std::string& root : cdRoots_) {
            if (SjisSameText(
                    std::string_view(archives_[static_cast<size_t>(i)]->BaseDir).substr(0, root.size()),
                    root)) {
                RemoveArchive(i);
                break;
            }
        }
    }
    TDataDiscHost* host = options_.discHost;
    TMessageBoxHost* box = options_.messageBox;
    if (!host || !box) return FindDisc(discNo - 1);
    const std::string title = host->ApplicationTitle();
    for (int asked = 1;; ++asked) {
        const bool giveUp = options_.maxDiscRequests > 0 && asked >= options_.maxDiscRequests;
        const TMessageResult answer = box->Show(title, FormatDiscMessage(host->DiscRequestMessage(), discNo),
                                                TMessageButtons::OkCancel);
        if (answer == TMessageResult::Ok) {
            if (FindDisc(discNo - 1)) return true;
            if (!giveUp) continue;
        } else if (box->Show(title, host->QuitConfirmMessage(), TMessageButtons::OkCancel) !=
                       TMessageResult::Ok &&
                   !giveUp) {
            continue;
        }
        host->Terminate();
        return false;
    }
}

}  // namespace tova
