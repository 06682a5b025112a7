// Drawing operations against their references, measured in the same run:
// masked sprites and frames against pixman's OVER with an a8 mask (an opaque
// x8r8g8b8 source over an x8r8g8b8 frame: the same shape, target * (1 - m) +
// source * m, on the same bytes), a cross-fade step against pixman's OVER with
// a solid mask and against memcpy of the two source frames, and copy, fill,
// brighten and stretch against memcpy of one frame. After the usual table the
// program prints each ratio of CPU times (ours / reference; below 1 is
// faster): the machines these run on are shared, and CPU time is the steadier.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>

#include "graphics/draw_ops.h"
#include "ratio_reporter.h"

namespace tova {
namespace {

constexpr int32_t ScreenWidth = 1280;
constexpr int32_t ScreenHeight = 720;
constexpr int32_t SpriteSide = 256;

struct TFrames {
    TSurface32 Screen{ScreenWidth, ScreenHeight};
    TSurface32 Old{ScreenWidth, ScreenHeight};
    TSurface32 New{ScreenWidth, ScreenHeight};
    TSurface32 Sprite{SpriteSide, SpriteSide};
    TSurface8 SpriteMask{SpriteSide, SpriteSide};
    TSurface8 ScreenMask{ScreenWidth, ScreenHeight};
    TSurface32 Half{ScreenWidth / 2, ScreenHeight / 2};

