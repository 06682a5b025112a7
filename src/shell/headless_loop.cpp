#include "shell/headless_loop.h"

#include "engine/player.h"
#include "platform/stop_signal.h"

namespace tova {

int64_t RunHeadlessFrames(TPlayer& player, const THeadlessOptions& options) {
    THeadlessFrameSource source(options.FrameMs);
    int64_t frames = 0;
    while (!player.StopRequested() && !StopSignalReceived() &&
           (!options.Frames || frames < *options.Frames)) {
        if (options.UntilIdle && player.IsIdle()) break;
        if (player.RunFrame(source)) ++frames;
    }
    player.BeginShutdown();
    while (player.Phase() == TPlayerPhase::EndPage)
        player.RunFrame(source);
    return frames;
}

}  // namespace tova
