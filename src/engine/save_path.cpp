#include "engine/save_path.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"

namespace tova {
namespace {

constexpr std::string_view kSaveFile = "save.dat";

// Bytes of a folder name made from a title; in UTF-8 (up to half as long
// again) it must stay within the 255 bytes a file name may have.
constexpr size_t kMaxFolderName = 150;

// A hash that stays the same from build to build, so a folder keeps its name.
uint32_t Fnv1a(std::string_view bytes) {
    uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

[[noreturn]] void RaiseCannotCreate(std::string_view folder = {}) {
    std::string message = SysText("データファイルを作成することができません");
    if (!folder.empty()) message += ": " + Utf8ToCp932Lossy(ToHostPath(folder));
    throw ETovaError(message);
}

// The folder made with its parents, or the error naming it.
void MakeFolder(const std::string& folder) {
    if (!ForceDirectories(folder) || !DirectoryExists(folder)) RaiseCannotCreate(folder);
}

// Whether a file can be made in the folder: a probe is created and removed.
// It is new, under a fresh name, so nothing that stands in the folder (a
// link to another file above all) is ever opened, let alone truncated.
bool CanWriteIn(const std::string& folder) {
    std::string probe;
    try {
        probe = TFileStream::CreateTemporary(folder + std::string(kSaveFile))->ProgramPath();
    } catch (const ETovaError&) {
        return false;
    }
    const bool made = FileExists(probe);
    DeleteFileAt(probe);
    return made;
}

std::string DataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return dataHome;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') RaiseCannotCreate();
    return std::string(home) + "/.local/share";
}

}  // namespace

std::string SaveFolderName(std::string_view title) {
    std::string name(title);
    // Only single-byte characters: the trail byte of a double-byte one may
    // have the value of '\\' or '|' and is part of a letter.
    ForEachSjisChar(title, [&name](uint16_t code, size_t pos, size_t length) {
        if (length != 1) return;
        if (code < 0x20 || code == 0x7f ||
            std::string_view("\\/:,;*?\"<>|").find(name[pos]) != std::string_view::npos)
            name[pos] = '_';
    });
    // Empty and dot-only names would be the folder itself or its parent.
    if (name.find_first_not_of('.') == std::string::npos) name = std::string(name.size() + 1, '_');
    if (name.size() > kMaxFolderName) {
        char hash[10];
        std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(Fnv1a(title)));
        size_t cut = 0;
        for (const size_t start : SjisCharStarts(name))
            if (start <= kMaxFolderName) cut = start;
        name = name.substr(0, cut) + hash;
    }
    return name;
}

std::string UserSaveFolder(std::string_view title) {
    std::string folder = DataHome();
    if (folder.back() != '/') folder.push_back('/');
    return FromHostPath(folder) + "tovaplayer/" + SaveFolderName(title) + "/";
}

bool IsSystemInstalled(std::string_view executableHostPath) {
    return executableHostPath.starts_with("/usr/") || executableHostPath.starts_with("/opt/");
}

std::string LocateSaveFile(std::string_view dataFolder, std::string_view title) {
    const std::string data = IncludeTrailingDelimiter(std::string(dataFolder));
    if (!IsSystemInstalled(ToHostPath(data)) && CanWriteIn(data)) return data + std::string(kSaveFile);

    const std::string folder = UserSaveFolder(title);
    MakeFolder(folder);
    const std::string target = folder + std::string(kSaveFile);
    const auto source = FindHostPath(data + std::string(kSaveFile));
    if (source && FileExists(data + std::string(kSaveFile)) && !FileExists(target)) {
        std::error_code ignored;
        std::filesystem::copy_file(*source, HostPathForCreate(target), ignored);
    }
    return target;
}

std::string ChosenSaveFile(std::string_view folder) {
    const std::string chosen = IncludeTrailingDelimiter(std::string(folder));
    MakeFolder(chosen);
    return chosen + std::string(kSaveFile);
}

}  // namespace tova
