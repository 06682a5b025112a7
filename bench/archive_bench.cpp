// Archive reading costs: a 4 KiB and a 1 MiB compressed entry read with
// LoadToStream against bare zlib and bare libdeflate inflates of the same
// bytes, and opening an archive of
// 10,000 entries and looking up every name.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

#include "platform/file_system.h"
#include "ratio_reporter.h"
#include "vfs/file_manager.h"
#include "vfs/zlib_codec.h"

namespace tova {
namespace {

// Text-like data: words from a small vocabulary, so it deflates about as
// script text does.
std::vector<uint8_t> TextLikeData(size_t size) {
    static const char* words[] = {"the ",     "player ",  "opens ", "a ",     "window ",
                                  "\x82\xa0", "\x82\xa2", "and ",   "shows ", "message ",
                                  "text ",    "slowly ",  "\r\n",   "frame ", "page "};
    std::mt19937 generator(42);
    std::vector<uint8_t> data;
    while (data.size() < size) {
        const char* word = words[generator() % std::size(words)];
        data.insert(data.end(), word, word + std::char_traits<char>::length(word));
    }
    data.resize(size);
    return data;
}

std::string BenchDir() {
    static const std::string dir = [] {
        const std::string path = std::filesystem::temp_directory_path() / "tova-bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

const std::vector<uint8_t>& Plain(size_t size) {
    static std::map<size_t, std::vector<uint8_t>> plain;
    auto& bytes = plain[size];
    if (bytes.empty()) bytes = TextLikeData(size);
    return bytes;
}

// An archive holding one deflated entry of the given plain size.
const std::string& OneEntryArchive(size_t size) {
    static std::map<size_t, std::string> paths;
    std::string& path = paths[size];
    if (path.empty()) {
        TVrFileCollection collection;
        TVrFile* entry = collection.AddMemoryFile("script\\big.txt");
        entry->Data->WriteBuffer(Plain(size));
        TTpBigMemoryStream out;
        collection.SaveToStream(out);
        path = FromHostPath(BenchDir() + "/one" + std::to_string(size) + ".dat");
        out.SaveToFile(path);
    }
    return path;
}

// The references: each library inflating the same bytes into a buffer of
// the known plain size (the archive does not record it, so the reader
// cannot do quite that).
void BM_BareZlib(benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> packed = DeflateBytes(Plain(size));
    std::vector<uint8_t> out(size);
    for (auto _ : state) {
        uLongf outSize = static_cast<uLongf>(out.size());
        if (uncompress(out.data(), &outSize, packed.data(), static_cast<uLong>(packed.size())) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_BareZlib)->Arg(4096)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

void BM_BareLibdeflate(benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> packed = DeflateBytes(Plain(size));
    std::vector<uint8_t> out(size);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (libdeflate_zlib_decompress(decompressor, packed.data(), packed.size(), out.data(), out.size(),
                                       nullptr) != LIBDEFLATE_SUCCESS)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(decompressor);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_BareLibdeflate)->Arg(4096)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

// The whole read of one entry through the file manager: lookup, one read
// of the stored bytes, inflate into a fresh memory stream.
void BM_LoadToStream(benchmark::State& state) {
    const auto size = static_cast<size_t>(state.range(0));
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    TVrFileManager manager(options);
    manager.AddArchive("");
    manager.AddArchive(OneEntryArchive(size));
    TTpMemoryStream out;
    for (auto _ : state) {
        manager.LoadToStream(out, "script\\big.txt");
        benchmark::DoNotOptimize(out.Memory());
    }
    if (out.Bytes() != Plain(size)) state.SkipWithError("wrong content");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_LoadToStream)->Arg(4096)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

constexpr int kManyEntries = 10000;

std::vector<std::string> ManyNames() {
    std::vector<std::string> names;
    char name[64];
    for (int i = 0; i < kManyEntries; ++i) {
        // Names as games have them: same folders, same lengths, numbered files.
        std::snprintf(name, sizeof name, "image\\chara%02d\\face%05d.png", i % 20, i);
        names.push_back(name);
    }
    return names;
}

const std::string& ManyEntryArchive() {
    static const std::string path = [] {
        TVrFileCollection collection;
        for (const std::string& name : ManyNames())
            collection.AddMemoryFile(name)->Data->WriteBuffer("x", 1);
        TTpBigMemoryStream out;
        collection.SaveToStream(out);
        const std::string file = FromHostPath(BenchDir() + "/many.dat");
        out.SaveToFile(file);
        return file;
    }();
    return path;
}

void BM_OpenAndLookUpEveryName(benchmark::State& state) {
    const std::vector<std::string> names = ManyNames();
    const std::string& archive = ManyEntryArchive();
    for (auto _ : state) {
        TVrFileCollection collection;
        collection.Open(archive);
        for (const std::string& name : names)
            benchmark::DoNotOptimize(collection.IndexOf(name));
    }
    state.counters["per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kManyEntries,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OpenAndLookUpEveryName)->Unit(benchmark::kMillisecond);

void BM_LookUpEveryName(benchmark::State& state) {
    const std::vector<std::string> names = ManyNames();
    TVrFileCollection collection;
    collection.Open(ManyEntryArchive());
    for (auto _ : state)
        for (const std::string& name : names)
            benchmark::DoNotOptimize(collection.IndexOf(name));
    state.counters["per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kManyEntries,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LookUpEveryName)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tova

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tova::TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [size, target] : {std::pair{"4096", 1.15}, std::pair{"1048576", 1.1}}) {
        const auto bare = reporter.Time(std::string("BM_BareLibdeflate/") + size);
        const auto load = reporter.Time(std::string("BM_LoadToStream/") + size);
        if (bare && load)
            std::printf("LoadToStream / bare libdeflate, %s bytes: %.3f (target at most %.2f)\n", size,
                        *load / *bare, target);
    }
    benchmark::Shutdown();
    std::filesystem::remove_all(tova::BenchDir());
    return 0;
}
