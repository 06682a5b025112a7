// Run-time behaviour of the transition, media, text, history and motion
// commands. Until the screen, media and text parts exist, each of them moves
// on to the next command, and Flip, MovieStop and TextIns prepare nothing and
// Flip has nothing to finish on Stop.
#include "engine/command_media.h"

namespace tova {

void TComFlip::Prepare(TCallMan&) {}
void TComFlip::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComFlip::Stop(TCallMan&) {}
void TComMovieStop::Prepare(TCallMan&) {}
void TComMovieStop::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMediaPlay::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComPropMotion::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComTextIns::Prepare(TCallMan&) {}
void TComTextIns::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComTextClr::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCallHist::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComClrHist::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComEntryHist::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComClrRead::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMenuClose::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}

}  // namespace tova
