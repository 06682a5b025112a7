#include "shell/player_session.h"

#include <fstream>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/player.h"
#include "engine/project.h"
#include "expr/variable_dump.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "shell/headless_loop.h"

namespace tova {

namespace {

// hostPath "-" is standard output.
void WriteDump(const TPlayer& player, const std::string& hostPath, std::ostream& standardOut) {
    const std::string json = VariableDumpJson(player.Variables(), &player.Database());
    if (hostPath == "-") {
        standardOut << json;
        standardOut.flush();
        return;
    }
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
    out.close();
    if (!out) throw ETovaError(Utf8ToCp932Lossy("cannot write the variable dump '" + hostPath + "'"));
}

}  // namespace

int RunPlayerSession(const std::string& executablePath, const TDataFolder& dataFolder,
                     const TPlayerArguments& arguments, std::ostream& out, std::ostream& err) {
    THeadlessMessageBox messageBox;
    TPlayerOptions options;
    options.ExecutablePath = executablePath;
    options.Parameters = arguments.Parameters;
    options.DataFolder = dataFolder;
    options.Seed = arguments.Seed;
    if (arguments.SavePath) options.SaveFolder = FromHostPath(*arguments.SavePath);
    options.MessageBox = &messageBox;
    options.MaxDiscRequests = 1;  // no one is at the screen to insert a disc
    options.Log = &err;
    options.CommandLog = arguments.Trace ? &err : nullptr;
    const std::unique_ptr<TPlayer> player = TPlayer::Open(options);
    out << "tovaplayer: " << Cp932ToUtf8(player->Project().Title) << " started at "
        << Cp932ToUtf8(player->Project().StartPage) << "\n";
    out.flush();

    THeadlessOptions headless;
    headless.Frames = arguments.Frames;
    headless.FrameMs = arguments.FrameMs;
    // Until the window exists, a run without --headless ends when the game
    // is idle instead of waiting for a window that never closes.
    headless.UntilIdle = arguments.UntilIdle || !arguments.Headless;
    RunHeadlessFrames(*player, headless);

    bool dumpFailed = false;
    if (arguments.DumpVars) try {
            WriteDump(*player, *arguments.DumpVars, out);
        } catch (const std::exception& e) {
            err << "tovaplayer: " << e.what() << "\n";
            dumpFailed = true;
        }
    player->Finish();
    return dumpFailed || player->Flags().SaveWriteFailed ? 1 : 0;
}

}  // namespace tova
