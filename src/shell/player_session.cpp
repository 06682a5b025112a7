#include "shell/player_session.h"

#include <fstream>
#include <memory>
#include <random>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/call_man.h"
#include "engine/data_mount.h"
#include "engine/player_sys_host.h"
#include "engine/project.h"
#include "expr/db_manager.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/sys_func_man.h"
#include "expr/system_variables.h"
#include "expr/variable_dump.h"
#include "graphics/image_depth_flag.h"
#include "objects/tova_base_list.h"
#include "platform/message_box.h"
#include "shell/headless_loop.h"
#include "text/read_list.h"
#include "vfs/file_manager.h"

namespace tova {

namespace {

// Everything a running game works with, declared in the order it is made;
// the members are destroyed in reverse, the project (which runs the end page)
// before what the interpreter uses.
struct TSession {
    explicit TSession(const TPlayerArguments& arguments)
        : files(FileOptions()),
          systemVariables(variables, &sysHost),
          random(arguments.Seed ? *arguments.Seed : std::random_device{}()),
          functions(TSysFuncEnvironment{&variables, &files, &database, &sysHost, &random}),
          evaluator(variables, &functions) {
        variables.SetSystemHost(&systemVariables);
        database.Files = &files;
    }
    ~TSession() {
        project.reset();
        variables.SetSystemHost(nullptr);
    }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    TVrFileManagerOptions FileOptions() {
        TVrFileManagerOptions options;
        options.messageBox = &messageBox;
        options.maxDiscRequests = 1;  // no one is at the screen to insert a disc
        return options;
    }

    THeadlessMessageBox messageBox;
    TVrFileManager files;
    TParamCollection variables;
    TRunFlags flags;
    TPlayerSysHost sysHost{flags};
    TSystemVariables systemVariables;
    TTovaReadList readList;
    TImageDepthFlag imageDepth;
    TDBManager database;
    std::mt19937 random;
    TSysFuncMan functions;
    TOpeEvaluator evaluator;
    TTovaBaseList screen;
    TCallMan* callMan = nullptr;
    std::unique_ptr<TProject> project;
};

void WriteDump(const TSession& session, const std::string& hostPath) {
    const std::string json = VariableDumpJson(session.variables, &session.database);
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
    out.close();
    if (!out) throw ETovaError("cannot write the variable dump '" + hostPath + "'");
}

}  // namespace

int RunPlayerSession(const std::string& executablePath, const TPlayerArguments& arguments, std::ostream& out,
                     std::ostream& err) {
    TSession session(arguments);
    MountGameData(session.files, executablePath, arguments.Parameters);

    bool dumpFailed = false;
    TProjectEnvironment environment;
    environment.ExecutablePath = executablePath;
    environment.Parameters = arguments.Parameters;
    environment.Files = &session.files;
    environment.Variables = &session.variables;
    environment.MessageBox = &session.messageBox;
    environment.Flags = &session.flags;
    environment.ReadList = &session.readList;
    environment.ImageDepth = &session.imageDepth;
    environment.Database = &session.database;
    environment.MaxDiscRequests = 1;
    environment.Trace = &err;
    environment.CreateCallManager = [&session, &arguments, &err](TProject& project) {
        TCallManEnvironment callEnvironment;
        callEnvironment.Host = &project;
        callEnvironment.Files = &session.files;
        callEnvironment.Vars = &session.variables;
        callEnvironment.Evaluator = &session.evaluator;
        callEnvironment.Screen = &session.screen;
        callEnvironment.Flags = &session.flags;
        callEnvironment.MessageBox = &session.messageBox;
        callEnvironment.Database = &session.database;
        callEnvironment.Log = arguments.Trace ? &err : nullptr;
        auto callMan = std::make_unique<TCallMan>(callEnvironment);
        session.callMan = callMan.get();
        session.sysHost.SetCallMan(callMan.get());
        session.sysHost.SetProject(&project);
        return callMan;
    };
    if (arguments.DumpVars)
        environment.AfterEndPage = [&session, &arguments, &dumpFailed, &err] {
            try {
                WriteDump(session, *arguments.DumpVars);
            } catch (const std::exception& e) {
                err << "tovaplayer: " << e.what() << "\n";
                dumpFailed = true;
            }
        };

    session.project = std::make_unique<TProject>(std::move(environment));
    if (session.flags.Stop || !session.callMan) {
        err << "tovaplayer: the project could not start\n";
        return 1;
    }
    TProject& project = *session.project;
    out << "tovaplayer: " << Cp932ToUtf8(project.Title) << " started at " << Cp932ToUtf8(project.StartPage)
        << "\n";
    out.flush();

    THeadlessOptions options;
    options.Frames = arguments.Frames;
    options.FrameMs = arguments.FrameMs;
    // Until the window exists, a run without --headless ends when the game
    // is idle instead of waiting for a window that never closes.
    options.UntilIdle = arguments.UntilIdle || !arguments.Headless;
    RunHeadlessFrames(project, *session.callMan, session.screen, session.flags, options, err);
    session.project.reset();  // the end page, the dump, the status record
    return dumpFailed || session.flags.SaveWriteFailed ? 1 : 0;
}

}  // namespace tova
