// tova project and tova install-info: the project settings and the install
// set as JSON.
#include <cctype>
#include <filesystem>
#include <iostream>

#include "core/error.h"
#include "engine/install_set.h"
#include "engine/project_setting.h"
#include "engine/setting_json.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "sdk/archive_tools.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"

namespace tova::sdk {
namespace {

constexpr const char* kSettingsName = "tova.tpb";
constexpr const char* kInstallSetName = "install.dat";

void LoadFile(const std::string& hostPath, TTpMemoryStream& content) {
    TFileStream file(FromHostPath(hostPath), fmOpenRead | fmShareDenyWrite);
    content.Clear();
    content.CopyFrom(file, 0);
    content.SetPosition(0);
}

// A folder's file of that name, found without regard to case.
std::string FileInFolder(const std::string& folder, const char* name) {
    const auto path = FindHostPath(FromHostPath(folder + "/" + name));
    if (!path || !std::filesystem::is_regular_file(*path))
        throw ETovaError(folder + ": there is no " + name + " in the folder");
    return *path;
}

bool HasExtension(const std::string& path, const char* extension) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == extension;
}

// The settings file itself, the one of a data folder (loose, or inside the
// folder's game.dat as a packed build has it), or the entry of an archive.
void LoadSettingsSource(const std::string& source, TTpMemoryStream& content) {
    if (std::filesystem::is_directory(source)) {
        const auto loose = FindHostPath(FromHostPath(source + "/" + kSettingsName));
        const auto packed = FindHostPath(FromHostPath(source + "/game.dat"));
        if (!loose && packed && std::filesystem::is_regular_file(*packed))
            return LoadSettingsSource(*packed, content);
        return LoadFile(FileInFolder(source, kSettingsName), content);
    }
    if (!std::filesystem::exists(source)) throw ETovaError(source + ": no such file or folder");
    if (HasExtension(source, ".tpb")) return LoadFile(source, content);
    const std::unique_ptr<TVrFileCollection> archive = OpenToolArchive(source, kBigFilePartSize);
    if (archive->IndexOf(kSettingsName) < 0)
        throw ETovaError(source + ": the archive holds no " + kSettingsName);
    archive->ReadEntry(content, kSettingsName);
}

}  // namespace

int RunProject(const TArgs& args) {
    const TCommandLine line(args, {}, {});
    line.ExpectOperands(1);
    TTpMemoryStream content;
    LoadSettingsSource(line.Operands()[0], content);
    TProjectSetting setting;
    setting.LoadFromStream(content);
    std::cout << ProjectSettingToJson(setting);
    return 0;
}

int RunInstallInfo(const TArgs& args) {
    const TCommandLine line(args, {}, {});
    line.ExpectOperands(1);
    const std::string& source = line.Operands()[0];
    TTpMemoryStream content;
    LoadFile(std::filesystem::is_directory(source) ? FileInFolder(source, kInstallSetName) : source, content);
    TTovaInstallSet installSet;
    installSet.LoadFromStream(content);
    std::cout << InstallSetToJson(installSet);
    return 0;
}

}  // namespace tova::sdk
