// The reference the drawing and frame benchmarks measure against: one
// memcpy of a picture's bytes between two buffers of their own.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace tova {

inline void MemcpyReference(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> from(bytes, 1);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace tova
