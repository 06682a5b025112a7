// Runs a piece of code in a child process watched for memory and time, so
// that a test of a decompression bomb or a runaway loop fails with a clear
// reason instead of exhausting the machine. The parent samples the child's
// resident memory every few milliseconds and kills it past the limits; the
// child also runs under a CPU-time limit. Works in sanitizer builds too,
// where an address-space limit cannot be used (the sanitizers reserve
// terabytes of address space up front).
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace tova::testing {

struct TChildLimits {
    int64_t MaxResidentBytes = 256ll << 20;
    std::chrono::milliseconds MaxTime{20000};
};

enum class TChildOutcome { Passed, Failed, OverMemory, OverTime, Crashed };

struct TChildResult {
    TChildOutcome Outcome = TChildOutcome::Crashed;
    int64_t PeakResidentBytes = 0;
    std::chrono::milliseconds Elapsed{0};

    bool Passed() const { return Outcome == TChildOutcome::Passed; }
    std::string Describe() const {
        static const char* const names[] = {"passed", "failed", "went over its memory limit",
                                            "went over its time limit", "crashed"};
        return std::string(names[static_cast<int>(Outcome)]) + " (peak " +
               std::to_string(PeakResidentBytes >> 20) + " MiB, " + std::to_string(Elapsed.count()) + " ms)";
    }
};

namespace detail {

inline int64_t ResidentBytes(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace detail

// This process's resident memory now. A child starts with its parent's
// pages, so its limit is best given as this plus what the body may take.
inline int64_t OwnResidentBytes() {
    return detail::ResidentBytes(getpid());
}

// Runs body in a child; body returns true for a pass. Exceptions escaping
// body count as a failure.
inline TChildResult RunBounded(const std::function<bool()>& body, TChildLimits limits = {}) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const rlim_t seconds = static_cast<rlim_t>(limits.MaxTime.count() / 1000 + 1);
        const rlimit cpu{seconds, seconds + 1};
        setrlimit(RLIMIT_CPU, &cpu);
        bool passed = false;
        try {
            passed = body();
        } catch (...) {
            passed = false;
        }
        _exit(passed ? 0 : 1);
    }
    TChildResult result;
    if (pid < 0) return result;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        result.Elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (done == pid) {
            // The kernel's peak, which sampling may have missed between two looks.
            result.PeakResidentBytes = std::max<int64_t>(result.PeakResidentBytes, usage.ru_maxrss * 1024ll);
            break;
        }
        const int64_t resident = detail::ResidentBytes(pid);
        if (resident > result.PeakResidentBytes) result.PeakResidentBytes = resident;
        const bool overMemory = resident > limits.MaxResidentBytes;
        if (overMemory || result.Elapsed > limits.MaxTime) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.Outcome = overMemory ? TChildOutcome::OverMemory : TChildOutcome::OverTime;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (result.PeakResidentBytes > limits.MaxResidentBytes)
        result.Outcome = TChildOutcome::OverMemory;
    else if (WIFSIGNALED(status))
        result.Outcome = WTERMSIG(status) == SIGXCPU ? TChildOutcome::OverTime : TChildOutcome::Crashed;
    else
        result.Outcome = WEXITSTATUS(status) == 0 ? TChildOutcome::Passed : TChildOutcome::Failed;
    return result;
}

}  // namespace tova::testing
