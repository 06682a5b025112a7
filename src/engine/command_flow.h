// The commands that steer the interpreter and manage variables: branches,
// loops, labels, jumps and calls, waits, expressions, variables, component
// properties, resets, and the save and load requests. Their record fields are
// in command_flow.cpp; their Execute (and Wait's Prepare) is in
// command_flow_execute.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/command.h"
#include "expr/tova_parser.h"

namespace tova {

using TParserList = std::vector<std::unique_ptr<TTovaParser>>;

class TComIf : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::If; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Condition;
};

class TComElseif final : public TComIf {
public:
    using TComIf::TComIf;
    TCommandCode GetCode() const override { return TCommandCode::Elseif; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComElse final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Else; }
    bool IsChained() const override { return true; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComLabel : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Label; }
    bool MatchesLabel(std::string_view name) const override { return name == Name; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string Name;
};

// A comment holds its text in Name; it also answers as a label. It is always
// disabled, so the interpreter never runs it.
class TComComment final : public TComLabel {
public:
    using TComLabel::TComLabel;
    TCommandCode GetCode() const override { return TCommandCode::Comment; }
    bool IsChained() const override { return false; }
    bool IsDisabled() const override { return true; }
};

class TComJump final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Jump; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string PageName;
    int32_t Target = 0;
    TTovaParser Condition;
};

class TComCall final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Call; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string PageName;
    int32_t Target = 0;
    std::string ResultVar;
    TTovaParser Condition;
    TParserList Arguments;
};

class TComExit : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Exit; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Condition;
};

// Break and Continue: Condition, then Target (below 0: the page ends).
class TComBreak final : public TComExit {
public:
    using TComExit::TComExit;
    TCommandCode GetCode() const override { return TCommandCode::Break; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    int32_t Target = 0;
};

class TComContinue final : public TComExit {
public:
    using TComExit::TComExit;
    TCommandCode GetCode() const override { return TCommandCode::Continue; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    int32_t Target = 0;
};

class TComWait final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Wait; }
    bool BlocksEvents() const override { return BlockEventsFlag; }
    bool IsWaitPoint() const override { return true; }
    void Serialize(TCommandArchive& archive) override;
    void Prepare(TCallMan& callMan) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
    // "tova100", int32 Remaining, int32 FirstFrame, byte BlockEventsFlag.
    void SaveState(TStream& stream) const override;
    void LoadState(TStream& stream) override;

    TTovaParser Condition;
    TTovaParser Time;
    TTovaParser BlockEvents;  // pages of version 107 and later

    // Running state, set by Prepare.
    int32_t Remaining = 0;  // milliseconds
    int32_t FirstFrame = 0;
    bool BlockEventsFlag = false;
};

class TComDoEvent final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::DoEvent; }
    bool IsChained() const override { return false; }
    bool IsWaitPoint() const override { return true; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComCalc final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Calc; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Expression;
};

class TComWhile final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::While; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Condition;
    int32_t ExitTarget = 0;
};

// A command that evaluates one expression at run time: the base of the loop
// initialisation and re-initialisation.
class TComRuntime : public TCommand {
public:
    using TCommand::TCommand;
    void Serialize(TCommandArchive& archive) override;

    TTovaParser Expression;
};

class TComWhileInit : public TComRuntime {
public:
    using TComRuntime::TComRuntime;
    TCommandCode GetCode() const override { return TCommandCode::WhileInit; }
    bool IsChained() const override { return true; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

// Inherits the initialisation's "always chained".
class TComWhileLoop final : public TComWhileInit {
public:
    using TComWhileInit::TComWhileInit;
    TCommandCode GetCode() const override { return TCommandCode::WhileLoop; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    int32_t LoopTarget = 0;
};

class TComVarNew final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::VarNew; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string Name;
    uint8_t Type = 0;  // value type code
    TTovaParser InitialValue;
    uint8_t Scope = 0;  // 0 global, 1 freed on return, 2 local, 3 status
};

class TComVarDel final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::VarDel; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string Name;
};

class TComGetProp final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::GetProp; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Object;
    TTovaParser PropertyId;
    std::string VarName;
};

class TComSetProp final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::SetProp; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Object;
    TTovaParser PropertyId;
    TTovaParser Value;
};

class TComObjDel final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::ObjDel; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Object;
};

class TComTerminate final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::Terminate; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComPCReset : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::PCReset; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    std::string PageName;
    int32_t Target = 0;
    uint8_t Mode = 0;  // non-zero: full reset
};

class TComReset final : public TComPCReset {
public:
    using TComPCReset::TComPCReset;
    TCommandCode GetCode() const override { return TCommandCode::Reset; }
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;
};

class TComGameSave final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::GameSave; }
    bool IsChained() const override { return false; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Slot;
    std::string Caption;  // the page to go to after this save is loaded
    int32_t Value = 0;    // the command index there; pages of version 105 and later
    TTovaParser Text;
};

class TComGameLoad final : public TCommand {
public:
    using TCommand::TCommand;
    TCommandCode GetCode() const override { return TCommandCode::GameLoad; }
    bool IsChained() const override { return false; }
    void Serialize(TCommandArchive& archive) override;
    void Execute(TCallMan& callMan, TPage*& page, int32_t& pc) override;

    TTovaParser Slot;
};

}  // namespace tova
