#include "platform/user_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tova {
namespace {

struct TUserFolderName {
    const char* Key;  // the variable's name, in the environment and in user-dirs.dirs
    const char* Default;
};

constexpr TUserFolderName kFolderNames[] = {
    {"XDG_DESKTOP_DIR", "Desktop"},   {"XDG_DOCUMENTS_DIR", "Documents"}, {"XDG_DOWNLOAD_DIR", "Downloads"},
    {"XDG_PICTURES_DIR", "Pictures"}, {"XDG_MUSIC_DIR", "Music"},         {"XDG_VIDEOS_DIR", "Videos"},
};

std::optional<std::string> AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return std::nullopt;
    return std::string(value);
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The value of key in user-dirs.dirs, "$HOME" expanded; nullopt when absent
// or neither "$HOME/..." nor absolute. The file is a shell fragment of lines
// KEY="VALUE"; nothing else in it is interpreted.
std::optional<std::string> UserDirsEntry(const std::string& key, const std::string& home) {
    const std::optional<std::string> config = ConfigHome();
    if (!config) return std::nullopt;
    std::ifstream file(*config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size() + 1, key + "=") != 0) continue;
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            return home + value.substr(5);
        if (!value.empty() && value[0] == '/') return value;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> HomeFolder() {
    std::optional<std::string> home = AbsoluteVariable("HOME");
    if (home) *home = WithoutTrailingSlashes(std::move(*home));
    return home;
}

std::optional<std::string> OwnHomeFolder() {
    const std::optional<std::string> home = HomeFolder();
    if (!home || *home == "/") return std::nullopt;
    struct stat st;
    if (::stat(home->c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return std::nullopt;
    return home;
}

std::optional<std::string> ConfigHome() {
    if (std::optional<std::string> config = AbsoluteVariable("XDG_CONFIG_HOME"))
        return WithoutTrailingSlashes(std::move(*config));
    if (const std::optional<std::string> home = HomeFolder()) return *home + "/.config";
    return std::nullopt;
}

std::optional<std::string> DataHome() {
    if (std::optional<std::string> data = AbsoluteVariable("XDG_DATA_HOME"))
        return WithoutTrailingSlashes(std::move(*data));
    if (const std::optional<std::string> home = HomeFolder()) return *home + "/.local/share";
    return std::nullopt;
}

std::optional<std::string> UserFolder(TUserFolder folder) {
    const std::optional<std::string> home = HomeFolder();
    if (!home) return std::nullopt;
    const TUserFolderName& name = kFolderNames[static_cast<int>(folder)];
    std::optional<std::string> path = AbsoluteVariable(name.Key);
    if (!path) path = UserDirsEntry(name.Key, *home);
    if (!path) path = *home + "/" + name.Default;
    const std::string normal =
        WithoutTrailingSlashes(std::filesystem::path(*path).lexically_normal().string());
    // The home itself or a folder above it would open every file of the user.
    if (normal == "/" || normal == *home || home->compare(0, normal.size() + 1, normal + "/") == 0)
        return std::nullopt;
    return normal;
}

std::vector<std::string> UserFolders() {
    std::vector<std::string> folders;
    for (int i = 0; i < static_cast<int>(std::size(kFolderNames)); ++i)
        if (std::optional<std::string> path = UserFolder(static_cast<TUserFolder>(i)))
            folders.push_back(std::move(*path));
    return folders;
}

}  // namespace tova
