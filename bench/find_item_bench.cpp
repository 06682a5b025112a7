// Variable lookup by name: FindItem on a collection of 2,000 variables
// against a plain std::unordered_map lookup of the same names.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "expr/param_collection.h"
#include "name_lookup.h"

namespace {

constexpr int kVariableCount = 2000;

// Names alike in length and outer letters, as script variables tend to be,
// so that many of them share one of the 256 buckets.
std::vector<std::string> VariableNames() {
    return tova::NumberedNames(kVariableCount, "flag_", 10000, "_x");
}

void BM_FindItem(benchmark::State& state) {
    const std::vector<std::string> names = VariableNames();
    tova::TParamCollection vars;
    for (const std::string& name : names)
        vars.AddItem(tova::PT_INT)->SetName(name);
    tova::FindEachInTurn(state, names, [&](const std::string& name) { return vars.FindItem(name); });
}
BENCHMARK(BM_FindItem);

void BM_UnorderedMapFind(benchmark::State& state) {
    tova::UnorderedMapFind(state, VariableNames());
}
BENCHMARK(BM_UnorderedMapFind);

}  // namespace

BENCHMARK_MAIN();
