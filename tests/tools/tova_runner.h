// Runs the programs of the build under test (the tova command above all)
// and captures their output.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tova::testing {

struct TToolResult {
    int exitCode;
    std::string out;
};

// A program of the build: TOVA_TEST_BIN (else the working folder) / relative.
inline std::string BinaryPath(const std::string& relative) {
    const char* bin = std::getenv("TOVA_TEST_BIN");
    return std::string(bin ? bin : ".") + "/" + relative;
}

// Runs a shell command and captures its standard output; standard error
// goes to the test log.
inline TToolResult RunCaptured(const std::string& command) {
    TToolResult result{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The arguments are passed through the shell (quote paths with Quote).
inline TToolResult Tova(const std::string& arguments) {
    return RunCaptured(BinaryPath("tools/tova/tova") + " " + arguments);
}

inline std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace tova::testing
