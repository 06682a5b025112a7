// A whole game under test: its source folder written by the test, built with
// `tova build` and run with `tovaplayer --headless`, the variable dump and the
// trace read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tools/tova_runner.h"
#include "variable_dump_reader.h"

namespace tova::testing {

// What a program run left: its exit code (-1 when it did not end by itself,
// e.g. it crashed) and its two output streams.
struct TProgramRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// One line of --trace: the running total of frame milliseconds, the page and
// the command's LineId.
struct TTraceLine {
    uint32_t Ms = 0;
    std::string Page;
    int32_t LineId = 0;
};

struct TPlayerRun : TProgramRun {
    std::optional<TVariableDump> Dump;  // none when the player wrote none

    // A variable's element as text ("<no dump>" without one).
    std::string Value(const std::string& name, size_t index = 0) const;
    bool Has(const std::string& name) const { return Dump && Dump->Find(name); }
    // The trace lines of standard error, in order.
    std::vector<TTraceLine> Trace() const;
    // The time of the first trace line of that page and LineId, or -1.
    int64_t TimeOf(const std::string& page, int32_t lineId) const;
};

class TGame {
public:
    // A project.ini with the title and the start page, then `more` (further
    // keys of [project] and more sections).
    TGame(const std::string& startPage, const std::string& more = "");

    // A file of the source folder (UTF-8 text or raw bytes).
    void Write(const std::string& relative, const std::string& content) const;
    // Replaces the whole source folder by a copy of folder.
    void UseSourcesOf(const std::string& folder) const;
    // Runs `tova build` into the game's output folder.
    TProgramRun Build(bool pack = false) const;
    // Builds (a failed build fails the test) and runs the player on the
    // output with `--headless OPTIONS --dump-vars FILE`.
    TPlayerRun BuildAndRun(const std::string& options, bool pack = false) const;
    // Runs the player on what was built last.
    TPlayerRun Run(const std::string& options) const;
    // Runs the player on a data argument of the test's choice (a folder or a file).
    TPlayerRun RunOn(const std::string& data, const std::string& options) const;

    std::string SourceFolder() const { return dir_ / "src"; }
    // A folder of the test's own, removed with the game.
    std::string Folder() const { return dir_.Path(); }

    // Variable assignments put before the player's command ("A='x' B='y'").
    std::string Environment;
    std::string OutputFolder() const { return dir_ / "out"; }

private:
    TTempDir dir_;
};

// The content of a host file, empty when it cannot be read.
std::string ReadHostFile(const std::string& path);
// Runs a shell command with its output streams caught in files of folder.
TProgramRun RunProgram(const std::string& command, const TTempDir& folder);

}  // namespace tova::testing
