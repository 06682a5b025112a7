#include "engine/data_mount.h"

#include <filesystem>
#include <system_error>

#include "core/path_names.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

constexpr std::string_view kResourceName = "DUMMY";
constexpr std::string_view kResourceType = "BINTYPE";

bool ResourceEndsWith(const TResourceLocation& location, std::string_view tag) {
    const int64_t size = static_cast<int64_t>(tag.size());
    if (location.size < size) return false;
    std::string last(tag.size(), '\0');
    if (location.memory) {
        last.assign(reinterpret_cast<const char*>(location.memory + location.size - size), tag.size());
    } else {
        TFileStream file(location.fileName, fmOpenRead | fmShareDenyNone);
        file.SetPosition(location.offset + location.size - size);
        if (file.Read(last.data(), size) != size) return false;
    }
    return last == tag;
}

}  // namespace

bool FileEndsWith(std::string_view programPath, std::string_view tag) {
    if (!FileExists(programPath)) return false;
    TFileStream file(programPath, fmOpenRead | fmShareDenyNone);
    const int64_t size = static_cast<int64_t>(tag.size());
    if (file.GetSize() < size) return false;
    file.SetPosition(file.GetSize() - size);
    std::string last(tag.size(), '\0');
    return file.Read(last.data(), size) == size && last == tag;
}

namespace {

// A parameter may name the data folder or an archive file in it (game.dat,
// a split archive's first part, a data file with its .ext directory, a
// player with an appended archive).
bool NamesFile(const std::string& parameter) {
    std::error_code error;
    return std::filesystem::is_regular_file(ToHostPath(parameter), error);
}

}  // namespace

TDataFolder ResolveDataFolder(std::string_view executablePath, const std::vector<std::string>& parameters) {
    if (parameters.empty()) return {ExtractFilePath(executablePath), false};
    if (NamesFile(parameters.front())) return {ExtractFilePath(parameters.front()), true};
    return {IncludeTrailingDelimiter(parameters.front()), true};
}

void MountGameData(TVrFileManager& files, const TDataFolder& dataFolder, std::string_view executablePath,
                   const std::vector<std::string>& parameters) {
    if (files.ArchiveCount() == 0) files.AddArchive("");
    files.SetDataDir(dataFolder.Folder);
    if (!dataFolder.FromParameters) {
        TResourceLocator& resources = files.Resources();
        if (!resources.OwnModuleName().empty()) {
            const auto location = resources.Find(resources.OwnModuleName(), kResourceName, kResourceType);
            if (location && ResourceEndsWith(*location, "vf"))
                files.AddResourceArchive(resources.OwnModuleName(), kResourceName, kResourceType);
        }
        if (FileEndsWith(executablePath, "tz")) files.AddArchive(executablePath);
        return;
    }
    for (const std::string& parameter : parameters) {
        if (NamesFile(parameter)) {
            files.AddArchive(parameter);
            continue;
        }
        const std::string gameDat = IncludeTrailingDelimiter(parameter) + "game.dat";
        if (FileExists(gameDat)) files.AddArchive(gameDat);
        if (FileEndsWith(parameter, "tz")) files.AddArchive(parameter);
    }
}

}  // namespace tova
