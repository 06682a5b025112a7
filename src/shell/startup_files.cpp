#include "shell/startup_files.h"

#include <unistd.h>

#include <system_error>

#include "core/encoding.h"
#include "engine/save_path.h"
#include "platform/user_folders.h"

namespace tova {

void DeleteOldPlayerLog(const std::filesystem::path& executable) {
    const std::filesystem::path folder = executable.parent_path();
    if (access(folder.c_str(), W_OK) != 0) return;
    const std::filesystem::path log = folder / "tovaplay.log";
    std::error_code error;
    if (std::filesystem::symlink_status(log, error).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(log, error);
}

std::vector<std::filesystem::path> GameIniFiles(const std::filesystem::path& executable,
                                                std::string_view title) {
    std::vector<std::filesystem::path> files{executable.parent_path() / "game.ini"};
    if (const std::optional<std::string> config = ConfigHome())
        files.push_back(std::filesystem::path(*config) / "tovaplayer" / Cp932ToUtf8(SaveFolderName(title)) /
                        "game.ini");
    return files;
}

}  // namespace tova
