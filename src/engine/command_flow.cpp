// Record fields of the flow-control and variable commands, and the running
// state of Wait.
#include "engine/command_flow.h"

#include "core/binary_io.h"
#include "engine/command_archive.h"
#include "engine/command_versions.h"

namespace tova {

void TComIf::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Condition", Condition);
}

void TComLabel::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(Name);
}

void TComJump::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(PageName);
    archive.Int32(Target);
    archive.Expression("Condition", Condition);
}

void TComCall::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(PageName);
    archive.Int32(Target);
    archive.String(ResultVar);
    archive.Expression("Condition", Condition);
    archive.ExpressionList("Arguments", Arguments);
}

void TComExit::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Condition", Condition);
}

void TComBreak::Serialize(TCommandArchive& archive) {
    TComExit::Serialize(archive);
    archive.Int32(Target);
}

void TComContinue::Serialize(TCommandArchive& archive) {
    TComExit::Serialize(archive);
    archive.Int32(Target);
}

void TComWait::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Condition", Condition);
    archive.Expression("Time", Time);
    archive.Expression("BlockEvents", BlockEvents, kBlockEventsVersion);
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
    if (version >= kStateBlockEventsVersion) BlockEventsFlag = ReadBool(stream);
}

void TComCalc::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Expression", Expression);
}

void TComWhile::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Condition", Condition);
    archive.Int32(ExitTarget);
}

void TComRuntime::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Expression", Expression);
}

void TComWhileLoop::Serialize(TCommandArchive& archive) {
    TComWhileInit::Serialize(archive);
    archive.Int32(LoopTarget);
}

void TComVarNew::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(Name);
    archive.Byte(Type);
    archive.Expression("InitialValue", InitialValue);
    archive.Byte(Scope);
}

void TComVarDel::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(Name);
}

void TComGetProp::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Object", Object);
    archive.Expression("PropertyId", PropertyId);
    archive.String(VarName);
}

void TComSetProp::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Object", Object);
    archive.Expression("PropertyId", PropertyId);
    archive.Expression("Value", Value);
}

void TComObjDel::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Object", Object);
}

void TComPCReset::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(PageName);
    archive.Int32(Target);
    archive.Byte(Mode);
}

void TComGameSave::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Slot", Slot);
    archive.String(Caption);
    archive.Int32(Value, kGameSaveTargetVersion);
    archive.Expression("Text", Text);
}

void TComGameLoad::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Slot", Slot);
}

}  // namespace tova
