// The pointer's picture over the game's window: a game's ".cur" or ".ani"
// file (an animated one steps through its frames at its own rate, each
// frame decoded as it comes up), or the system's arrow. A file that is
// missing or damaged shows the arrow; a damaged one is reported once.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "graphics/cursor_file.h"

namespace tova {

class TSdlDisplay;

class TWindowCursor {
public:
    explicit TWindowCursor(TSdlDisplay& display) : display_(display) {}

    // Shows the cursor file at hostPath; false (and the arrow) when it
    // cannot be read or shown.
    bool ShowFile(const std::string& hostPath);
    void ShowDefault();
    // Moves an animated cursor on to the step due at nowMs (the millisecond counter).
    void Step(uint32_t nowMs);

    // Where damaged cursor files are reported (once per file); standard error by default.
    std::function<void(const std::string& utf8Message)> OnLoadError;

private:
    // Shows the frame of a step; false when the display cannot show it.
    // A damaged frame throws ETovaError.
    bool ShowFrame(size_t step);
    void ReportOnce(const std::string& message);

    TSdlDisplay& display_;
    std::string path_;
    TCursorAnimation animation_;  // empty while the arrow shows
    size_t step_ = 0;
    uint32_t stepStart_ = 0;
    std::set<std::string> reported_;
};

}  // namespace tova
