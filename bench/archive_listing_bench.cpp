// The memory an opened archive directory takes per entry, against the
// bytes of the entries' names (the least any listing must hold), and the time
// to open it. The archive (version 102, empty entries, names as games have
// them) is written directly, so that making it costs no collection of its own.
// TOVA_LISTING_ENTRIES sets the number of entries (default 1,000,000).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <new>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/binary_io.h"
#include "platform/file_system.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"
#include "vfs/name_scramble.h"

namespace {

// Every allocation through operator new, counted by what malloc really gave
// (rounding included): what is in use now and the most since the last reset.
size_t gHeapInUse = 0;
size_t gHeapPeak = 0;

void* CountedAllocation(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    gHeapInUse += malloc_usable_size(p);
    gHeapPeak = std::max(gHeapPeak, gHeapInUse);
    return p;
}

void CountedFree(void* p) noexcept {
    if (!p) return;
    gHeapInUse -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(size_t size) {
    return CountedAllocation(size);
}
void* operator new[](size_t size) {
    return CountedAllocation(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    CountedFree(p);
}

namespace tova {
namespace {

int64_t EntryCount() {
    const char* text = std::getenv("TOVA_LISTING_ENTRIES");
    return text ? std::max(1ll, std::atoll(text)) : 1000000;
}

struct TListingArchive {
    std::string path;
    int64_t count = 0;
    int64_t nameBytes = 0;
};

const TListingArchive& Archive() {
    static const TListingArchive archive = [] {
        TListingArchive made;
        made.count = EntryCount();
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(made.count));
        char name[64];
        for (int64_t i = 0; i < made.count; ++i) {
            std::snprintf(name, sizeof name, "image\\chara%02d\\face%07lld.png", static_cast<int>(i % 20),
                          static_cast<long long>(i));
            names.emplace_back(name);
            made.nameBytes += static_cast<int64_t>(names.back().size());
        }
        ScrambleNames(names);
        TTpBigMemoryStream out;
        out.WriteBuffer("vf", 2);
        WriteI32(out, 102);
        WriteI32(out, static_cast<int32_t>(made.count));
        for (const std::string& n : names)
            WriteString(out, n);
        // Every entry is empty: all offsets point at the end of the tables.
        const int64_t end = out.GetPosition() + (made.count + 1) * 8 + made.count * 11;
        std::vector<int64_t> offsets(static_cast<size_t>(made.count) + 1, end);
        ScrambleOffsets64(offsets);
        for (int64_t offset : offsets)
            WriteI64(out, offset);
        const std::vector<uint8_t> zeros(static_cast<size_t>(made.count) * 11, 0);
        out.WriteBuffer(zeros.data(), static_cast<int64_t>(zeros.size()));
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tova-listing-bench";
        std::filesystem::create_directories(dir);
        made.path = FromHostPath((dir / "listing.dat").string());
        out.SaveToFile(made.path);
        return made;
    }();
    return archive;
}

void BM_OpenLargeDirectory(benchmark::State& state) {
    const TListingArchive& archive = Archive();
    double perEntry = 0;
    double peakPerEntry = 0;
    for (auto _ : state) {
        const size_t before = gHeapInUse;
        gHeapPeak = before;
        TVrFileCollection collection;
        collection.Open(archive.path);
        state.PauseTiming();
        const auto count = static_cast<double>(archive.count);
        perEntry = static_cast<double>(gHeapInUse - before) / count;
        peakPerEntry = static_cast<double>(gHeapPeak - before) / count;
        if (collection.Count() != archive.count + 1) state.SkipWithError("wrong entry count");
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(archive.count);
    state.counters["heap_bytes_per_entry"] = perEntry;
    state.counters["peak_bytes_per_entry"] = peakPerEntry;
    state.counters["name_bytes_per_entry"] =
        static_cast<double>(archive.nameBytes) / static_cast<double>(archive.count);
}
BENCHMARK(BM_OpenLargeDirectory)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tova

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "tova-listing-bench");
    return 0;
}
