// Where the player tells a game's author what it let pass without stopping
// the game: an error a command or an expression survived, a page or picture
// that is missing or damaged, a property a component does not take. The
// player plays on in every case, as the original did; a sink decides
// whether anyone hears of it (tovaplayer --warnings).
#pragma once

#include <string_view>

namespace tova {

class TWarningSink {
public:
    virtual ~TWarningSink() = default;
    // message is code page 932 (the system's own texts and the game's names).
    virtual void Warn(std::string_view message) = 0;
};

}  // namespace tova
