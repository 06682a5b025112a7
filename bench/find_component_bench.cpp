// Finding a component by name on a screen of 1,000 components (as the
// GetProp, SetProp and creation commands do for every access) against a
// plain std::unordered_map lookup of the same names in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "name_lookup.h"
#include "objects/tova_base_list.h"

namespace {

constexpr int kComponentCount = 1000;

// Names as scripts write them: a common stem and a number.
std::vector<std::string> ComponentNames() {
    return tova::NumberedNames(kComponentCount, "button_", 0, "");
}

void BM_FindObject(benchmark::State& state) {
    const std::vector<std::string> names = ComponentNames();
    tova::TTovaBaseList screen;
    for (const std::string& name : names) {
        auto control = std::make_unique<tova::TTovaControl>();
        control->Name = name;
        screen.AddObject(std::move(control));
    }
    tova::FindEachInTurn(state, names, [&](const std::string& name) { return screen.FindObject(name); });
}
BENCHMARK(BM_FindObject);

void BM_UnorderedMapFind(benchmark::State& state) {
    tova::UnorderedMapFind(state, ComponentNames());
}
BENCHMARK(BM_UnorderedMapFind);

}  // namespace

BENCHMARK_MAIN();
