// Run-time behaviour of the commands that steer the interpreter: branches,
// loops, labels, jumps, calls and waits. Block structure is the commands'
// Indent; loop and jump targets are command indexes stored in the records.
#include "core/error.h"
#include "engine/call_man.h"
#include "engine/command_flow.h"
#include "expr/param_factory.h"

namespace tova {

namespace {

const TCommand& CommandAt(const TPage& page, int32_t pc) {
    return *page.Commands[static_cast<size_t>(pc)];
}

// Steps over the body of a branch whose condition was not taken.
void SkipBody(const TPage& page, int32_t indent, int32_t& pc) {
    do {
        ++pc;
    } while (pc < page.Count() && CommandAt(page, pc).Indent > indent);
}

}  // namespace

void TComIf::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    ++pc;
    if (callMan.IsTrue(Condition)) return;
    // Look along the chain for the first Elseif that holds or an Else.
    while (pc < page->Count()) {
        TCommand& next = *page->Commands[static_cast<size_t>(pc)];
        if (next.Indent > Indent) {
            ++pc;
            continue;
        }
        if (next.Indent < Indent) return;
        if (next.GetCode() == TCommandCode::Else) {
            ++pc;
            return;
        }
        if (next.GetCode() != TCommandCode::Elseif) return;
        ++pc;
        if (callMan.IsTrue(static_cast<TComElseif&>(next).Condition)) return;
    }
}

// Reached only by falling out of the body of an earlier branch of the chain.
void TComElseif::Execute(TCallMan&, TPage*& page, int32_t& pc) {
    SkipBody(*page, Indent, pc);
}
void TComElse::Execute(TCallMan&, TPage*& page, int32_t& pc) {
    SkipBody(*page, Indent, pc);
}

void TComLabel::Execute(TCallMan&, TPage*&, int32_t& pc) {
    ++pc;
}

namespace {

// Whether the page of a Jump or Call exists; a missing one is told to the
// author and the command goes on past it, as the original does.
bool TargetPageExists(TCallMan& callMan, const std::string& pageName) {
    if (callMan.PageExists(pageName)) return true;
    callMan.Warn(ETovaError::Format("%s:ファイルがありません", {pageName}).Message());
    return false;
}

}  // namespace

void TComJump::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    ++pc;
    if (!callMan.IsTrue(Condition) || !TargetPageExists(callMan, PageName)) return;
    page = callMan.GetPage(PageName, true);
    pc = Target;
}

void TComCall::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    ++pc;
    if (!callMan.IsTrue(Condition) || !TargetPageExists(callMan, PageName) || !callMan.MayCall(PageName))
        return;
    TStringList args;
    for (const auto& argument : Arguments)
        if (const TCustomParam* value = callMan.Evaluate(*argument)) args.push_back(value->GetStr());
    // The called page is loaded before the frame is pushed: a page that
    // cannot be read leaves the stack as it was.
    const int32_t returnPc = pc;  // loading the page moves the program counter to 0
    TPage* called = callMan.GetPage(PageName, true);
    TStack& frame = callMan.Stack.Push();
    frame.PageName = page->Name;
    frame.PC = returnPc;
    frame.ResultVar = ResultVar;
    frame.Chained = callMan.Chained;
    frame.EventSource = callMan.EventSource;
    frame.Args = std::move(callMan.Args);
    frame.Started = 0;
    if (called->ResultType >= 1 && called->ResultType <= 4) frame.Result = CreateParam(called->ResultType);
    callMan.Args = std::move(args);
    page = called;
    pc = Target;
}

void TComExit::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    if (callMan.IsTrue(Condition))
        page = nullptr;
    else
        ++pc;
}

void TComBreak::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    if (!callMan.IsTrue(Condition)) {
        ++pc;
    } else if (Target < 0) {
        page = nullptr;
    } else {
        pc = Target;
    }
}

void TComContinue::Execute(TCallMan& callMan, TPage*& page, int32_t& pc) {
    ++pc;
    if (!callMan.IsTrue(Condition)) return;
    if (Target < 0)
        page = nullptr;
    else
        pc = Target;
}

void TComWhile::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    if (!callMan.IsTrue(Condition)) pc = ExitTarget;
}

void TComWhileInit::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    ++pc;
    callMan.Evaluate(Expression);
}

void TComWhileLoop::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    pc = LoopTarget;
    callMan.Evaluate(Expression);
}

void TComWait::Prepare(TCallMan& callMan) {
    const TCustomParam* time = callMan.Evaluate(Time);
    Remaining = time ? time->GetInt() : 0;
    FirstFrame = 1;
    BlockEventsFlag = callMan.IsTrue(BlockEvents);
}

void TComWait::Execute(TCallMan& callMan, TPage*&, int32_t& pc) {
    const TCustomParam* condition = callMan.Evaluate(Condition);
    if (condition && !condition->GetBool()) {
        ++pc;
        return;
    }
    // The frame in which the wait began is not counted.
    if (Remaining != 0) {
        if (FirstFrame <= 0) {
            Remaining -= callMan.Flags().FrameDelta;
            if (Remaining <= 0) {
                ++pc;
                return;
            }
        } else {
            --FirstFrame;
        }
    }
    callMan.Chained = 0;
}

void TComDoEvent::Execute(TCallMan&, TPage*&, int32_t& pc) {
    ++pc;
}

}  // namespace tova
