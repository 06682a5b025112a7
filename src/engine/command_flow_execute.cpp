// Run-time behaviour of the flow-control and variable commands. Until the
// interpreter's commands are implemented here, each of them moves on to the
// next command and Wait prepares nothing.
#include "engine/command_flow.h"

namespace tova {

void TComIf::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComElseif::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComElse::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComLabel::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComJump::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCall::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComExit::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComBreak::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComContinue::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComWait::Prepare(TCallMan&) {}
void TComWait::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComDoEvent::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComCalc::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComWhile::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComWhileInit::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComWhileLoop::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComVarNew::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComVarDel::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComGetProp::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComSetProp::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComObjDel::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComTerminate::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComPCReset::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComReset::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComGameSave::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}
void TComGameLoad::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    TCommand::Execute(callMan, page, pc);
}

}  // namespace tova
