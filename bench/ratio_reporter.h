// The benchmark programs' way of stating a result against its reference
// measured in the same run: a console reporter that keeps each benchmark's
// CPU time per iteration (the machines these run on are shared, and CPU time
// is the steadier) and prints, after the usual table, the ratio of each
// pair (ours / reference; below 1 is faster).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tova {

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // The CPU time per iteration of the named benchmark, if it ran.
    std::optional<double> Time(const std::string& name) const {
        const auto it = times_.find(name);
        if (it == times_.end()) return std::nullopt;
        return it->second;
    }

    // Each pair is (ours, reference); pairs where either did not run are left out.
    void PrintRatios(const std::vector<std::pair<std::string, std::string>>& pairs) const {
        std::printf("\nRatios (ours / reference):\n");
        for (const auto& [ours, reference] : pairs) {
            const auto a = Time(ours), b = Time(reference);
            if (!a || !b || *b <= 0) continue;
            std::printf("  %-18s / %-22s %8.3fx\n", ours.c_str(), reference.c_str(), *a / *b);
        }
    }

private:
    std::map<std::string, double> times_;
};

// The whole of a benchmark program's main: runs the benchmarks the command
// line selects, then prints the ratios of pairs.
inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(pairs);
    benchmark::Shutdown();
    return 0;
}

}  // namespace tova
