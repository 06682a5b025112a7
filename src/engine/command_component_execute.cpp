// Run-time behaviour of the component creation and cabinet commands. Until
// the components exist, each of them moves on to the next command.
#include "engine/command_component.h"

namespace tova {

void TComTimer::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComSound::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComBoxNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComImgNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMesNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMovie::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCinema::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCaption::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMenu::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComBtnNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComParticleNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComFireNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComEditNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMemoNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComMapImgNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComWaveNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComTileNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComSliderNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComScrollbarNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComGaugeNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCGCaption::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComPrevMenuNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCabinetSave::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCabinetLoad::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}

}  // namespace tova
