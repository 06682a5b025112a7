// The player's program entry: the rules that decide whether it runs at all
// (not from a CD-ROM, one player per data folder), the command line, the
// mounting of the data and the project's load and shutdown.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/window_options.h"

namespace tova {

// The command line split into the player's own options (they start with
// "--") and the parameters the game data rules see, in code page 932.
struct TPlayerArguments {
    std::vector<std::string> Parameters;
    bool Help = false;                    // --help, -h
    bool Version = false;                 // --version
    bool Headless = false;                // --headless: no window
    std::optional<int64_t> Frames;        // --frames N: end after N frames
    int32_t FrameMs = 15;                 // --frame-ms MS: the virtual clock's step
    bool UntilIdle = false;               // --until-idle
    bool Trace = false;                   // --trace: one line per command on standard error
    bool Warnings = false;                // --warnings (and --trace): the run-time warnings
    std::optional<std::string> DumpVars;  // --dump-vars FILE (host path)
    std::optional<std::string> SavePath;  // --save-path DIR: the folder of save.dat (host path)
    std::optional<uint32_t> Seed;         // --seed N: the generator of Random
    // Seeing the screen (host paths; "-" is standard output).
    std::optional<std::string> Screenshot;                       // --screenshot FILE.png
    std::optional<std::string> WindowShot;                       // --window-shot FILE.png
    std::vector<std::pair<int64_t, std::string>> ScreenshotsAt;  // --screenshot-at N:FILE.png
    std::optional<std::string> InputFile;                        // --input FILE
    std::optional<std::string> DumpScreen;                       // --dump-screen FILE.json
    TWindowArguments Window;                                     // the window's options (without --headless)
};

// args are the host's (UTF-8) arguments after the program name; options
// taking a value may be written "--name VALUE" or "--name=VALUE". An unknown
// option ("--..." or "-x"), one without its value, or a value out of range
// throws ETovaError.
TPlayerArguments SplitPlayerArguments(const std::vector<std::string>& args);

// The single-instance key of a data folder: the folder with a trailing '\'
// added when missing, then every '\' replaced by '-', after every '-' and '%'
// of the folder's own was written "%2D" and "%25", so that two folders never
// share a key.
std::string InstanceKey(std::string_view dataFolder);

// The folder a key is made from, so that every way of naming one folder
// gives one key: made absolute and normalised (symbolic links resolved where
// it exists), its '/' delimiters written as '\', and upper-cased only when
// its file system does not tell the case of names apart.
std::string InstanceFolder(std::string_view programFolder);

// Runs the player; returns the exit code: 0 for a normal end (also when it
// refuses to run from a CD-ROM), 1 when the project could not start or what
// it kept could not be written (the reason goes to err), 2 for a wrong
// command line, 3 when another player runs on the same data.
int RunPlayer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tova
