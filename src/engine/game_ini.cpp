#include "engine/game_ini.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "core/ini_file.h"

namespace tova {

TGameIniSettings ReadGameIni(const std::vector<std::filesystem::path>& files, TGameIniSettings settings) {
    for (const std::filesystem::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const TIniFile ini(text);
        settings.DirectSound = ini.ReadBool("Sound", "DirectSound", settings.DirectSound);
        if (ini.Read("Sound", "DelayTime")) {
            const int32_t delay = ini.ReadInteger("Sound", "DelayTime", settings.DelayTime);
            settings.DelayTime = std::clamp(delay / 100 * 100, 100, 500);
        }
        settings.UseWMP = ini.ReadBool("Video", "UseWMP", settings.UseWMP);
    }
    return settings;
}

}  // namespace tova
