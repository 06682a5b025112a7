// The screenshot key's picture files: the presented frame as a PNG named
// after the game and the moment, in the user's pictures folder
// (the XDG pictures folder, by default ~/Pictures: .../tovaplayer/TITLE-YYYYMMDD-HHMMSS.png).
#pragma once

#include <string>
#include <string_view>

#include "graphics/surface.h"
#include "platform/clock.h"

namespace tova {

// The folder (host path) the screenshots go to; empty when the environment
// names no absolute home.
std::string ScreenshotFolder();

// Writes picture into folder (made when missing) as TITLE-YYYYMMDD-HHMMSS.png,
// with "-2", "-3"... added when such a file exists; title is code page 932
// (characters a file name cannot hold become '_'). Returns the file's host
// path; throws ETovaError when it cannot be written.
std::string WriteScreenshot(const TSurface32& picture, const std::string& folder, std::string_view title,
                            const TLocalDateTime& when);

}  // namespace tova
