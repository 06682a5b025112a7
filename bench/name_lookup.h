// The name-lookup benchmarks' common part: the names, looking them up one
// after the other, and the reference they are measured against, a plain
// std::unordered_map lookup of the same names in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace tova {

// count names: stem, a number counting up from first, then tail.
inline std::vector<std::string> NumberedNames(int count, const std::string& stem, int first,
                                              const std::string& tail) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(stem + std::to_string(first + i) + tail);
    return names;
}

// Calls find with each name in turn, one per iteration, round and round.
template <class Find>
void FindEachInTurn(benchmark::State& state, const std::vector<std::string>& names, Find find) {
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(find(names[next]));
        next = next + 1 == names.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

// The reference: the same names, in the same order, in a std::unordered_map.
inline void UnorderedMapFind(benchmark::State& state, const std::vector<std::string>& names) {
    std::unordered_map<std::string, size_t> map;
    for (size_t i = 0; i < names.size(); ++i)
        map.emplace(names[i], i);
    FindEachInTurn(state, names, [&](const std::string& name) { return map.find(name); });
}

}  // namespace tova
