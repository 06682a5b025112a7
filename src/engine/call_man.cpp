#include "engine/call_man.h"
#include "engine/run_warnings.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

#include "core/binary_io.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "engine/command.h"
#include "engine/interpreter_host.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"
#include "expr/tova_parser.h"
#include "objects/tova_base_list.h"

namespace tova {

THandlerTarget SplitHandler(std::string_view handler) {
    std::vector<size_t> starts;  // where each character begins
    ForEachSjisChar(handler, [&](uint16_t, size_t pos, size_t) { starts.push_back(pos); });
    THandlerTarget target{std::string(handler), {}};
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        const char c = handler[*it];
        if (c == '.' || c == '\\') break;
        if (c == ':' && *it >= 1) {
            target.Page = std::string(handler.substr(0, *it));
            target.Label = std::string(handler.substr(*it + 1));
            break;
        }
    }
    target.Page.resize(target.Page.size() >= 3 ? target.Page.size() - 3 : 0);
    target.Page += "tsb";
    return target;
}

TCallMan::TCallMan(TCallManEnvironment env) : Stack(*env.Vars), env_(env) {}

TCallMan::~TCallMan() {
    // Pages free their hidden variables; the stack goes first so that the
    // published depth is 0 again.
    Stack.Clear();
    Page = nullptr;
    cache_.clear();
}

void TCallMan::Start(const std::string& pageName) {
    Page = GetPage(pageName, true);
    PC = 0;
    Started = 0;
    Args.clear();
    State = TCallState::Main;
    Stack.Clear();
    EventSource = {};
    for (int32_t level = 1; level <= EventLevel; ++level)
        Screen().Events.RemoveLevel(level);
    EventLevel = 2;
}

void TCallMan::TrimCache() {
    while (cache_.size() > kCacheSize + 1 && cache_.back().get() != Page) {
        retired_.push_back(std::move(cache_.back()));
        cache_.pop_back();
    }
}

TPage* TCallMan::GetPage(std::string_view name, bool toFront) {
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if ((*it)->Name != name) continue;
        if (!toFront) return it->get();
        PC = 0;
        if (it != cache_.begin()) cache_.splice(cache_.begin(), cache_, it);
        return cache_.front().get();
    }
    TPageHost host;
    host.Vars = env_.Vars;
    host.MessageBox = env_.MessageBox;
    host.Warnings = env_.Warnings;
    host.RequestStop = [this] {
        Flags().Stop = true;
        Host().RequestClose();
    };
    auto page = std::make_unique<TPage>(std::move(host));
    page->LoadFromFile(*env_.Files, name);  // raises; the page is freed with the unique_ptr
    TPage* loaded = page.get();
    if (toFront) {
        PC = 0;
        cache_.push_front(std::move(page));
        TrimCache();
    } else {
        cache_.push_back(std::move(page));
    }
    return loaded;
}

std::string TCallMan::GetArg(int i) const {
    return i >= 0 && i < ArgCount() ? Args[static_cast<size_t>(i)] : std::string();
}

std::string TCallMan::GetEventSourceName() const {
    return Screen().NameOf(EventSource);
}

TCustomParam* TCallMan::GetCallResult() {
    return Stack.Empty() ? nullptr : Stack.Top().Result.get();
}

bool TCallMan::IsFinished() const {
    return State == TCallState::Main && Stack.Empty() && (!Page || PC < 0 || PC >= Page->Count());
}

bool TCallMan::PageExists(std::string_view name) {
    // A Jump back to a page of the cache need not ask the file system again
    // (for loose files a lookup on disk), which made a Jump loop crawl.
    for (const auto& page : cache_)
        if (page->Name == name) return true;
    return Host().PageExists(name);
}

void TCallMan::Warn(std::string_view message) {
    if (env_.Warnings) env_.Warnings->Warn(message);
}

bool TCallMan::MayCall(std::string_view pageName) {
    if (Stack.Count() < kMaxCallDepth) return true;
    const std::string line = "call of " + Cp932ToUtf8(pageName) + " from " +
                             (Page ? Cp932ToUtf8(Page->Name) : std::string()) + ": more than " +
                             std::to_string(kMaxCallDepth) + " calls deep; the call is not made";
    if (env_.Log) *env_.Log << line << "\n";
    if (env_.Errors && !deepCallReported_) *env_.Errors << "tovaplayer: " << line << "\n";
    deepCallReported_ = true;
    return false;
}

TCustomParam* TCallMan::Evaluate(TTovaParser& expression) {
    expression.Execute(Evaluator());
    return expression.Result.get();
}

bool TCallMan::IsTrue(TTovaParser& expression) {
    const TCustomParam* value = Evaluate(expression);
    return value && value->GetBool();
}

