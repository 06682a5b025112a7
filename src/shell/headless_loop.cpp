#include "shell/headless_loop.h"

#include "engine/call_man.h"
#include "engine/project.h"
#include "objects/tova_base_list.h"

namespace tova {

bool IsIdle(const TProject& project, const TCallMan& callMan, TTovaBaseList& screen) {
    return callMan.IsFinished() && !screen.Events.NextPending() && project.PendingLoadSlot < 0 &&
           project.PendingSaveSlot < 0;
}

namespace {

void DropPendingSaveLoad(TProject& project, std::ostream& err) {
    if (project.PendingLoadSlot >= 0) {
        err << "tovaplayer: loading saved games is not available yet (slot " << project.PendingLoadSlot
            << ")\n";
        project.PendingLoadSlot = -1;
    }
    if (project.PendingSaveSlot >= 0) {
        err << "tovaplayer: saving games is not available yet (slot " << project.PendingSaveSlot << ")\n";
        project.PendingSaveSlot = -1;
    }
}

}  // namespace

int64_t RunHeadlessFrames(TProject& project, TCallMan& callMan, TTovaBaseList& screen, TRunFlags& flags,
                          const THeadlessOptions& options, std::ostream& err) {
    int64_t frames = 0;
    while (!flags.Stop && (!options.Frames || frames < *options.Frames)) {
        if (options.UntilIdle && IsIdle(project, callMan, screen)) break;
        flags.FrameElapsed = options.FrameMs;
        flags.FrameTotal += static_cast<uint32_t>(options.FrameMs);
        callMan.Run();
        ++flags.FrameCount;
        ++frames;
        DropPendingSaveLoad(project, err);
    }
    return frames;
}

}  // namespace tova