    TFrames() {
        std::mt19937 random(1);
        auto fill32 = [&](TSurface32& s) {
            for (int32_t y = 0; y < s.Height(); ++y)
                for (int32_t x = 0; x < s.Width(); ++x)
                    s.Row(y)[x] = random() & 0xFFFFFF;
        };
        // Masks as sprites have them: mostly 0 or 255, soft edges between.
        auto fill8 = [&](TSurface8& s) {
            for (int32_t y = 0; y < s.Height(); ++y)
                for (int32_t x = 0; x < s.Width(); ++x) {
                    uint32_t r = random() % 4;
                    s.Row(y)[x] = r == 0 ? 0 : r == 1 ? 255 : static_cast<uint8_t>(random());
                }
        };
        fill32(Screen);
        fill32(Old);
        fill32(New);
        fill32(Sprite);
        fill32(Half);
        fill8(SpriteMask);
        fill8(ScreenMask);
    }
};

TFrames& Frames() {
    static TFrames frames;
    return frames;
}

pixman_image_t* Wrap(TSurface32& s) {
    return pixman_image_create_bits(PIXMAN_x8r8g8b8, s.Width(), s.Height(), s.Data(),
                                    s.Stride() * static_cast<int>(sizeof(TPixel32)));
}
pixman_image_t* Wrap(TSurface8& s) {
    return pixman_image_create_bits(PIXMAN_a8, s.Width(), s.Height(), reinterpret_cast<uint32_t*>(s.Data()),
                                    s.Stride());
}

void SetBytes(benchmark::State& state, int64_t pixels) {
    state.SetBytesProcessed(state.iterations() * pixels * 4);
}

// --- 256 x 256 sprite with a mask -------------------------------------------

void BM_SpriteMasked(benchmark::State& state) {
    auto& f = Frames();
    TConstView8 mask = f.SpriteMask.View();
    for (auto _ : state) {
        DrawThroughMask(f.Screen.View(), f.Screen.Bounds(), 500, 200, f.Sprite.View(), f.Sprite.Bounds(),
                        mask);
        benchmark::ClobberMemory();
    }
    SetBytes(state, SpriteSide * SpriteSide);
}

void BM_SpriteMaskedPixman(benchmark::State& state) {
    auto& f = Frames();
    pixman_image_t* dst = Wrap(f.Screen);
    pixman_image_t* src = Wrap(f.Sprite);
    pixman_image_t* mask = Wrap(f.SpriteMask);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, 500, 200, SpriteSide,
                                 SpriteSide);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(mask);
    pixman_image_unref(src);
    pixman_image_unref(dst);
    SetBytes(state, SpriteSide * SpriteSide);
}

// --- full frame through a mask ----------------------------------------------

void BM_FrameMasked(benchmark::State& state) {
    auto& f = Frames();
    TConstView8 mask = f.ScreenMask.View();
    for (auto _ : state) {
        DrawThroughMask(f.Screen.View(), f.Screen.Bounds(), 0, 0, f.New.View(), f.New.Bounds(), mask);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_FrameMaskedPixman(benchmark::State& state) {
    auto& f = Frames();
    pixman_image_t* dst = Wrap(f.Screen);
    pixman_image_t* src = Wrap(f.New);
    pixman_image_t* mask = Wrap(f.ScreenMask);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, 0, 0, ScreenWidth, ScreenHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(mask);
    pixman_image_unref(src);
    pixman_image_unref(dst);
    SetBytes(state, ScreenWidth * ScreenHeight);
}

// --- cross-fade step ----------------------------------------------------------

// The transitions' step: screen = mix(old, new, level) from two frames.
void BM_CrossFade(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Mix(f.Screen.View(), f.Screen.Bounds(), f.Old.View(), f.New.View(), 100);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

// The same blend in place (screen = mix(screen, new, level)), the shape of
// pixman's OVER with a solid mask.
void BM_BlendInPlace(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Blend(f.Screen.View(), f.Screen.Bounds(), 0, 0, f.New.View(), f.New.Bounds(), 100);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_BlendInPlacePixman(benchmark::State& state) {
    auto& f = Frames();
    pixman_image_t* dst = Wrap(f.Screen);
    pixman_image_t* src = Wrap(f.New);
    pixman_color_t grey{0, 0, 0, static_cast<uint16_t>(100 * 257)};
    pixman_image_t* solid = pixman_image_create_solid_fill(&grey);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, solid, dst, 0, 0, 0, 0, 0, 0, ScreenWidth,
                                 ScreenHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(solid);
    pixman_image_unref(src);
    pixman_image_unref(dst);
    SetBytes(state, ScreenWidth * ScreenHeight);
}

// --- copies, fills, brightening, stretching ----------------------------------

void BM_Copy(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Copy(f.Screen.View(), f.Screen.Bounds(), 0, 0, f.New.View(), f.New.Bounds());
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_CopyFlipped(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Copy(f.Screen.View(), f.Screen.Bounds(), 0, 0, f.New.View(), f.New.Bounds(), TFlip::Horizontal);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_Fill(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Fill(f.Screen.View(), f.Screen.Bounds(), f.Screen.Bounds(), 0x336699);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_Brighten(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Blend(f.Screen.View(), f.Screen.Bounds(), 0, 0, f.New.View(), f.New.Bounds(), LevelBrighten + 64);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_Stretch(benchmark::State& state) {
    auto& f = Frames();
    for (auto _ : state) {
        Stretch(f.Screen.View(), f.Screen.Bounds(), f.Screen.Bounds(), f.Half.View(), f.Half.Bounds());
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

void BM_Memcpy(benchmark::State& state) {
    auto& f = Frames();
    size_t bytes = static_cast<size_t>(f.Screen.Stride()) * ScreenHeight * sizeof(TPixel32);
    for (auto _ : state) {
        std::memcpy(f.Screen.Data(), f.New.Data(), bytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

// memcpy of both source frames of a cross-fade (the bandwidth floor of one
// step: it reads two frames and writes as much).
void BM_MemcpyTwoFrames(benchmark::State& state) {
    auto& f = Frames();
    size_t bytes = static_cast<size_t>(f.Screen.Stride()) * ScreenHeight * sizeof(TPixel32);
    for (auto _ : state) {
        std::memcpy(f.Screen.Data(), f.Old.Data(), bytes);
        std::memcpy(f.Screen.Data(), f.New.Data(), bytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state, ScreenWidth * ScreenHeight);
}

BENCHMARK(BM_SpriteMasked);
BENCHMARK(BM_SpriteMaskedPixman);
BENCHMARK(BM_FrameMasked);
BENCHMARK(BM_FrameMaskedPixman);
BENCHMARK(BM_CrossFade);
BENCHMARK(BM_BlendInPlace);
BENCHMARK(BM_BlendInPlacePixman);
BENCHMARK(BM_MemcpyTwoFrames);
BENCHMARK(BM_Copy);
BENCHMARK(BM_CopyFlipped);
BENCHMARK(BM_Fill);
BENCHMARK(BM_Brighten);
BENCHMARK(BM_Stretch);
BENCHMARK(BM_Memcpy);

}  // namespace
}  // namespace tova

int main(int argc, char** argv) {
    return tova::RunWithRatios(argc, argv,
                               {{"BM_SpriteMasked", "BM_SpriteMaskedPixman"},
                                {"BM_FrameMasked", "BM_FrameMaskedPixman"},
                                {"BM_BlendInPlace", "BM_BlendInPlacePixman"},
                                {"BM_CrossFade", "BM_BlendInPlacePixman"},
                                {"BM_CrossFade", "BM_MemcpyTwoFrames"},
                                {"BM_Copy", "BM_Memcpy"},
                                {"BM_CopyFlipped", "BM_Memcpy"},
                                {"BM_Fill", "BM_Memcpy"},
                                {"BM_Brighten", "BM_Memcpy"},
                                {"BM_Stretch", "BM_Memcpy"}});
}
