#include "game_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tova::testing {

TProgramRun RunProgram(const std::string& command, const TTempDir& folder) {
    const std::string out = folder / "stdout.txt";
    const std::string err = folder / "stderr.txt";
    const int status =
        std::system((command + " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null").c_str());
    TProgramRun run;
    run.ExitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadHostFile(out);
    run.Err = ReadHostFile(err);
    return run;
}

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// "%.8x : PAGE(LINEID)"; event lines ("<Event>PAGE") and other messages are
// no command lines.
std::optional<TTraceLine> ParseTraceLine(const std::string& line) {
    if (line.size() < 14 || line.compare(8, 3, " : ") != 0 || line.back() != ')') return std::nullopt;
    for (size_t i = 0; i < 8; ++i)
        if (!IsHexDigit(line[i])) return std::nullopt;
    const size_t open = line.rfind('(');
    if (open == std::string::npos || open <= 11 || line[11] == '<') return std::nullopt;
    TTraceLine trace;
    trace.Ms = static_cast<uint32_t>(std::stoul(line.substr(0, 8), nullptr, 16));
    trace.Page = line.substr(11, open - 11);
    trace.LineId = std::stoi(line.substr(open + 1, line.size() - open - 2));
    return trace;
}

}  // namespace

std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TPlayerRun::Value(const std::string& name, size_t index) const {
    return Dump ? Dump->Value(name, index) : "<no dump>";
}

std::vector<TTraceLine> TPlayerRun::Trace() const {
    std::vector<TTraceLine> lines;
    size_t start = 0;
    while (start < Err.size()) {
        size_t end = Err.find('\n', start);
        if (end == std::string::npos) end = Err.size();
        if (auto line = ParseTraceLine(Err.substr(start, end - start))) lines.push_back(*line);
        start = end + 1;
    }
    return lines;
}

int64_t TPlayerRun::TimeOf(const std::string& page, int32_t lineId) const {
    for (const TTraceLine& line : Trace())
        if (line.Page == page && line.LineId == lineId) return line.Ms;
    return -1;
}

TGame::TGame(const std::string& startPage, const std::string& more) {
    Write("project.ini", "[project]\ntitle = E2E\nstart_page = " + startPage + "\n" + more);
}

void TGame::Write(const std::string& relative, const std::string& content) const {
    dir_.WriteFile("src/" + relative, content);
}

void TGame::UseSourcesOf(const std::string& folder) const {
    std::filesystem::remove_all(SourceFolder());
    std::filesystem::copy(folder, SourceFolder(), std::filesystem::copy_options::recursive);
}

TProgramRun TGame::Build(bool pack) const {
    return RunProgram(BinaryPath("tools/tova/tova") + " build " + Quote(SourceFolder()) + " " +
                          Quote(OutputFolder()) + (pack ? " --pack" : ""),
                      dir_);
}

TPlayerRun TGame::BuildAndRun(const std::string& options, bool pack) const {
    const TProgramRun build = Build(pack);
    EXPECT_EQ(build.ExitCode, 0) << build.Err;
    return Run(options);
}

TPlayerRun TGame::Run(const std::string& options) const {
    return RunOn(OutputFolder(), options);
}

TPlayerRun TGame::RunOn(const std::string& data, const std::string& options) const {
    const std::string dump = dir_ / "dump.json";
    std::filesystem::remove(dump);
    // The single-instance lock lives in the runtime folder: one of the test's own.
    std::filesystem::create_directories(dir_ / "runtime");
    TPlayerRun run{RunProgram(Environment + " XDG_RUNTIME_DIR=" + Quote(dir_ / "runtime") + " " +
                                  BinaryPath("src/shell/tovaplayer") + " --headless " + options +
                                  " --dump-vars " + Quote(dump) + " " + Quote(data),
                              dir_),
                   std::nullopt};
    if (std::filesystem::exists(dump)) run.Dump = TVariableDump::Parse(ReadHostFile(dump));
    return run;
}

}  // namespace tova::testing
