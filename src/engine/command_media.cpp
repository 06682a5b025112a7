// Record fields of the transition, media, text, history and motion commands,
// and the running states of Flip, MovieStop and TextIns.
#include "engine/command_media.h"

#include "core/binary_io.h"
#include "engine/command_archive.h"
#include "engine/command_io.h"

namespace tova {
namespace {

// The running state of MovieStop and TextIns, which wait on a component they
// name: "tova100", string the component's name (empty when none), byte
// waiting, byte block-events (read from state version 100 on).
void SaveComponentWait(TStream& stream, const std::string& name, bool waiting, bool blockEvents) {
    WriteStateHeader(stream);
    WriteString(stream, name);
    WriteBool(stream, waiting);
    WriteBool(stream, blockEvents);
}

void LoadComponentWait(TStream& stream, std::string& name, bool& waiting, bool& blockEvents) {
    const int32_t version = ReadStateHeader(stream);
    name = ReadPageString(stream);
    waiting = ReadBool(stream);
    if (version >= kStateBlockEventsVersion) blockEvents = ReadBool(stream);
}

}  // namespace

void TComFlip::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("WipeType", WipeType);
    archive.Expression("Duration", Duration);
    archive.Expression("Reverse", Reverse);
    archive.Expression("Mode", Mode);
    archive.ExpressionList("NameLists", NameLists);
    archive.Expression("ClearOld", ClearOld);
    archive.Expression("Param0", Param0);
    archive.Expression("Param1", Param1);
    archive.Expression("WipeSource", WipeSource, kWipeSourceVersion);
    archive.Expression("BlockEvents", BlockEvents, kBlockEventsVersion);
}

void TComFlip::SaveState(TStream& stream) const {
    WriteStateHeader(stream);
    WriteBool(stream, BlockEventsFlag);
    WriteBool(stream, ClearOldFlag);
}

void TComFlip::LoadState(TStream& stream) {
    if (ReadStateHeader(stream) < kStateBlockEventsVersion) return;
    BlockEventsFlag = ReadBool(stream);
    ClearOldFlag = ReadBool(stream);
}

void TComMovieStop::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Target", Target);
    archive.Expression("FadeTime", FadeTime);
    archive.Expression("Wait", Wait);
    archive.Expression("BlockEvents", BlockEvents, kBlockEventsVersion);
}

void TComMovieStop::SaveState(TStream& stream) const {
    SaveComponentWait(stream, TargetName, Waiting, BlockEventsFlag);
}

void TComMovieStop::LoadState(TStream& stream) {
    LoadComponentWait(stream, TargetName, Waiting, BlockEventsFlag);
}

void TComNamedTarget::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Target", Target);
}

void TComPropMotion::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Name", Name);
    archive.Expression("Target", Target);
    archive.Expression("PropertyId", PropertyId);
    archive.Expression("RealValue", RealValue);
    archive.Expression("IntValue", IntValue);
    archive.Expression("ByteValue", ByteValue);
    archive.Expression("Paused", Paused, kMotionPausedVersion);
}

void TComTextIns::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.String(TextData);
    archive.Expression("Target", Target);
    archive.Expression("ReadMark", ReadMark);
    archive.Expression("Wait", Wait);
    archive.Expression("BlockEvents", BlockEvents, kBlockEventsVersion);
}

void TComTextIns::SaveState(TStream& stream) const {
    SaveComponentWait(stream, WindowName, Waiting, BlockEventsFlag);
}

void TComTextIns::LoadState(TStream& stream) {
    LoadComponentWait(stream, WindowName, Waiting, BlockEventsFlag);
}

void TComCallHist::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Window", Window);
    archive.Expression("Start", Start);
    archive.Expression("Count", Count);
    archive.Expression("ReadFlag", ReadFlag);
    archive.Expression("Format", Format, kHistoryFormatVersion);
}

void TComEntryHist::Serialize(TCommandArchive& archive) {
    TCommand::Serialize(archive);
    archive.Expression("Component", Component);
    archive.Expression("Format", Format, kHistoryFormatVersion);
}

}  // namespace tova
