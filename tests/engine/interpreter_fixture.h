// Runs pages built in code through the interpreter: pages are written to the
// file manager's memory collection, variables and the screen are real, and
// the host records the save and load requests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/call_man.h"
#include "engine/command_flow.h"
#include "engine/interpreter_host.h"
#include "engine/page.h"
#include "engine/player_sys_host.h"
#include "engine/project.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/sys_func_man.h"
#include "expr/system_variables.h"
#include "expr/tova_parser.h"
#include "objects/tova_base_list.h"
#include "platform/message_box.h"
#include "vfs/file_manager.h"

namespace tova::testing {

// Appends commands to a page under construction; every command is chained
// unless the test says otherwise.
class TPageBuilder {
public:
    explicit TPageBuilder(std::string name) { page_.Name = std::move(name); }

    template <class T>
    T& Add(TCommandCode code, int32_t indent = 0, bool chained = true) {
        std::unique_ptr<TCommand> command = CreateCommand(page_, static_cast<uint8_t>(code));
        command->Indent = indent;
        command->Chained = chained ? 1 : 0;
        command->LineId = static_cast<int32_t>(page_.Commands.size()) + 1;
        T& typed = static_cast<T&>(*command);
        page_.Commands.push_back(std::move(command));
        return typed;
    }
    TComCalc& Calc(const std::string& text, int32_t indent = 0, bool chained = true) {
        auto& c = Add<TComCalc>(TCommandCode::Calc, indent, chained);
        CompileExpression(text, c.Expression);
        return c;
    }
    TComIf& If(const std::string& condition, int32_t indent = 0) {
        auto& c = Add<TComIf>(TCommandCode::If, indent);
        CompileExpression(condition, c.Condition);
        return c;
    }
    TComElseif& Elseif(const std::string& condition, int32_t indent = 0) {
        auto& c = Add<TComElseif>(TCommandCode::Elseif, indent);
        CompileExpression(condition, c.Condition);
        return c;
    }
    TComWait& Wait(const std::string& time, const std::string& condition = {}, bool blockEvents = false) {
        auto& c = Add<TComWait>(TCommandCode::Wait);
        if (!time.empty()) CompileExpression(time, c.Time);
        if (!condition.empty()) CompileExpression(condition, c.Condition);
        if (blockEvents) CompileExpression("TRUE", c.BlockEvents);
        return c;
    }
    TComLabel& Label(const std::string& name) {
        auto& c = Add<TComLabel>(TCommandCode::Label);
        c.Name = name;
        return c;
    }
    TComCall& Call(const std::string& page, const std::vector<std::string>& args = {},
                   const std::string& resultVar = {}, int32_t target = 0) {
        auto& c = Add<TComCall>(TCommandCode::Call);
        c.PageName = page;
        c.ResultVar = resultVar;
        c.Target = target;
        CompileExpression("TRUE", c.Condition);
        for (const std::string& arg : args) {
            c.Arguments.push_back(std::make_unique<TTovaParser>());
            CompileExpression(arg, *c.Arguments.back());
        }
        return c;
    }
    TComJump& Jump(const std::string& page, int32_t target = 0, const std::string& condition = "TRUE") {
        auto& c = Add<TComJump>(TCommandCode::Jump);
        c.PageName = page;
        c.Target = target;
        if (!condition.empty()) CompileExpression(condition, c.Condition);
        return c;
    }
    TComVarNew& VarNew(const std::string& name, uint8_t type, const std::string& initial, uint8_t scope = 0) {
        auto& c = Add<TComVarNew>(TCommandCode::VarNew);
        c.Name = name;
        c.Type = type;
        c.Scope = scope;
        if (!initial.empty()) CompileExpression(initial, c.InitialValue);
        return c;
    }
    TComExit& Exit(const std::string& condition = "TRUE") {
        auto& c = Add<TComExit>(TCommandCode::Exit);
        CompileExpression(condition, c.Condition);
        return c;
    }
    TPage& Page() { return page_; }

private:
    TPage page_;
};

class TRecordingHost final : public TInterpreterHost {
public:
    explicit TRecordingHost(TVrFileManager& files) : files_(files) {}
    bool PageExists(std::string_view name) override { return !name.empty() && files_.Exists(name); }
    void RequestSave(int32_t slot, std::string text, std::string afterPage, int32_t afterTarget) override {
        SaveSlot = slot;
        SaveText = std::move(text);
        SaveAfterPage = std::move(afterPage);
        SaveAfterTarget = afterTarget;
    }
    void RequestLoad(int32_t slot) override { LoadSlot = slot; }
    void RequestClose() override { CloseRequested = true; }

    int32_t SaveSlot = -1;
    std::string SaveText;
    std::string SaveAfterPage;
    int32_t SaveAfterTarget = 0;
    int32_t LoadSlot = -1;
    bool CloseRequested = false;

private:
    TVrFileManager& files_;
};

class InterpreterTest : public ::testing::Test {
protected:
    InterpreterTest() {
        files.AddArchive("");
        ReplaceCallMan();
        vars.SetSystemHost(&systemVariables);
        functions.Environment().Host = &roles;
    }
    // A fresh interpreter over the same variables, files and screen.
    void ReplaceCallMan() {
        TCallManEnvironment env;
        env.Host = &host;
        env.Files = &files;
        env.Vars = &vars;
        env.Evaluator = &evaluator;
        env.Screen = &screen;
        env.Flags = &flags;
        env.MessageBox = &messageBox;
        env.Log = &log;
        callMan = std::make_unique<TCallMan>(env);
    }
    ~InterpreterTest() override {
        callMan.reset();
        vars.SetSystemHost(nullptr);
    }

    // Writes the page into the memory collection under its name.
    void Store(TPageBuilder& builder) {
        TVrFile* file = files.Archive(0).AddMemoryFile(builder.Page().Name);
        file->Data = std::make_unique<TTpMemoryStream>();
        builder.Page().SaveToStream(*file->Data);
    }
    void Frames(int count, int32_t elapsed = 15) {
        for (int i = 0; i < count; ++i) {
            flags.FrameDelta = elapsed;
            flags.TotalTime += static_cast<uint32_t>(elapsed);
            callMan->Run();
        }
    }
    std::string Str(const std::string& name) {
        const TParamCollectionItem* item = vars.FindItem(name);
        return item ? item->GetStr() : "<none>";
    }
    int32_t Int(const std::string& name) {
        const TParamCollectionItem* item = vars.FindItem(name);
        EXPECT_NE(item, nullptr) << name;
        return item ? item->GetInt() : -999;
    }
    void Queue(const std::string& handler, std::vector<std::string> args = {}, TComponentHandle sender = {}) {
        TTimerData event;
        event.Handler = handler;
        event.Args = std::move(args);
        event.Sender = sender;
        screen.Events.Add(std::move(event));
    }

    THeadlessMessageBox messageBox;
    TVrFileManager files;
    TParamCollection vars;
    TRunFlags flags;
    std::unique_ptr<TCallMan> callMan;
    std::unique_ptr<TProject> noProject;
    TPlayerSysHost scriptRole{flags, callMan, noProject};
    TSysHost roles{.ScriptRole = &scriptRole};
    TSystemVariables systemVariables{vars, &roles};
    TSysFuncMan functions{TSysFuncEnvironment{&vars, &files, nullptr, nullptr, nullptr}};
    TOpeEvaluator evaluator{vars, &functions};
    TTovaBaseList screen;
    TRecordingHost host{files};
    std::ostringstream log;
};

}  // namespace tova::testing
