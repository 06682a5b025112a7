// Record reading and writing of the transition, media, text, history and
// motion commands, and the running states of Flip, MovieStop and TextIns.
#include "engine/command_media.h"

#include "core/binary_io.h"
#include "engine/command_io.h"

namespace tova {
namespace {

// Running states from this version on carry the BlockEvents flag.
constexpr int32_t kStateBlockEventsVersion = 100;

}  // namespace

void TComFlip::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    WipeType.LoadFromStream(stream);
    Duration.LoadFromStream(stream);
    Reverse.LoadFromStream(stream);
    Mode.LoadFromStream(stream);
    ReadParserList(stream, NameLists);
    ClearOld.LoadFromStream(stream);
    Param0.LoadFromStream(stream);
    Param1.LoadFromStream(stream);
    if (PageVersion() >= kWipeSourceVersion) WipeSource.LoadFromStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.LoadFromStream(stream);
}

void TComFlip::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WipeType.SaveToStream(stream);
    Duration.SaveToStream(stream);
    Reverse.SaveToStream(stream);
    Mode.SaveToStream(stream);
    WriteParserList(stream, NameLists);
    ClearOld.SaveToStream(stream);
    Param0.SaveToStream(stream);
    Param1.SaveToStream(stream);
    if (PageVersion() >= kWipeSourceVersion) WipeSource.SaveToStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.SaveToStream(stream);
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

void TComMovieStop::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Target.LoadFromStream(stream);
    FadeTime.LoadFromStream(stream);
    Wait.LoadFromStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.LoadFromStream(stream);
}

void TComMovieStop::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Target.SaveToStream(stream);
    FadeTime.SaveToStream(stream);
    Wait.SaveToStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.SaveToStream(stream);
}

void TComMovieStop::SaveState(TStream& stream) const {
    WriteStateHeader(stream);
    WriteString(stream, TargetName);
    WriteBool(stream, Waiting);
    WriteBool(stream, BlockEventsFlag);
}

void TComMovieStop::LoadState(TStream& stream) {
    const int32_t version = ReadStateHeader(stream);
    TargetName = ReadPageString(stream);
    Waiting = ReadBool(stream);
    if (version >= kStateBlockEventsVersion) BlockEventsFlag = ReadBool(stream);
}

void TComMediaPlay::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Target.LoadFromStream(stream);
}

void TComMediaPlay::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Target.SaveToStream(stream);
}

void TComPropMotion::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Name.LoadFromStream(stream);
    Target.LoadFromStream(stream);
    PropertyId.LoadFromStream(stream);
    RealValue.LoadFromStream(stream);
    IntValue.LoadFromStream(stream);
    ByteValue.LoadFromStream(stream);
    if (PageVersion() >= kMotionPausedVersion) Paused.LoadFromStream(stream);
}

void TComPropMotion::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Name.SaveToStream(stream);
    Target.SaveToStream(stream);
    PropertyId.SaveToStream(stream);
    RealValue.SaveToStream(stream);
    IntValue.SaveToStream(stream);
    ByteValue.SaveToStream(stream);
    if (PageVersion() >= kMotionPausedVersion) Paused.SaveToStream(stream);
}

void TComTextIns::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    TextData = ReadPageString(stream);
    Target.LoadFromStream(stream);
    ReadMark.LoadFromStream(stream);
    Wait.LoadFromStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.LoadFromStream(stream);
}

void TComTextIns::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    WritePageString(stream, TextData);
    Target.SaveToStream(stream);
    ReadMark.SaveToStream(stream);
    Wait.SaveToStream(stream);
    if (PageVersion() >= kBlockEventsVersion) BlockEvents.SaveToStream(stream);
}

void TComTextIns::SaveState(TStream& stream) const {
    WriteStateHeader(stream);
    WriteString(stream, WindowName);
    WriteBool(stream, Waiting);
    WriteBool(stream, BlockEventsFlag);
}

void TComTextIns::LoadState(TStream& stream) {
    const int32_t version = ReadStateHeader(stream);
    WindowName = ReadPageString(stream);
    Waiting = ReadBool(stream);
    if (version >= kStateBlockEventsVersion) BlockEventsFlag = ReadBool(stream);
}

void TComTextClr::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Target.LoadFromStream(stream);
}

void TComTextClr::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Target.SaveToStream(stream);
}

void TComCallHist::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Window.LoadFromStream(stream);
    Start.LoadFromStream(stream);
    Count.LoadFromStream(stream);
    ReadFlag.LoadFromStream(stream);
    if (PageVersion() >= kHistoryFormatVersion) Format.LoadFromStream(stream);
}

void TComCallHist::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Window.SaveToStream(stream);
    Start.SaveToStream(stream);
    Count.SaveToStream(stream);
    ReadFlag.SaveToStream(stream);
    if (PageVersion() >= kHistoryFormatVersion) Format.SaveToStream(stream);
}

void TComEntryHist::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Component.LoadFromStream(stream);
    if (PageVersion() >= kHistoryFormatVersion) Format.LoadFromStream(stream);
}

void TComEntryHist::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Component.SaveToStream(stream);
    if (PageVersion() >= kHistoryFormatVersion) Format.SaveToStream(stream);
}

void TComMenuClose::LoadFromStream(TStream& stream) {
    TCommand::LoadFromStream(stream);
    Target.LoadFromStream(stream);
}

void TComMenuClose::SaveToStream(TStream& stream) const {
    TCommand::SaveToStream(stream);
    Target.SaveToStream(stream);
}

}  // namespace tova
