// The pointer's picture over the game's window: a game's ".cur" or ".ani"
// file (an animated one steps through its frames at its own rate, each
// frame decoded as it comes up), or the system's arrow. A file that is
// missing or damaged shows the arrow; a damaged one is reported once. Cursor
// files come from the game's own files only: a name is never opened as a
// path on the machine.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>

#include "graphics/cursor_file.h"

namespace tova {

class TSdlDisplay;
class TVrFileManager;

// The largest cursor file read: far beyond any real one (a cursor of 256
// frames of 256 x 256 pixels at 32 bits is 64 MiB only uncompressed in PNG
// frames, and games ship a few KB), so a damaged or hostile name never makes
// the player read a huge file.
constexpr int64_t kMaxCursorFileBytes = int64_t{8} << 20;

class TWindowCursor {
public:
    explicit TWindowCursor(TSdlDisplay& display) : display_(display) {}

    // Shows the cursor file's content (name: how reports call it); false
    // (and the arrow) when it cannot be read or shown.
    bool ShowFile(std::span<const uint8_t> content, const std::string& name = "cursor");
    // Shows the game's cursor file of that virtual name (empty: the arrow),
    // unless it is the one shown already; a file that is missing, larger
    // than kMaxCursorFileBytes or damaged shows the arrow. True when the
    // file's picture shows.
    bool Follow(TVrFileManager& files, const std::string& name);
    void ShowDefault();
    // Moves an animated cursor on to the step due at nowMs (the millisecond counter).
    void Step(uint32_t nowMs);

    // Where damaged cursor files are reported (UTF-8, once per file); unset: nowhere.
    std::function<void(const std::string& utf8Message)> OnLoadError;

private:
    // Shows the frame of a step; false when the display cannot show it.
    // A damaged frame throws ETovaError.
    bool ShowFrame(size_t step);
    void ReportOnce(const std::string& message);

    TSdlDisplay& display_;
    std::string name_;            // of the file shown, for reports
    TCursorAnimation animation_;  // empty while the arrow shows
    std::string followed_;        // the name Follow was given last
    bool followedShows_ = false;
    size_t step_ = 0;
    uint32_t stepStart_ = 0;
    std::set<std::string> reported_;
};

}  // namespace tova
