// Painting a screen of components against memcpy of one frame, measured in
// the same run: a whole redraw of 1280 x 720 with a background image, three
// 256 x 256 images with masks and a half-transparent framed box, and a paint
// with nothing dirty. After the usual table the program prints each ratio
// of CPU times (ours / reference).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "expr/custom_param.h"
#include "expr/param_factory.h"
#include "expr/param_types.h"
#include "graphics/brio_collection.h"
#include "graphics/brio_image.h"
#include "objects/property_access.h"
#include "objects/property_ids.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"

namespace tova {
namespace {

constexpr int32_t ScreenWidth = 1280;
constexpr int32_t ScreenHeight = 720;

class TMemoryImages : public TImageFileSource {
public:
    std::map<std::string, std::vector<uint8_t>> Files;
    bool Exists(std::string_view name) override { return Files.count(std::string(name)) != 0; }
    void Load(TStream& stream, std::string_view name) override {
        static_cast<TTpMemoryStream&>(stream).Assign(Files.at(std::string(name)));
    }
};

std::vector<uint8_t> Picture(int32_t width, int32_t height, bool masked, uint32_t seed) {
    std::mt19937 random(seed);
    TBrioFrameList list;
    TBrioFrame& frame = list.AddFrame();
    TBrioLayer& layer = frame.AddLayer();
    layer.Picture.Resize(32, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            layer.Picture.Colour.Row(y)[x] = random() & 0xFFFFFF;
    if (masked) {
        // A disc with a soft edge, as sprites have.
        layer.HasAlpha = layer.AlphaOn = true;
        layer.Alpha.Resize(width, height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const int32_t dx = x - width / 2, dy = y - height / 2, r = width / 2;
                const int32_t d = dx * dx + dy * dy - r * r;
                layer.Alpha.Row(y)[x] = d > 0 ? 0 : d > -400 ? static_cast<uint8_t>(-d * 255 / 400) : 255;
            }
    }
    TTpMemoryStream stream;
    TBrioWriteOptions options;
    options.Compression = TBrioCompression::None;
    list.SaveToStream(stream, options);
    return stream.Bytes();
}

void Set(TTovaObject& object, int id, int32_t value) {
    auto p = CreateParam(PT_INT);
    p->SetInt(value);
    SetProperty(object, id, *p);
}
void Set(TTovaObject& object, int id, const std::string& value) {
    auto p = CreateParam(PT_STR);
    p->SetStr(value);
    SetProperty(object, id, *p);
}

struct TScene {
    TMemoryImages Files;
    TBrioCollection Cache{Files};
    std::unique_ptr<TTovaBaseList> Screen = std::make_unique<TTovaBaseList>();

    TScene() {
        Files.Files["bg.brz"] = Picture(ScreenWidth, ScreenHeight, false, 1);
        Files.Files["sprite.brz"] = Picture(256, 256, true, 2);
        Screen->SetImageCache(&Cache);
        Screen->SetSize(ScreenWidth, ScreenHeight);
        TTovaObject& bg = *Screen->CreateComponent(LT_IMAGES);
        Set(bg, PR_SOURCE, std::string("bg.brz"));
        for (int i = 0; i < 3; ++i) {
            TTovaObject& sprite = *Screen->CreateComponent(LT_IMAGES);
            Set(sprite, PR_SOURCE, std::string("sprite.brz"));
            Set(sprite, PR_LEFT, 100 + 350 * i);
            Set(sprite, PR_TOP, 200 + 60 * i);
            Set(sprite, PR_PRIORITY, 1);
        }
        TTovaObject& box = *Screen->CreateComponent(LT_BOX);
        Set(box, PR_LEFT, 40);
        Set(box, PR_TOP, 500);
        Set(box, PR_WIDTH, 1200);
        Set(box, PR_HEIGHT, 200);
        Set(box, PR_COLOR, 0x402010);
        Set(box, PR_BORDERWIDTH, 4);
        Set(box, PR_BORDERCOLOR, 0xFFFFFF);
        Set(box, PR_ALPHA, 128);
        Set(box, PR_PRIORITY, 2);
        Screen->Paint();
        Screen->ClearDirty();
    }
};

void BM_FullRedraw(benchmark::State& state) {
    TScene scene;
    for (auto _ : state) {
        scene.Screen->CurrentLayer().Invalidate();
        scene.Screen->Paint();
        scene.Screen->ClearDirty();
        benchmark::DoNotOptimize(scene.Screen->Surface().Data());
    }
}

void BM_NothingChanged(benchmark::State& state) {
    TScene scene;
    for (auto _ : state) {
        scene.Screen->Paint();
        benchmark::DoNotOptimize(scene.Screen->PaintedRects().size());
    }
}

void BM_Memcpy(benchmark::State& state) {
    TSurface32 from(ScreenWidth, ScreenHeight), to(ScreenWidth, ScreenHeight);
    const size_t bytes = static_cast<size_t>(from.Stride()) * ScreenHeight * sizeof(TPixel32);
    for (auto _ : state) {
        std::memcpy(to.Data(), from.Data(), bytes);
        benchmark::DoNotOptimize(to.Data());
    }
}

BENCHMARK(BM_FullRedraw);
BENCHMARK(BM_NothingChanged);
BENCHMARK(BM_Memcpy);

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\nRatios (ours / reference):\n");
        for (const char* name : {"BM_FullRedraw", "BM_NothingChanged"}) {
            auto a = times_.find(name), b = times_.find("BM_Memcpy");
            if (a == times_.end() || b == times_.end() || b->second <= 0) continue;
            std::printf("  %-18s / BM_Memcpy %10.5fx\n", name, a->second / b->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace
}  // namespace tova

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    tova::TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
