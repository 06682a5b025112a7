// --dump-screen: the screen as JSON after the last frame, for tests and for
// looking at a game's state: its size, current layer and focus, every
// registered component in registration order (type, parent, layer,
// screen-absolute bounds, visibility, priority and every property it holds)
// and the waiting events. Names and strings in UTF-8.
#pragma once

#include <string>

namespace tova {

class TTovaBaseList;

std::string ScreenDumpJson(const TTovaBaseList& screen);

}  // namespace tova
