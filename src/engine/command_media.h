// The screen transition, media, text, history and motion commands. Their
// record fields and running states are in command_media.cpp. Until the
// screen, media and text parts drive them, each of them moves on to the next
// command (the base Execute) and Flip, MovieStop and TextIns prepare nothing.
#pragma once

#include <cstdint>
#include <string>

#include "engine/command.h"
#include "engine/command_flow.h"
#include "engine/command_versions.h"
#include "expr/tova_parser.h"

namespace tova {

// A command whose record is one expression naming the component it acts on:
// the base of MediaPlay, TextClr and MenuClose.
class TComNamedTarget : public TCommand {
public:
    using TCommand::TCommand;
    void Serialize(TCommandArchive& archive) override;

    TTovaParser Target;
};

class TComFlip final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Flip; }
    bool BlocksEvents() const override { return BlockEventsFlag; }
    bool IsWaitPoint() const override { return Timed; }
    void Serialize(TCommandArchive& archive) override;
    // "tova100", byte BlockEventsFlag, byte ClearOldFlag.
    void SaveState(TStream& stream) const override;
    void LoadState(TStream& stream) override;

    TTovaParser WipeType;
    TTovaParser Duration;
    TTovaParser Reverse;
    TTovaParser Mode;
    TParserList NameLists;  // each a text with one component name per line
    TTovaParser ClearOld;
    TTovaParser Param0;
    TTovaParser Param1;
    TTovaParser WipeSource;   // pages of version 101 and later
    TTovaParser BlockEvents;  // pages of version 107 and later

    // Running state, set by Prepare and advanced by Execute.
    int32_t State = 0;      // 0 prepared, 1 starting, 2 running, 3 instant
    int64_t StartTime = 0;  // the total frame time when the transition started
    int32_t DurationValue = 1;
    bool Timed = false;  // Duration yielded a value above 0
    bool BlockEventsFlag = false;
    bool ClearOldFlag = false;
};

class TComMovieStop final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::MovieStop; }
    bool BlocksEvents() const override { return BlockEventsFlag; }
    bool IsWaitPoint() const override { return Waiting; }
    void Serialize(TCommandArchive& archive) override;
    // "tova100", string TargetName, byte Waiting, byte BlockEventsFlag.
    void SaveState(TStream& stream) const override;
    void LoadState(TStream& stream) override;

    TTovaParser Target;
    TTovaParser FadeTime;
    TTovaParser Wait;
    TTovaParser BlockEvents;  // pages of version 107 and later

    // Running state: the component waited for, by name (empty when none).
    std::string TargetName;
    bool Waiting = false;
    bool BlockEventsFlag = false;
};

class TComMediaPlay final : public TComNamedTarget {
public:
    using TComNamedTarget::TComNamedTarget;
    TCommandCode GetCode() const override { return TCommandCode::MediaPlay; }
};

class TComPropMotion final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::PropMotion; }
    void Serialize(TCommandArchive& archive) override;

    TTovaParser Name;    // of the motion component
    TTovaParser Target;  // the component whose property it animates
    TTovaParser PropertyId;
    TTovaParser RealValue;  // passed on to the motion as a real
    TTovaParser IntValue;   // ... as an integer
    TTovaParser ByteValue;  // ... as a byte
    TTovaParser Paused;     // pages of version 108 and later
};

class TComTextIns final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::TextIns; }
    bool BlocksEvents() const override { return BlockEventsFlag; }
    bool IsWaitPoint() const override { return Waiting; }
    void Serialize(TCommandArchive& archive) override;
    // "tova100", string WindowName, byte Waiting, byte BlockEventsFlag.
    void SaveState(TStream& stream) const override;
    void LoadState(TStream& stream) override;

    std::string TextData;  // the stored text block, raw
    TTovaParser Target;
    TTovaParser ReadMark;
    TTovaParser Wait;
    TTovaParser BlockEvents;  // pages of version 107 and later

    // Running state: the message window shown into, by name (empty when none).
    std::string WindowName;
    bool Waiting = false;
    bool BlockEventsFlag = false;
};

class TComTextClr final : public TComNamedTarget {
public:
    using TComNamedTarget::TComNamedTarget;
    TCommandCode GetCode() const override { return TCommandCode::TextClr; }
};

class TComCallHist final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::CallHist; }
    void Serialize(TCommandArchive& archive) override;

    TTovaParser Window;
    TTovaParser Start;
    TTovaParser Count;
    TTovaParser ReadFlag;
    TTovaParser Format;  // pages of version 111 and later
};

class TComClrHist final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::ClrHist; }
};

// FormatHist: copies a component's look into a history format.
class TComEntryHist final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::FormatHist; }
    void Serialize(TCommandArchive& archive) override;

    TTovaParser Component;
    TTovaParser Format;  // pages of version 111 and later
};

class TComClrRead final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::ClrRead; }
};

class TComMenuClose final : public TComNamedTarget {
public:
    using TComNamedTarget::TComNamedTarget;
    TCommandCode GetCode() const override { return TCommandCode::MenuClose; }
};

}  // namespace tova