TCommand* TCallMan::StartedCommand() const {
    if (!Page || Started == 0 || PC < 0 || PC >= Page->Count()) return nullptr;
    return Page->Commands[static_cast<size_t>(PC)].get();
}

void TCallMan::Note(std::string_view text) {
    if (env_.Log) *env_.Log << "tovaplayer: " << text << "\n";
}

void TCallMan::WriteLog(std::string_view prefix, const TPage& page, int32_t lineId) {
    if (!env_.Log) return;
    char total[16];
    std::snprintf(total, sizeof total, "%.8x", static_cast<unsigned>(Flags().TotalTime));
    *env_.Log << total << " : " << prefix << Cp932ToUtf8(page.Name) << "(" << lineId << ")\n";
}

void TCallMan::ExecuteOne(TPage*& page, uint8_t& started, int32_t& pc, bool& yield) {
    yield = false;
    if (pc < 0 || pc >= page->Count()) {
        page = nullptr;
        return;
    }
    TPage* const oldPage = page;
    const int32_t oldPc = pc;
    TCommand& command = *page->Commands[static_cast<size_t>(pc)];
    if (&command != lastLogged_) {
        WriteLog({}, *page, command.LineId);
        lastLogged_ = &command;
    }
    if (env_.Warnings) env_.Warnings->Enter(oldPage->Name, command.LineId);
    struct TLeave {
        TRunWarnings* Warnings;
        ~TLeave() {
            if (Warnings) Warnings->Leave();
        }
    } leave{env_.Warnings};
    try {
        if (started == 0) {
            if (command.IsDisabled()) {
                ++pc;
                return;
            }
            command.Prepare(*this);
            started = 1;
        }
        Chained = command.IsChained() ? 1 : 0;
        yield = command.IsWaitPoint();
        ++executed_;
        command.Execute(*this, page, pc);
        if (page != oldPage || pc != oldPc) started = 0;
    } catch (const ETovaError& e) {
        // The command stays current. When it did not move on it would raise
        // again at once, so this frame's work ends here.
        Warn(e.Message());
        if (page == oldPage && pc == oldPc) frameDone_ = true;
    } catch (const std::exception& e) {
        Warn(e.what());
        if (page == oldPage && pc == oldPc) frameDone_ = true;
    }
}

TStepResult TCallMan::StepCommand() {
    if (!Page) return TStepResult::Stepped;
    TPage* page = Page;
    const TPage* const before = Page;
    const int32_t beforePc = PC;
    const bool wasStarted = Started != 0;
    bool yield = false;
    ExecuteOne(page, Started, PC, yield);
    const TStepResult stepped = yield ? TStepResult::Waited : TStepResult::Stepped;
    retired_.clear();
    if (page) {
        Page = page;
        // A command that runs again without moving and without waiting.
        if (wasStarted && !yield && Page == before && PC == beforePc && Started != 0) {
            if (++stalls_ >= kStallLimit) frameDone_ = true;
        } else {
            stalls_ = 0;
        }
        return stepped;
    }
    stalls_ = 0;
    if (Stack.Empty()) {
        Chained = 0;
        return stepped;
    }
    ReturnToCaller();
    if (!EventSource) return TStepResult::ReturnedToMain;
    return yield ? TStepResult::Waited : TStepResult::ReturnedToHandler;
}

void TCallMan::StoreResult(const TStack& frame) {
    if (frame.ResultVar.empty() || !frame.Result) return;
    if (TParamCollectionItem* target = Vars().FindItem(frame.ResultVar)) {
        target->AssignConverted(*frame.Result);
        return;
    }
    // An element of an array (a[2]) is reached through the expression
    // compiler; an undeclared name stays undeclared.
    RunStatement(frame.ResultVar + " = \"" + frame.Result->GetStr() + "\"", Evaluator());
}

void TCallMan::ReturnToCaller() {
    Vars().FreeOwned(Stack.Count());
    TStack& frame = Stack.Pop();
    StoreResult(frame);
    Page = frame.PageName.empty() ? nullptr : GetPage(frame.PageName, true);
    PC = frame.PC;
    Started = frame.Started;
    Chained = frame.Chained;
    Args = std::move(frame.Args);
    EventSource = frame.EventSource;
    if (frame.StateStream)
        if (TCommand* command = StartedCommand()) {
            frame.StateStream->SetPosition(0);
            command->LoadState(*frame.StateStream);
        }
}

