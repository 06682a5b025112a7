#include "shell/program_entry.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "engine/data_mount.h"
#include "platform/executable_path.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/message_gloss.h"
#include "platform/stop_signal.h"
#include "shell/player_session.h"

namespace tova {
namespace {

constexpr int kExitAlreadyRunning = 3;

constexpr const char* kUsage =
    "usage: tovaplayer [OPTIONS] [DATA_FOLDER_OR_ARCHIVE...]\n"
    "  without parameters the game data is looked for beside the player\n"
    "  /config            the configuration dialog\n"
    "  --headless         run without a window on a virtual clock, until the game ends\n"
    "  --frames N         end after N frames\n"
    "  --frame-ms MS      milliseconds per frame of the virtual clock (default 15)\n"
    "  --until-idle       end when the main script has finished and nothing is pending\n"
    "  --trace            one line per executed command on standard error (and --warnings)\n"
    "  --warnings         what the game's scripts and data get wrong, once each, on standard error\n"
    "  --dump-vars FILE   write the variables and tables as JSON after the end page (- standard output)\n"
    "  --seed N           fix the generator of Random\n"
    "  --screenshot FILE.png         the screen after the last frame as an RGB PNG\n"
    "  --screenshot-at N:FILE.png    the screen as presented after frame N (repeatable)\n"
    "  --window-shot FILE.png        the window's picture after the last frame, at the window's size\n"
    "  --input FILE       scripted input, one event a line: FRAME EVENT ARGS\n"
    "  --dump-screen FILE.json       the components and events as JSON after the last frame\n"
    "  --save-path DIR    keep save.dat in DIR (default: the data folder when it is writable,\n"
    "                     else $XDG_DATA_HOME/tovaplayer/TITLE/)\n";

constexpr const char* kUsageEnd =
    "  --help, -h         this text\n"
    "  --version          the player's version\n"
    "  options that take a value may be written --name=VALUE\n";

int64_t NumberOption(const std::string& option, const std::string& text, int64_t low, int64_t high) {
    size_t used = 0;
    int64_t value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        throw ETovaError(option + " wants a number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return value;
}

const std::vector<std::string> kValuedOptions = {"--frames", "--frame-ms", "--dump-vars", "--seed",
                                                 "--save-path"};
const std::vector<std::string> kScreenOptions = {"--screenshot", "--screenshot-at", "--window-shot", "--input",
                                                 "--dump-screen"};

// "N:FILE" of --screenshot-at: a frame from 1 and a file name.
std::pair<int64_t, std::string> FrameAndFile(const std::string& option, const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size())
        throw ETovaError(option + " wants FRAME:FILE, not '" + text + "'");
    return {NumberOption(option, text.substr(0, colon), 1, INT64_MAX), text.substr(colon + 1)};
}

// "--name=value" as "--name" "value" for the options that take a value.
std::vector<std::string> WithValuesSplit(const std::vector<std::string>& args) {
    std::vector<std::string> split;
    for (const std::string& arg : args) {
        const size_t equals = arg.find('=');
        if (!arg.starts_with("--") || equals == std::string::npos) {
            split.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(0, equals);
        if (std::find(kValuedOptions.begin(), kValuedOptions.end(), name) == kValuedOptions.end() &&
            std::find(kScreenOptions.begin(), kScreenOptions.end(), name) == kScreenOptions.end() &&
            !IsWindowValuedOption(name))
            throw ETovaError(name + " takes no value");
        split.push_back(name);
        split.push_back(arg.substr(equals + 1));
    }
    return split;
}

}  // namespace

TPlayerArguments SplitPlayerArguments(const std::vector<std::string>& commandLine) {
    const std::vector<std::string> args = WithValuesSplit(commandLine);
    TPlayerArguments result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw ETovaError(arg + " wants a value");
            return args[++i];
        };
        if (arg.size() > 1 && arg[0] == '-' && !arg.starts_with("--")) {
            // Short options: only -h; anything else is a mistyped option, not a data folder.
            if (arg != "-h") throw ETovaError("unknown option " + arg);
            result.Help = true;
        } else if (!arg.starts_with("--")) {
            result.Parameters.push_back(FromHostPath(arg));
        } else if (arg == "--help") {
            result.Help = true;
        } else if (arg == "--version") {
            result.Version = true;
        } else if (arg == "--headless") {
            result.Headless = true;
        } else if (arg == "--frames") {
            result.Frames = NumberOption(arg, value(), 0, INT64_MAX);
        } else if (arg == "--frame-ms") {
            result.FrameMs = static_cast<int32_t>(NumberOption(arg, value(), 1, 60000));
        } else if (arg == "--until-idle") {
            result.UntilIdle = true;
        } else if (arg == "--trace") {
            result.Trace = true;
        } else if (arg == "--warnings") {
            result.Warnings = true;
        } else if (arg == "--dump-vars") {
            result.DumpVars = value();
        } else if (arg == "--save-path") {
            result.SavePath = value();
            if (result.SavePath->empty()) throw ETovaError("--save-path wants a folder");
        } else if (arg == "--seed") {
            result.Seed = static_cast<uint32_t>(NumberOption(arg, value(), 0, UINT32_MAX));
        } else if (arg == "--screenshot") {
            result.Screenshot = value();
        } else if (arg == "--window-shot") {
            result.WindowShot = value();
        } else if (arg == "--screenshot-at") {
            result.ScreenshotsAt.push_back(FrameAndFile(arg, value()));
        } else if (arg == "--input") {
            result.InputFile = value();
        } else if (arg == "--dump-screen") {
            result.DumpScreen = value();
        } else if (!TakeWindowOption(arg, value, result.Window)) {
            throw ETovaError("unknown option " + arg);
        }
    }
    return result;
}

