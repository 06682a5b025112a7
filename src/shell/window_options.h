// The command-line options of the game's window: how it opens (full screen
// or windowed, its first scale), how the picture fills a larger window, and
// where the session's input is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/view_scaling.h"

namespace tova {

struct TWindowArguments {
    bool FullScreen = false;                // --fullscreen (--window: false, the last one wins)
    int32_t Scale = 1;                      // --scale N: the window's first size is the game's times N
    TScaleMode Mode = TScaleMode::Integer;  // --scale-mode integer|aspect|stretch
    std::optional<std::string> Record;      // --record FILE (host path): the session's input
};

// The usage lines of these options.
extern const char* const kWindowUsage;

// Whether option (with its "=VALUE" part split off) takes a value.
bool IsWindowValuedOption(std::string_view option);

// Takes option when it is one of the window's: value() gives its value (and
// throws ETovaError when there is none). False for other options. A bad
// value throws ETovaError.
bool TakeWindowOption(const std::string& option, const std::function<const std::string&()>& value,
                      TWindowArguments& window);

}  // namespace tova
