#include "shell/player_session.h"

#include "core/encoding.h"
#include "core/error.h"
#include "engine/game_ini.h"
#include "engine/player.h"
#include "engine/project.h"
#include "expr/variable_dump.h"
#include "objects/tova_base_list.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "shell/headless_loop.h"
#include "shell/screen_dump.h"
#include "shell/screen_output.h"
#include "shell/startup_files.h"
#include "shell/window_session.h"

namespace tova {

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The largest --input script read: hours of recorded play are a few MB.
constexpr int64_t kMaxInputScriptBytes = int64_t{64} << 20;

// The --input script, read and checked before the player starts.
TInputScript ReadInputScript(const std::string& hostPath) {
    std::string text;
    try {
        text = ReadHostFile(hostPath, kMaxInputScriptBytes);
    } catch (const ETovaError& e) {
        throw ETovaError("cannot read the input script " + e.Message());
    }
    return ParseInputScript(text, hostPath);
}

// Writes one output; a failure is reported and remembered, the others go on.
template <typename Write>
void WriteReported(bool& failed, std::ostream& err, Write write) {
    try {
        write();
    } catch (const std::exception& e) {
        err << "tovaplayer: " << e.what() << "\n";
        failed = true;
    }
}

}  // namespace

int RunPlayerSession(const std::string& executablePath, const TDataFolder& dataFolder,
                     const TPlayerArguments& arguments, std::ostream& out, std::ostream& err) {
    THeadlessOptions headless;
    if (arguments.InputFile) headless.Input = ReadInputScript(*arguments.InputFile);

    DeleteOldPlayerLog(ToHostPath(executablePath));
    // The window's display is taken first: without one the game does not start.
    std::unique_ptr<TWindowSession> window;
    if (!arguments.Headless) window = std::make_unique<TWindowSession>(arguments.Window);

    THeadlessMessageBox messageBox;
    TPlayerOptions options;
    options.ExecutablePath = executablePath;
    options.Parameters = arguments.Parameters;
    options.DataFolder = dataFolder;
    options.Seed = arguments.Seed;
    if (arguments.SavePath) options.SaveFolder = FromHostPath(*arguments.SavePath);
    options.MessageBox = window ? &window->MessageBox() : &messageBox;
    options.ShellRole = window ? &window->ShellRole() : nullptr;
    options.MaxDiscRequests = 1;  // no one is at the screen to insert a disc
    options.Log = &err;
    options.CommandLog = arguments.Trace ? &err : nullptr;
    options.Warnings = arguments.Trace || arguments.Warnings ? &err : nullptr;
    const std::unique_ptr<TPlayer> player = window ? window->Open(options) : TPlayer::Open(options);
    err << "tovaplayer: " << Cp932ToUtf8(player->Project().Title) << " started at "
        << Cp932ToUtf8(player->Project().StartPage) << "\n";
    err.flush();
    if (arguments.Trace) {
        const TGameIniSettings ini =
            ReadGameIni(GameIniFiles(ToHostPath(executablePath), player->Project().Title));
        err << "tovaplayer: game.ini: DirectSound=" << ini.DirectSound << " DelayTime=" << ini.DelayTime
            << " UseWMP=" << ini.UseWMP << "\n";
    }

    bool outputFailed = false;
    headless.Frames = arguments.Frames;
    headless.FrameMs = arguments.FrameMs;
    headless.UntilIdle = arguments.UntilIdle;
    // The screen surface only changes while a frame draws, so after frame N
    // it holds what frame N (or the last frame drawn before it) presented.
    headless.AfterFrame = [&](int64_t frame) {
        for (const auto& shot : arguments.ScreenshotsAt)
            if (shot.first == frame)
                WriteReported(outputFailed, err, [&] {
                    WriteOutputFile(shot.second, ScreenPng(player->Screen().Surface()), out, "screenshot");
                });
    };
    const int64_t frames = window ? window->Run(*player, arguments.Frames, headless.AfterFrame, err)
                                  : RunHeadlessFrames(*player, headless);
    for (const auto& [at, path] : arguments.ScreenshotsAt)
        if (at > frames) {
            err << "tovaplayer: no screenshot of frame " << at << " for '" << path << "': the game ran "
                << frames << " frames\n";
            outputFailed = true;
        }

    if (arguments.Screenshot)
        WriteReported(outputFailed, err, [&] {
            WriteOutputFile(*arguments.Screenshot, ScreenPng(player->Screen().Surface()), out, "screenshot");
        });
    if (arguments.WindowShot)
        WriteReported(outputFailed, err, [&] {
            // The picture as the window shows it, read back at the window's scale.
            if (!window) throw ETovaError("--window-shot needs a window (it is not written with --headless)");
            WriteOutputFile(*arguments.WindowShot, ScreenPng(window->ShownPicture()), out, "window picture");
        });
    if (arguments.DumpScreen)
        WriteReported(outputFailed, err, [&] {
            WriteOutputFile(*arguments.DumpScreen, Bytes(ScreenDumpJson(player->Screen())), out,
                            "screen dump");
        });
    if (arguments.DumpVars)
        WriteReported(outputFailed, err, [&] {
            WriteOutputFile(*arguments.DumpVars,
                            Bytes(VariableDumpJson(player->Variables(), &player->Database())), out,
                            "variable dump");
        });
    player->Finish();
    return outputFailed || player->Flags().SaveWriteFailed ? 1 : 0;
}

}  // namespace tova
