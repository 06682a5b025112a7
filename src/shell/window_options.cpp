#include "shell/window_options.h"

#include <algorithm>
#include <array>

#include "core/error.h"

namespace tova {

const char* const kWindowUsage =
    "  --fullscreen       start full screen (the desktop's size; F11 or Alt+Enter switches)\n"
    "  --window           start in a window (the default)\n"
    "  --scale N          the window's first size: the game's times N (1 to 16, default 1)\n"
    "  --scale-mode MODE  how the picture fills a larger window: integer (whole factors,\n"
    "                     sharp pixels; the default), aspect or stretch\n"
    "  --record FILE      write the window's input, frame by frame, in the --input format\n";

bool IsWindowValuedOption(std::string_view option) {
    constexpr std::array<std::string_view, 3> valued = {"--scale", "--scale-mode", "--record"};
    return std::find(valued.begin(), valued.end(), option) != valued.end();
}

namespace {

int32_t ParseWindowScale(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw ETovaError("--scale wants a whole number from 1 to 16, not '" + text + "'");
    const int32_t scale = std::stoi(text);
    if (scale < 1 || scale > 16)
        throw ETovaError("--scale wants a whole number from 1 to 16, not '" + text + "'");
    return scale;
}

TScaleMode ParseWindowScaleMode(const std::string& text) {
    const std::optional<TScaleMode> mode = ScaleModeFromName(text);
    if (!mode) throw ETovaError("--scale-mode wants integer, aspect or stretch, not '" + text + "'");
    return *mode;
}

}  // namespace

bool TakeWindowOption(const std::string& option, const std::function<const std::string&()>& value,
                      TWindowArguments& window) {
    if (option == "--fullscreen") {
        window.FullScreen = true;
    } else if (option == "--window") {
        window.FullScreen = false;
    } else if (option == "--scale") {
        window.Scale = ParseWindowScale(value());
    } else if (option == "--scale-mode") {
        window.Mode = ParseWindowScaleMode(value());
    } else if (option == "--record") {
        window.Record = value();
    } else {
        return false;
    }
    return true;
}

}  // namespace tova
