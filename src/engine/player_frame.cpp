// The frame procedure: the stages of one frame in their fixed order, the
// frame-timing values, and the end page running over the same frames.
#include <exception>

#include "engine/call_man.h"
#include "engine/player.h"
#include "engine/project.h"
#include "objects/tova_base_list.h"
#include "vfs/file_manager.h"

namespace tova {

void TPlayer::DoFrame(int32_t elapsedMs) {
    if (phase_ == TPlayerPhase::Ended || phase_ == TPlayerPhase::Finished) return;
    flags_.FrameDelta = elapsedMs;
    flags_.TotalTime += static_cast<uint32_t>(elapsedMs);
    if (skipFrames_ > 0) {
        --skipFrames_;
        return;
    }
    Housekeeping();
    UpdateInput();
    RunInterpreter();
    if (flags_.Stop) return;
    UpdateMedia();
    StepComponents();
    ++flags_.FrameCount;
    if (ProcessPendingSaveLoad()) skipDraw_ = 1;
    if (skipDraw_ > 0) {
        --skipDraw_;
        return;
    }
    drawCounter_ = (drawCounter_ + 1) % std::max(1, flags_.FrameDivider);
    if (drawCounter_ != 0) return;
    Draw();
}

void TPlayer::Housekeeping() {
    files_->DeleteTempFiles();
}

void TPlayer::UpdateInput() {
    screen_->Input(flags_.FrameDelta);
}

void TPlayer::RunInterpreter() {
    if (phase_ != TPlayerPhase::EndPage) {
        callMan_->Run();
        return;
    }
    // The end page runs to its end frame after frame, like any page, so that
    // it may wait and draw; it ends at its last command, when it stops the
    // player, or after the frame limit.
    try {
        callMan_->Run();
    } catch (const std::exception& e) {
        project_->EndPageFailed(e);
    }
    if (flags_.Stop || callMan_->IsFinished() || ++endPageFrames_ >= kEndPageFrameLimit) {
        flags_.Stop = true;
        phase_ = TPlayerPhase::Ended;
    }
}

void TPlayer::UpdateMedia() {
    // The media library's per-frame work comes with the media managers.
}

void TPlayer::StepComponents() {
    screen_->Step(flags_.FrameDelta);
}

bool TPlayer::ProcessPendingSaveLoad() {
    // Saved games are not written or read yet: the requests are reported
    // and dropped, so that the game goes on.
    TProject& project = *project_;
    if (project.PendingLoadSlot >= 0) {
        if (log_)
            *log_ << "tovaplayer: loading saved games is not available yet (slot " << project.PendingLoadSlot
                  << ")\n";
        project.PendingLoadSlot = -1;
    }
    if (project.PendingSaveSlot >= 0) {
        if (log_)
            *log_ << "tovaplayer: saving games is not available yet (slot " << project.PendingSaveSlot
                  << ")\n";
        project.PendingSaveSlot = -1;
    }
    return false;
}

void TPlayer::Draw() {
    TTovaBaseList& screen = *screen_;
    screen.Paint();
    if (presentation_) {
        if (presentation_ == presentedTo_) {
            presentation_->Present(screen.Surface(), screen.PaintedRects());
        } else {
            const TRect whole = screen.Surface().Bounds();
            presentation_->Present(screen.Surface(), std::span<const TRect>(&whole, 1));
            presentedTo_ = presentation_;
        }
    }
    screen.ClearDirty();
    frameRate_.Drew();
}

}  // namespace tova
