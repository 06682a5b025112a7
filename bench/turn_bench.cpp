// Turned pictures: a 4096 x 4096 frame drawn by a picture component on a
// 1024 x 768 screen it covers, mirrored or plain, turned a step further at
// every frame, turned at the same angle again (the turned picture reused),
// and brightened a step further at every frame unturned; against one
// memcpy of the screen and a plain copy of the visible rectangle, measured
// in the same run. The target is at most 8 ms a frame for a turn.
#include <benchmark/benchmark.h>

#include "graphics/brio_collection.h"
#include "memcpy_reference.h"
#include "objects/components/image_paint.h"
#include "ratio_reporter.h"

namespace tova {
namespace {

constexpr int32_t kSide = 4096;
constexpr int32_t kScreenWidth = 1024;
constexpr int32_t kScreenHeight = 768;

struct TScene {
    TBrioItemFrame Frame;
    TSurface32 Screen{kScreenWidth, kScreenHeight};
    // The picture's rectangle: its centre on the screen's, so it covers the screen at any angle.
    TRect Bounds = TRect::FromSize(kScreenWidth / 2 - kSide / 2, kScreenHeight / 2 - kSide / 2, kSide, kSide);

    TScene() {
        Frame.Colour.Resize(kSide, kSide);
        for (int32_t y = 0; y < kSide; ++y)
            for (int32_t x = 0; x < kSide; ++x)
                Frame.Colour.Row(y)[x] = static_cast<TPixel32>(x * 977 + y * 131) & 0x00FFFFFFu;
        Frame.FullWidth = Frame.FullHeight = kSide;
    }
};

TScene& Scene() {
    static TScene scene;
    return scene;
}

void Turn(benchmark::State& state, TFlip flip, int32_t angleStep) {
    TScene& scene = Scene();
    TShownFrame shown;
    ShowFrame(shown, &scene.Frame, 255);
    int32_t angle = 1;
    for (auto _ : state) {
        PaintImageFrame(scene.Screen.View(), scene.Screen.Bounds(), scene.Bounds, shown,
                        {LevelCopy, flip, angle});
        angle = angle % 255 + angleStep;
        benchmark::DoNotOptimize(scene.Screen.Data());
    }
}

void BM_TurnMirrored(benchmark::State& state) {
    Turn(state, TFlip::Horizontal, 1);
}
BENCHMARK(BM_TurnMirrored)->Unit(benchmark::kMillisecond);

void BM_TurnPlain(benchmark::State& state) {
    Turn(state, TFlip::None, 1);
}
BENCHMARK(BM_TurnPlain)->Unit(benchmark::kMillisecond);

void BM_TurnedAgain(benchmark::State& state) {
    Turn(state, TFlip::Horizontal, 0);
}
BENCHMARK(BM_TurnedAgain)->Unit(benchmark::kMillisecond);

void BM_BrightenMirrored(benchmark::State& state) {
    TScene& scene = Scene();
    TShownFrame shown;
    int32_t brightness = 256;
    for (auto _ : state) {
        ShowFrame(shown, &scene.Frame, brightness);
        PaintImageFrame(scene.Screen.View(), scene.Screen.Bounds(), scene.Bounds, shown,
                        {LevelCopy, TFlip::Horizontal, 0});
        brightness = brightness % 500 + 1;
        benchmark::DoNotOptimize(scene.Screen.Data());
    }
}
BENCHMARK(BM_BrightenMirrored)->Unit(benchmark::kMillisecond);

void BM_MemcpyScreen(benchmark::State& state) {
    MemcpyReference(state, size_t{kScreenWidth} * kScreenHeight * 4);
}
BENCHMARK(BM_MemcpyScreen)->Unit(benchmark::kMillisecond);

void BM_CopyVisible(benchmark::State& state) {
    TScene& scene = Scene();
    for (auto _ : state) {
        Copy(scene.Screen.View(), scene.Screen.Bounds(), scene.Bounds.Left, scene.Bounds.Top,
             scene.Frame.Colour.View(), scene.Frame.Colour.Bounds());
        benchmark::DoNotOptimize(scene.Screen.Data());
    }
}
BENCHMARK(BM_CopyVisible)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tova

int main(int argc, char** argv) {
    return tova::RunWithRatios(argc, argv,
                               {{"BM_TurnMirrored", "BM_MemcpyScreen"},
                                {"BM_TurnPlain", "BM_MemcpyScreen"},
                                {"BM_TurnedAgain", "BM_MemcpyScreen"},
                                {"BM_BrightenMirrored", "BM_CopyVisible"}});
}
