// Record reading and writing of the flow-control and variable commands, and
// the running state of Wait.
#include "engine/command_flow.h"

#include "core/binary_io.h"
#include "engine/command_io.h"

namespace tova {
namespace {

// Wait carries its BlockEvents expression from this page version on.
constexpr int32_t kWaitBlockEventsVersion = 107;
// GameSave carries the command index to go to after loading from this version on.
constexpr int32_t kGameSaveTargetVersion = 105;

}  // namespace

void TComIf::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Condition.LoadFromStream(stream);
}

void TComIf::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Condition.SaveToStream(stream);
}

void TComLabel::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Name = ReadPageString(stream);
}

void TComLabel::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, Name);
}

void TComJump::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    PageName = ReadPageString(stream);
    Target = ReadI32(stream);
    Condition.LoadFromStream(stream);
}

void TComJump::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, PageName);
    WriteI32(stream, Target);
    Condition.SaveToStream(stream);
}

void TComCall::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    PageName = ReadPageString(stream);
    Target = ReadI32(stream);
    ResultVar = ReadPageString(stream);
    Condition.LoadFromStream(stream);
    ReadParserList(stream, Arguments);
}

void TComCall::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, PageName);
    WriteI32(stream, Target);
    WritePageString(stream, ResultVar);
    Condition.SaveToStream(stream);
    WriteParserList(stream, Arguments);
}

void TComExit::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Condition.LoadFromStream(stream);
}

void TComExit::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Condition.SaveToStream(stream);
}

void TComBreak::LoadFromStream(TStream& stream) {
    TComExit::LoadFromStream(stream);
    Target = ReadI32(stream);
}

void TComBreak::SaveToStream(TStream& stream) const {
    TComExit::SaveToStream(stream);
    WriteI32(stream, Target);
}

void TComContinue::LoadFromStream(TStream& stream) {
    TComExit::LoadFromStream(stream);
    Target = ReadI32(stream);
}

void TComContinue::SaveToStream(TStream& stream) const {
    TComExit::SaveToStream(stream);
    WriteI32(stream, Target);
}

void TComWait::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Condition.LoadFromStream(stream);
    Time.LoadFromStream(stream);
    if (PageVersion() >= kWaitBlockEventsVersion) BlockEvents.LoadFromStream(stream);
}

void TComWait::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Condition.SaveToStream(stream);
    Time.SaveToStream(stream);
    if (PageVersion() >= kWaitBlockEventsVersion) BlockEvents.SaveToStream(stream);
}

void TComWait::SaveState(TStream& stream) const {
    WriteStateHeader(stream);
    WriteI32(stream, Remaining);
    WriteI32(stream, FirstFrame);
    WriteBool(stream, BlockEventsFlag);
}

void TComWait::LoadState(TStream& stream) {
    const int32_t version = ReadStateHeader(stream);
    Remaining = ReadI32(stream);
    FirstFrame = ReadI32(stream);
    if (version >= 100) BlockEventsFlag = ReadBool(stream);
}

void TComCalc::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Expression.LoadFromStream(stream);
}

void TComCalc::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Expression.SaveToStream(stream);
}

void TComWhile::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Condition.LoadFromStream(stream);
    ExitTarget = ReadI32(stream);
}

void TComWhile::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Condition.SaveToStream(stream);
    WriteI32(stream, ExitTarget);
}

void TComRuntime::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Expression.LoadFromStream(stream);
}

void TComRuntime::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Expression.SaveToStream(stream);
}

void TComWhileLoop::LoadFromStream(TStream& stream) {
    TComWhileInit::LoadFromStream(stream);
    LoopTarget = ReadI32(stream);
}

void TComWhileLoop::SaveToStream(TStream& stream) const {
    TComWhileInit::SaveToStream(stream);
    WriteI32(stream, LoopTarget);
}

void TComVarNew::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Name = ReadPageString(stream);
    Type = ReadU8(stream);
    InitialValue.LoadFromStream(stream);
    Scope = ReadU8(stream);
}

void TComVarNew::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, Name);
    WriteU8(stream, Type);
    InitialValue.SaveToStream(stream);
    WriteU8(stream, Scope);
}

void TComVarDel::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Name = ReadPageString(stream);
}

void TComVarDel::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, Name);
}

void TComGetProp::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Object.LoadFromStream(stream);
    PropertyId.LoadFromStream(stream);
    VarName = ReadPageString(stream);
}

void TComGetProp::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Object.SaveToStream(stream);
    PropertyId.SaveToStream(stream);
    WritePageString(stream, VarName);
}

void TComSetProp::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Object.LoadFromStream(stream);
    PropertyId.LoadFromStream(stream);
    Value.LoadFromStream(stream);
}

void TComSetProp::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Object.SaveToStream(stream);
    PropertyId.SaveToStream(stream);
    Value.SaveToStream(stream);
}

void TComObjDel::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Object.LoadFromStream(stream);
}

void TComObjDel::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Object.SaveToStream(stream);
}

void TComPCReset::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    PageName = ReadPageString(stream);
    Target = ReadI32(stream);
    Mode = ReadU8(stream);
}

void TComPCReset::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, PageName);
    WriteI32(stream, Target);
    WriteU8(stream, Mode);
}

void TComGameSave::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Slot.LoadFromStream(stream);
    Caption = ReadPageString(stream);
    if (PageVersion() >= kGameSaveTargetVersion) Value = ReadI32(stream);
    Text.LoadFromStream(stream);
}

void TComGameSave::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Slot.SaveToStream(stream);
    WritePageString(stream, Caption);
    if (PageVersion() >= kGameSaveTargetVersion) WriteI32(stream, Value);
    Text.SaveToStream(stream);
}

void TComGameLoad::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Slot.LoadFromStream(stream);
}

void TComGameLoad::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Slot.SaveToStream(stream);
}

}  // namespace tova
