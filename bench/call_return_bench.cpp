// The variable side of one Call and its return among many variables: the
// callee declares a local and an auto-freed variable, the return frees what
// its frame owns. The cost should not depend on how many variables exist
// (compare the 100 and 100,000 rows).
#include <benchmark/benchmark.h>

#include <string>

#include "expr/param_collection.h"

namespace {

void BM_CallReturn(benchmark::State& state) {
    tova::TParamCollection vars;
    for (int64_t i = 0; i < state.range(0); ++i)
        vars.Declare("global_" + std::to_string(i), tova::PT_INT, tova::VK_GLOBAL);
    for (auto _ : state) {
        ++vars.CurrentDepth;
        vars.Declare("i", tova::PT_INT, tova::VK_LOCAL).Item->SetInt(1);
        vars.Declare("scratch", tova::PT_STR, tova::VK_AUTOFREE);
        benchmark::DoNotOptimize(vars.FindItem("i"));
        vars.FreeOwned(vars.CurrentDepth);
        --vars.CurrentDepth;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CallReturn)->Arg(100)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
