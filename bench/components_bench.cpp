// Making many components by a script and painting them once: a start page
// whose While loop makes N boxes (8 x 8, spread over a 1280 x 720 screen,
// seven priorities, every colour), run by one TPlayer::DoFrame, which also paints the
// frame. The boxes are siblings on the layer, or each names the one made
// before as its parent, so that they form chains as deep as components may
// nest (each refused parent starts a new chain). The reference is the same
// loop computing the same values with Calc commands and making nothing.
// After the table: the ratios, then what making and painting cost beyond the
// script's own commands at 10,000, and how that grows from 2,500 to 10,000
// (4 is linear).
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_game.h"
#include "objects/tova_base_list.h"
#include "ratio_reporter.h"
#include "sdk/script_compiler.h"

namespace {

using namespace tova;

enum class TShape { Siblings, Chains, ScriptOnly };

// The start page: N rounds of the loop, then a wait for ever.
std::string StartPage(TShape shape, int64_t count) {
    const std::string rounds = "While n < " + std::to_string(count) + "\n    Calc n = n + 1\n";
    // Name, parent, left, top, colour, priority; a chain's boxes step a few
    // pixels from their parent's corner, so that its 256 stay on the screen.
    const bool chain = shape == TShape::Chains;
    const char* const values[] = {"\"b\" ++ IntToStr(n)",
                                  "\"b\" ++ IntToStr(n - 1)",
                                  chain ? "n % 5" : "n % 100 * 12 + n / 6000",
                                  chain ? "n % 3" : "n / 100 % 60 * 12",
                                  "n * 40503 % 16777216",
                                  "n % 7"};
    std::string page = "VarNew n int 0\nVarNew s str \"\"\nVarNew v int 0\n" + rounds;
    if (shape == TShape::ScriptOnly) {
        for (int i = 0; i < 6; ++i)
            page += std::string("    Calc ") + (i < 2 ? "s = " : "v = ") + values[i] + "\n";
    } else {
        page += std::string("    BoxNew\n        PR_NAME = ") + values[0] + "\n";
        if (chain) page += std::string("        PR_PARENT = ") + values[1] + "\n";
        page += std::string("        PR_LEFT = ") + values[2] + "\n        PR_TOP = " + values[3] +
                "\n        PR_WIDTH = 8\n        PR_HEIGHT = 8\n        PR_COLOR = " + values[4] +
                "\n        PR_PRIORITY = " + values[5] + "\n";
    }
    return page + "Wait\n";
}

void MakeAndPaint(benchmark::State& state, TShape shape) {
    const int64_t count = state.range(0);
    TBenchGame game(1280, 720);
    TPage page;
    page.Name = "start.tsb";
    sdk::CompileScript(StartPage(shape, count), "start.tss", page);
    game.Write(page);
    const size_t expected = shape == TShape::ScriptOnly ? 0 : static_cast<size_t>(count);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TPlayer> player = game.Open();
        state.ResumeTiming();
        player->DoFrame(15);
        state.PauseTiming();
        if (player->Screen().ObjectCount() != expected || player->Screen().PaintedRects().empty())
            std::abort();
        player.reset();
        state.ResumeTiming();
    }
}

void BM_MakeSiblings(benchmark::State& state) {
    MakeAndPaint(state, TShape::Siblings);
}
void BM_MakeChains(benchmark::State& state) {
    MakeAndPaint(state, TShape::Chains);
}
void BM_ScriptOnly(benchmark::State& state) {
    MakeAndPaint(state, TShape::ScriptOnly);
}
BENCHMARK(BM_MakeSiblings)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeChains)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptOnly)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios({{"BM_MakeSiblings/10000", "BM_ScriptOnly/10000"},
                          {"BM_MakeChains/10000", "BM_ScriptOnly/10000"},
                          {"BM_MakeSiblings/10000", "BM_MakeSiblings/2500"},
                          {"BM_MakeChains/10000", "BM_MakeChains/2500"}});
    // What making and painting add to the script's own commands.
    const auto beyond = [&](const std::string& shape, const std::string& size) -> std::optional<double> {
        const auto ours = reporter.Time("BM_" + shape + "/" + size);
        const auto script = reporter.Time("BM_ScriptOnly/" + size);
        if (!ours || !script) return std::nullopt;
        return *ours - *script;
    };
    std::printf("\nBeyond the script's own commands (ms; growth 2,500 -> 10,000, 4 is linear):\n");
    for (const std::string shape : {"MakeSiblings", "MakeChains"}) {
        const auto small = beyond(shape, "2500");
        const auto large = beyond(shape, "10000");
        if (small && large && *small > 0)
            std::printf("  %-14s %8.2f ms at 10,000  %6.2fx\n", shape.c_str(), *large, *large / *small);
    }
    benchmark::Shutdown();
    return 0;
}
