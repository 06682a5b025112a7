// Image decoding costs: a 1280 x 720 32-bit zlib layered image against a
// bare libdeflate inflate of its colour block (and zlib's inflate of the
// same block, the library the format was first written with), and a
// 1280 x 720 PNG through the player's loader against libpng's own decode.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include <random>

#include "graphics/brio_image.h"
#include "graphics/brio_planes.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 720;

// A picture like a game's background: smooth gradients with a little noise.
const TSurface32& Scene() {
    static const TSurface32 scene = [] {
        TSurface32 s(kWidth, kHeight);
        std::mt19937 generator(7);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                const uint32_t noise = generator() % 6;
                const uint32_t r = (x * 255 / kWidth + noise) & 0xFF, g = (y * 255 / kHeight) & 0xFF,
                               b = ((x + y) / 8 + noise) & 0xFF;
                s.Row(y)[x] = r << 16 | g << 8 | b;
            }
        return s;
    }();
    return scene;
}

const std::vector<uint8_t>& BrioFile() {
    static const std::vector<uint8_t> file = [] {
        TBrioFrameList list;
        TBrioFrame& frame = list.AddFrame();
        frame.Bpp = 32;
        TBrioLayer& layer = frame.AddLayer();
        layer.Picture.Bpp = 32;
        layer.Picture.Colour = Scene();
        TTpMemoryStream s;
        list.SaveToStream(s);
        return s.Bytes();
    }();
    return file;
}

// The colour block as the file holds it.
const std::vector<uint8_t>& ColourBlock() {
    static const std::vector<uint8_t> block =
        DeflateFast(EncodeBrioPlain({32, nullptr, &Scene()}, std::nullopt));
    return block;
}

void BM_BrioDecode(benchmark::State& state) {
    BrioFile();
    for (auto _ : state) {
        TBrioFrameList list;
        TTpMemoryStream stream(BrioFile());
        list.LoadFromStream(stream);
        list.FinishLoad(false);
        benchmark::DoNotOptimize(list.Frames[0]->Picture.Colour.Data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_BrioDecode)->Unit(benchmark::kMillisecond);

void BM_LibdeflateInflate(benchmark::State& state) {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    std::vector<uint8_t> out(size_t{kWidth} * kHeight * 4);
    ColourBlock();
    for (auto _ : state) {
        libdeflate_zlib_decompress(d, ColourBlock().data(), ColourBlock().size(), out.data(), out.size(),
                                   nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_LibdeflateInflate)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state) {
    std::vector<uint8_t> out(size_t{kWidth} * kHeight * 4);
    for (auto _ : state) {
        uLongf size = out.size();
        uncompress(out.data(), &size, ColourBlock().data(), ColourBlock().size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

const std::vector<uint8_t>& PngFile() {
    static const std::vector<uint8_t> png = EncodePng(Scene().View(), nullptr);
    return png;
}

void BM_PngLoad(benchmark::State& state) {
    PngFile();
    for (auto _ : state) {
        TBrioFrameList list;
        TTpMemoryStream stream(PngFile());
        list.LoadFromFileData("scene.png", stream);
        list.FinishLoad(false);
        benchmark::DoNotOptimize(list.Frames[0]->Picture.Colour.Data());
    }
}
BENCHMARK(BM_PngLoad)->Unit(benchmark::kMillisecond);

// libpng's own decode of the same file into a plain BGRA buffer.
void BM_LibpngDecode(benchmark::State& state) {
    std::vector<uint8_t> out(size_t{kWidth} * kHeight * 4);
    PngFile();
    for (auto _ : state) {
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&png, PngFile().data(), PngFile().size());
        png.format = PNG_FORMAT_BGRA;
        png_image_finish_read(&png, nullptr, out.data(), 0, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_LibpngDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tova

BENCHMARK_MAIN();