std::string InstanceKey(std::string_view dataFolder) {
    // '-' stands for the delimiter, so a '-' of the folder's own is written
    // "%2D" (and '%' itself "%25"): the folders /a-b/c and /a/b-c get two keys.
    std::string key;
    bool endsWithDelimiter = false;
    ForEachSjisChar(dataFolder, [&](uint16_t code, size_t pos, size_t length) {
        const bool single = length == 1;
        if (single && code == '\\')
            key.push_back('-');
        else if (single && code == '-')
            key += "%2D";
        else if (single && code == '%')
            key += "%25";
        else
            key.append(dataFolder.substr(pos, length));
        endsWithDelimiter = single && code == '\\';
    });
    if (!endsWithDelimiter) key.push_back('-');
    return key;
}

std::string InstanceFolder(std::string_view programFolder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(ToHostPath(programFolder), error);
    if (error) path = ToHostPath(programFolder);
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    std::string host = (error ? path.lexically_normal() : canonical).string();
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    std::string folder = FromHostPath(host);
    if (FileSystemIgnoresCase(host)) folder = SjisUpperCase(folder);
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string executableHost = ExecutableHostPath();
    if (executableHost.empty()) {
        err << "tovaplayer: the system does not tell where the player lies\n";
        return 1;
    }
    if (LiesOnCdRom(executableHost)) return 0;

    TPlayerArguments arguments;
    try {
        arguments = SplitPlayerArguments(args);
    } catch (const ETovaError& e) {
        err << "tovaplayer: " << e.what() << "\n" << kUsage << kWindowUsage << kUsageEnd;
        return 2;
    }
    if (arguments.Help) {
        out << kUsage << kWindowUsage << kUsageEnd;
        return 0;
    }
    if (arguments.Version) {
        out << "tovaplayer " << TOVA_VERSION << "\n";
        return 0;
    }
    const std::vector<std::string>& parameters = arguments.Parameters;
    std::string executablePath;
    try {
        executablePath = FromHostPath(executableHost);
    } catch (const ETovaError& e) {
        err << "tovaplayer: " << e.what() << "\n";
        return 1;
    }

    const TDataFolder dataFolder = ResolveDataFolder(executablePath, parameters);
    std::unique_ptr<TInstanceLock> lock;
    try {
        lock = TInstanceLock::TryAcquire(InstanceKey(InstanceFolder(dataFolder.Folder)));
        if (!lock) {
            err << "tovaplayer: a player is already running on " << ToHostPath(dataFolder.Folder) << "\n";
            return kExitAlreadyRunning;
        }
    } catch (const ETovaError& e) {
        err << "tovaplayer: running without the single-instance guard: " << e.what() << "\n";
    }

    if (!parameters.empty() && SjisSameText(parameters.front(), "/config")) {
        err << "tovaplayer: the configuration dialog is not available\n";
        return 0;
    }
    InstallStopSignals();  // from here on Ctrl-C ends the game as closing its window does
    try {
        return RunPlayerSession(executablePath, dataFolder, arguments, out, err);
    } catch (const ETovaError& e) {
        err << "tovaplayer: " << WithGloss(e.what()) << "\n";
        return 1;
    }
}

}  // namespace tova
