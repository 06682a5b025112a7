// The frame procedure without a window: a virtual clock that advances by a
// fixed step per frame, so that every run of a game is the same.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

namespace tova {

class TCallMan;
class TProject;
class TTovaBaseList;
struct TRunFlags;

struct THeadlessOptions {
    std::optional<int64_t> Frames;  // none: no limit
    int32_t FrameMs = 15;
    bool UntilIdle = false;
};

// Whether the game has nothing left to do by itself: the main script has
// finished, no handler runs, no event waits and no save or load is pending.
bool IsIdle(const TProject& project, const TCallMan& callMan, TTovaBaseList& screen);

// Runs frames until the limit, the stop flag, or (UntilIdle) the game is
// idle; returns the number of frames run. Save and load requests are not
// carried out yet: they are reported on err and dropped.
int64_t RunHeadlessFrames(TProject& project, TCallMan& callMan, TTovaBaseList& screen, TRunFlags& flags,
                          const THeadlessOptions& options, std::ostream& err);

}  // namespace tova
