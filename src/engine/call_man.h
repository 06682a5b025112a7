// The interpreter: runs script pages one command at a time, interleaving the
// main script with the event handlers that components queue. It keeps a
// cache of loaded pages, the program counter and the call stack, and runs
// entirely on the main thread inside one call of Run per frame.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/call_stack.h"
#include "engine/page.h"
#include "engine/page_runner.h"
#include "engine/run_flags.h"

namespace tova {

class TRunWarnings;

class TCommand;
class TDBManager;
class TInterpreterHost;
class TMessageBoxHost;
class TOpeEvaluator;
class TParamCollection;
class TTovaBaseList;
class TTovaObject;
class TTovaParser;
class TVrFileManager;

// Where the interpreter is; stored as a 32-bit number in saved games.
enum class TCallState : int32_t {
    Main = 0,           // the main script runs
    Handler = 1,        // a first-level event handler runs
    SeekNested = 2,     // a handler reached a wait point: a nested event may start
    NestedHandler = 3,  // a nested event handler runs
};

// What one command step did.
enum class TStepResult {
    Stepped,            // a command ran (or nothing was left to run)
    Waited,             // the command was a wait point
    ReturnedToMain,     // a page ended and its caller is no event handler
    ReturnedToHandler,  // a page ended and its caller is an event handler
};

// Everything the interpreter works with; not owned, all required except
// Database and Log.
struct TCallManEnvironment {
    TInterpreterHost* Host = nullptr;
    TVrFileManager* Files = nullptr;
    TParamCollection* Vars = nullptr;
    TOpeEvaluator* Evaluator = nullptr;
    TTovaBaseList* Screen = nullptr;
    TRunFlags* Flags = nullptr;
    TMessageBoxHost* MessageBox = nullptr;
    TDBManager* Database = nullptr;
    // The debug log: one line per command run (page names in UTF-8), or none.
    std::ostream* Log = nullptr;
    // Where the player tells of scripts that went wrong (a call too deep), or none.
    std::ostream* Errors = nullptr;
    // What the commands and expressions let pass, for the game's author, or none.
    TRunWarnings* Warnings = nullptr;
};

class TCallMan final : public TPageRunner {
public:
    // Pages kept besides the current one.
    static constexpr size_t kCacheSize = 10;
    // Executions of one command that neither moves on nor waits, after which
    // Run ends the frame's work (a broken script must not hang the player).
    static constexpr int kStallLimit = 1000;
    // Commands one Run executes at most; the rest of the work goes on in the
    // next frame, so that an endless chained loop leaves the player alive.
    static constexpr int64_t kRunCommandLimit = int64_t{1} << 20;
    // Frames the call stack holds at most; a Call beyond them does nothing,
    // like a Call of a page that does not exist, so that a page calling
    // itself without end cannot use up the memory.
    static constexpr int32_t kMaxCallDepth = 10000;
    // The saved-game version from which EventLevel is part of the record.
    static constexpr int32_t kEventLevelVersion = 116;

    explicit TCallMan(TCallManEnvironment env);
    ~TCallMan() override;
    TCallMan(const TCallMan&) = delete;
    TCallMan& operator=(const TCallMan&) = delete;

    // Restarts the interpreter on the page: empty stack and arguments, no
    // event being handled.
    void Start(const std::string& pageName) override;
    // Runs until the frame's work is done: the main script reached a command
    // that is not chained, or an event handler reached a wait point.
    void Run() override;
    // The page from the cache or loaded; toFront also sets PC to 0 and makes
    // it the most recently used. A page that cannot be loaded raises and
    // changes nothing.
    TPage* GetPage(std::string_view name, bool toFront);

    int ArgCount() const { return static_cast<int>(Args.size()); }
    std::string GetArg(int i) const;
    // The name of the event's sender while it still exists, else empty.
    std::string GetEventSourceName() const;
    // What the innermost Call gives back, or null outside a Call.
    TCustomParam* GetCallResult();
    bool IsFinished() const override;

    // The call-stack record of a saved game.
    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream, int32_t version);

    // For the commands. A page in the cache exists: it is run from there.
    bool PageExists(std::string_view name);
    // Tells the author of something the running command lets pass (code page 932).
    void Warn(std::string_view message);
    // Whether a Call may push one more frame; when not, the refused call of
    // that page is written to the logs.
    bool MayCall(std::string_view pageName);
    // Evaluates an expression: its value, or null when it yields none.
    TCustomParam* Evaluate(TTovaParser& expression);
    // Whether the expression yields a value that reads as true.
    bool IsTrue(TTovaParser& expression);
    TInterpreterHost& Host() const { return *env_.Host; }
    TParamCollection& Vars() const { return *env_.Vars; }
    TOpeEvaluator& Evaluator() const { return *env_.Evaluator; }
    TTovaBaseList& Screen() const { return *env_.Screen; }
    TRunFlags& Flags() const { return *env_.Flags; }
    TDBManager* Database() const { return env_.Database; }
    // A line of the debug log that is not a command's (UTF-8), when there is a log.
    void Note(std::string_view text);
    // The command at PC of Page when it has been prepared and not left yet.
    TCommand* StartedCommand() const;

    TPage* Page = nullptr;
    int32_t PC = 0;
    uint8_t Chained = 0;
    TStackList Stack;
    uint8_t Started = 0;
    TStringList Args;
    TCallState State = TCallState::Main;
    TComponentHandle EventSource;
    int32_t EventLevel = 2;

private:
    void ExecuteOne(TPage*& page, uint8_t& started, int32_t& pc, bool& yield);
    TStepResult StepCommand();
    // Starts the oldest pending event's handler at the level; false when none starts.
    bool CheckEvent(int32_t level);
    // Pops the frame of a page that ended and returns into it.
    void ReturnToCaller();
    void StoreResult(const TStack& frame);
    TEventSourceNames SourceNames() const;
    void WriteLog(std::string_view prefix, const TPage& page, int32_t lineId);
    void TrimCache();

    TCallManEnvironment env_;
    // Most recently used first.
    std::list<std::unique_ptr<TPage>> cache_;
    // Pages dropped from the cache while one of their commands may still be
    // running; freed after the step.
    std::vector<std::unique_ptr<TPage>> retired_;
    const TCommand* lastLogged_ = nullptr;
    bool frameDone_ = false;  // a guard ended this frame's work
    int stalls_ = 0;
    int64_t executed_ = 0;
    bool deepCallReported_ = false;  // standard error heard of a too deep call once
};

// The page and label of an event's handler text: split at the last colon
// that stands after the last "." or "\" (and not at the start), the page
// part's last three characters replaced by "tsb".
struct THandlerTarget {
    std::string Page;
    std::string Label;
};
THandlerTarget SplitHandler(std::string_view handler);

}  // namespace tova
