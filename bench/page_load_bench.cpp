// Time to load a script page of 10,000 commands from memory: a mix of
// expressions, branches, calls and component commands with a few properties.
// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/binary_io.h"
#include "core/stream.h"
#include "engine/command.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "engine/page.h"
#include "expr/build_tova_parser.h"

namespace {

using namespace tova;

constexpr int kCommands = 10000;

void SetExpression(TTovaParser& parser, const std::string& text) {
    TBuildTovaParser compiler;
    compiler.Compile(text);
    TTpMemoryStream s;
    compiler.SaveToStream(s);
    s.SetPosition(0);
    parser.LoadFromStream(s);
}

std::vector<uint8_t> BigPage() {
    TPage page;
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::BoxNew)], 0);
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::BoxNew)], 3);
    MaskSet(page.PropertyMasks[static_cast<size_t>(TCommandCode::BoxNew)], 4);
    const TCommandCode cycle[] = {TCommandCode::Calc,  TCommandCode::If,   TCommandCode::Calc,
                                  TCommandCode::Label, TCommandCode::Call, TCommandCode::BoxNew,
                                  TCommandCode::Wait,  TCommandCode::Else};
    for (int i = 0; i < kCommands; ++i) {
        auto command = CreateCommand(page, static_cast<uint8_t>(cycle[i % 8]));
        command->LineId = i;
        command->Indent = i % 3;
        if (auto* calc = dynamic_cast<TComCalc*>(command.get())) {
            SetExpression(calc->Expression, "counter = counter + " + std::to_string(i));
        } else if (auto* branch = dynamic_cast<TComIf*>(command.get())) {
            SetExpression(branch->Condition, "counter < 100 and flag");
        } else if (auto* label = dynamic_cast<TComLabel*>(command.get())) {
            label->Name = "label" + std::to_string(i);
        } else if (auto* call = dynamic_cast<TComCall*>(command.get())) {
            call->PageName = "sub\\page.tsb";
            call->ResultVar = "r";
            SetExpression(call->Condition, "1");
            call->Arguments.push_back(std::make_unique<TTovaParser>());
            SetExpression(*call->Arguments.back(), "\"arg\"");
        } else if (auto* box = dynamic_cast<TComComponent*>(command.get())) {
            SetExpression(*box->Property(0), "\"box\"");
            SetExpression(*box->Property(3), "10 * 2");
            SetExpression(*box->Property(4), "y + 1");
        } else if (auto* wait = dynamic_cast<TComWait*>(command.get())) {
            SetExpression(wait->Time, "100");
        }
        page.Commands.push_back(std::move(command));
    }
    TTpMemoryStream out;
    page.SaveToStream(out);
    return out.Bytes();
}

void BM_LoadPage10000(benchmark::State& state) {
    const std::vector<uint8_t> bytes = BigPage();
    for (auto _ : state) {
        // Only the load is timed: not the copy of the file into the stream
        // nor freeing the page afterwards.
        state.PauseTiming();
        auto stream = std::make_unique<TTpMemoryStream>(bytes);
        auto page = std::make_unique<TPage>();
        state.ResumeTiming();
        page->LoadFromStream(*stream);
        benchmark::DoNotOptimize(page->Count());
        state.PauseTiming();
        page.reset();
        stream.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadPage10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