bool TCallMan::CheckEvent(int32_t level) {
    if (TCommand* command = StartedCommand(); command && command->BlocksEvents()) return false;
    TTimerData* event = Screen().Events.NextPending();
    if (!event) return false;
    const THandlerTarget target = SplitHandler(event->Handler);
    if (!PageExists(target.Page)) return false;
    // The context is taken first: loading the handler's page moves PC to 0.
    const int32_t pc = PC;
    std::optional<TTpMemoryStream> state;
    if (const TCommand* command = StartedCommand()) command->SaveState(state.emplace());
    TPage* handler = nullptr;
    try {
        handler = GetPage(target.Page, true);
    } catch (const std::exception& e) {
        // A page that resolves but cannot be read would raise on every
        // frame and keep every later event waiting: the event is dropped.
        if (env_.Log)
            *env_.Log << "error in the event handler " << Cp932ToUtf8(target.Page) << ": " << e.what()
                      << "\n";
        Screen().Events.Remove(event);
        return false;
    }
    TStack& frame = Stack.Push();
    frame.PageName = Page ? Page->Name : std::string();
    frame.PC = pc;
    frame.Started = Started;
    frame.Args = Args;
    frame.EventSource = EventSource;
    frame.Chained = Chained;
    frame.StateStream = std::move(state);
    Page = handler;
    PC = target.Label.empty() ? 0 : std::max(0, Page->FindLabel(target.Label));
    WriteLog("<Event>", *Page, PC < Page->Count() ? Page->Commands[static_cast<size_t>(PC)]->LineId : 0);
    Started = 0;
    event->State = level;
    Args = event->Args;
    EventSource = event->Sender;
    State = TCallState::Handler;
    return true;
}

void TCallMan::Run() {
    frameDone_ = false;
    stalls_ = 0;
    executed_ = 0;
    TTimerList& events = Screen().Events;
    do {
        switch (State) {
            case TCallState::Main:
                if (!CheckEvent(1)) StepCommand();
                break;
            case TCallState::Handler: {
                const TStepResult r = StepCommand();
                if (r == TStepResult::ReturnedToMain) {
                    events.RemoveLevel(1);
                    State = TCallState::Main;
                    Chained = 1;
                } else if (r == TStepResult::Waited) {
                    EventLevel = 2;
                    State = TCallState::SeekNested;
                    return;
                } else if (State != TCallState::Handler) {
                    Chained = 1;
                }
                break;
            }
            case TCallState::SeekNested:
                if (!CheckEvent(EventLevel)) {
                    State = EventLevel < 3 ? TCallState::Handler : TCallState::NestedHandler;
                } else {
                    ++EventLevel;
                    State = TCallState::NestedHandler;
                }
                break;
            case TCallState::NestedHandler: {
                const TStepResult r = StepCommand();
                if (r == TStepResult::ReturnedToMain || r == TStepResult::ReturnedToHandler) {
                    --EventLevel;
                    events.RemoveLevel(EventLevel);
                    if (EventLevel < 3) State = TCallState::SeekNested;
                } else if (r == TStepResult::Waited) {
                    State = TCallState::SeekNested;
                    return;
                }
                break;
            }
        }
        if (frameDone_ || executed_ >= kRunCommandLimit) return;
    } while (!((Chained == 0 && State == TCallState::Main) || Flags().Stop));
}

TEventSourceNames TCallMan::SourceNames() const {
    TTovaBaseList& screen = Screen();
    return {[&screen](TComponentHandle handle) { return screen.NameOf(handle); },
            [&screen](std::string_view name) { return screen.FindHandle(name); }};
}

void TCallMan::SaveToStream(TStream& stream) const {
    WriteString(stream, Page ? Page->Name : std::string());
    WriteI32(stream, PC);
    WriteU8(stream, Chained);
    WriteU8(stream, Started);
    WriteI32(stream, static_cast<int32_t>(State));
    WriteString(stream, GetEventSourceName());
    SaveStringList(stream, Args);
    Stack.SaveToStream(stream, SourceNames());
    WriteI32(stream, EventLevel);
    if (const TCommand* command = StartedCommand()) command->SaveState(stream);
}

void TCallMan::LoadFromStream(TStream& stream, int32_t version) {
    const std::string pageName = ReadString(stream);
    TPage* page = pageName.empty() ? nullptr : GetPage(pageName, true);
    const int32_t pc = ReadI32(stream);
    const uint8_t chained = ReadU8(stream);
    const uint8_t started = ReadU8(stream);
    const int32_t state = ReadI32(stream);
    const std::string source = ReadString(stream);
    TStringList args = LoadStringList(stream);
    Stack.LoadFromStream(stream, SourceNames());
    const int32_t eventLevel = version >= kEventLevelVersion ? ReadI32(stream) : 2;
    Page = page;
    PC = pc;
    Chained = chained;
    Started = started;
    // An unknown state starts over in the main script, as the interpreter
    // itself does with a state it does not know.
    State = state >= 0 && state <= 3 ? static_cast<TCallState>(state) : TCallState::Main;
    EventSource = source.empty() ? TComponentHandle{} : Screen().FindHandle(source);
    Args = std::move(args);
    EventLevel = eventLevel;
    lastLogged_ = nullptr;
    if (TCommand* command = StartedCommand()) command->LoadState(stream);
}

}  // namespace tova
