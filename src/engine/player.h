// The player: owns every subsystem of a running game, made once each in the
// start-up order of the main window (the file system with the game data, the
// variables and functions, the screen, the project and the interpreter) and
// freed in the shutdown order. One frame is one call of DoFrame, whoever
// drives it; shutdown is two explicit steps, BeginShutdown (the end page
// runs over the following frames) and Finish (the status record).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/data_mount.h"
#include "engine/frame_rate_meter.h"
#include "engine/frame_source.h"
#include "engine/run_flags.h"
#include "expr/sys_host.h"

namespace tova {

class TBrioCollection;
class TCallMan;
class TDBManager;
class TImageDepthFlag;
class TMessageBoxHost;
class TOpeEvaluator;
class TParamCollection;
class TPlayerSysHost;
class TProject;
class TProjectImageSource;
class TScreenComponentRole;
class TScreenInputRole;
class TSysFuncMan;
class TSystemVariables;
class TTovaBaseList;
class TTovaReadList;
class TRunWarnings;
class TWarningSink;
class TVrFileManager;

struct TPlayerOptions {
    std::string ExecutablePath;             // code page 932
    std::vector<std::string> Parameters;    // the game's own parameters, code page 932
    TDataFolder DataFolder;                 // ResolveDataFolder of the two above
    std::string SaveFolder;                 // the folder for save.dat the user chose, or empty
    std::optional<uint32_t> Seed;           // fixes the generator of Random
    TMessageBoxHost* MessageBox = nullptr;  // required; outlives the player
    // How often a data disc is asked for; a player without a person at the
    // screen asks once.
    int MaxDiscRequests = 1;
    std::ostream* Log = nullptr;         // why things failed (save, end page, damaged data)
    std::ostream* CommandLog = nullptr;  // one line per command run, or none
    // What the game's scripts and data get wrong that the player lets pass
    // ("PAGE(LINE): message", once each), or none: a game plays silently.
    std::ostream* Warnings = nullptr;
    // The window's side of the script functions (full screen); none: the defaults.
    TShellHost* ShellRole = nullptr;
};

// Where the player is in its life.
enum class TPlayerPhase {
    Running,   // the game's frames
    EndPage,   // BeginShutdown was called; the end page runs over the frames
    Ended,     // the end page is over (or there was none); Finish comes next
    Finished,  // the status record was written; frames do nothing
};

class TPlayer {
public:
    // Frames the end page may take at most before the program ends anyway.
    static constexpr int kEndPageFrameLimit = 4000;

    // Mounts the data, loads the project and starts its start page; throws
    // ETovaError with the reason when the game cannot start (a message box
    // has told the user where the game itself shows one).
    static std::unique_ptr<TPlayer> Open(const TPlayerOptions& options);
    ~TPlayer();
    TPlayer(const TPlayer&) = delete;
    TPlayer& operator=(const TPlayer&) = delete;

    // One frame standing for elapsedMs milliseconds: housekeeping, input, the
    // interpreter, media, component steps, the pending save or load, and
    // drawing on every FrameDivider-th frame.
    void DoFrame(int32_t elapsedMs);
    // One tick of the source's clock: the input that arrived, then the frame
    // when the tick runs one. Returns whether a frame ran.
    bool RunFrame(TFrameSource& source);

    // Sets the stop flag and starts the end page; its frames follow through
    // DoFrame until the phase is Ended.
    void BeginShutdown();
    // Writes the status record and stops the frames; call once the end page
    // is over (an end page still running is cut short).
    void Finish();

    TPlayerPhase Phase() const { return phase_; }
    // The game asked to end (Terminate, a close request) or could not go on.
    bool StopRequested() const { return flags_.Stop; }
    // The main script has finished, no handler runs, no event waits and no
    // save or load is pending.
    bool IsIdle() const;

    // Where input goes between frames.
    TInputSink& Input();
    // Where the run's warnings go (silent without --warnings).
    TWarningSink& Warnings();
    // Where drawn frames are shown; null shows nothing.
    void SetPresentation(TPresentation* presentation) { presentation_ = presentation; }

    const TRunFlags& Flags() const { return flags_; }
    TRunFlags& Flags() { return flags_; }
    TProject& Project() const { return *project_; }
    TCallMan& CallMan() const { return *callMan_; }
    TParamCollection& Variables() const { return *variables_; }
    TDBManager& Database() const { return *database_; }
    TTovaBaseList& Screen() const { return *screen_; }
    TVrFileManager& Files() const { return *files_; }
    TBrioCollection& Images() const { return *images_; }

private:
    explicit TPlayer(const TPlayerOptions& options);
    void Create(const TPlayerOptions& options);

    // The stages of a frame, in their order.
    void Housekeeping();
    void UpdateInput();
    void RunInterpreter();
    void UpdateMedia();
    void StepComponents();
    // Returns whether a game was loaded.
    bool ProcessPendingSaveLoad();
    void Draw();

    TRunFlags flags_;
    TPlayerPhase phase_ = TPlayerPhase::Running;
    std::ostream* log_;
    TPresentation* presentation_ = nullptr;
    // The presentation that was last shown a whole picture; a new one gets
    // the whole picture first.
    TPresentation* presentedTo_ = nullptr;
    int32_t drawCounter_ = 0;  // frames modulo FrameDivider
    TFrameRateMeter frameRate_;
    int32_t skipDraw_ = 0;    // frames not to draw (one after a game load)
    int32_t skipFrames_ = 0;  // whole frames to skip
    int endPageFrames_ = 0;

    // Declared in the creation order; freed in reverse. The call manager and
    // the project are freed first, the variables last.
    std::mt19937 random_;
    std::unique_ptr<TRunWarnings> warnings_;
    std::unique_ptr<TVrFileManager> files_;
    std::unique_ptr<TParamCollection> variables_;
    std::unique_ptr<TDBManager> database_;
    std::unique_ptr<TTovaReadList> readList_;
    std::unique_ptr<TImageDepthFlag> imageDepth_;
    std::unique_ptr<TCallMan> callMan_;
    std::unique_ptr<TProject> project_;
    // The image cache outlives the screen, whose components hold its items.
    std::unique_ptr<TProjectImageSource> imageSource_;
    std::unique_ptr<TBrioCollection> images_;
    std::unique_ptr<TPlayerSysHost> scriptRole_;
    std::unique_ptr<TScreenInputRole> inputRole_;
    std::unique_ptr<TScreenComponentRole> componentRole_;
    TSysHost roles_;  // the roles the system functions reach
    std::unique_ptr<TSystemVariables> systemVariables_;
    std::unique_ptr<TSysFuncMan> functions_;
    std::unique_ptr<TOpeEvaluator> evaluator_;
    std::unique_ptr<TTovaBaseList> screen_;
};

}  // namespace tova
