// Runs the tova command of the build under test and captures its output.
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

// The arguments are passed through the shell (quote paths with Quote);
// standard error goes to the test log.
inline TToolResult Tova(const std::string& arguments) {
    const char* bin = std::getenv("TOVA_TEST_BIN");
    const std::string command = std::string(bin ? bin : ".") + "/tools/tova/tova " + arguments;
    TToolResult result{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

}  // namespace tova::testing
