// The player's own settings file "game.ini": the sound output and the video
// back end. It is read from the executable's folder and then from the
// user's configuration folder for the game, whose values take precedence
// (the executable's folder is often read-only on Linux, so the
// configuration dialog writes the user's file).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tova {

struct TGameIniSettings {
    bool DirectSound = true;  // [Sound] DirectSound: the mixed (low-latency) sound output
    int32_t DelayTime =
        500;              // [Sound] DelayTime: the buffer of the other output, 100..500 ms in steps of 100
    bool UseWMP = false;  // [Video] UseWMP: the media-library video back end
};

// The settings after reading each existing file of files in order; a key a
// file does not have keeps the value before it. DelayTime is rounded down to
// a multiple of 100 and limited to 100..500. Unreadable files are skipped.
TGameIniSettings ReadGameIni(const std::vector<std::filesystem::path>& files, TGameIniSettings settings = {});

}  // namespace tova
