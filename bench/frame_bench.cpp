// One frame of the player through TPlayer::DoFrame on a virtual clock at
// 1280 x 720: a full redraw of a background picture, three 256 x 256
// pictures with masks and a box; and a frame in which nothing changed. The
// reference is the memcpy of one 1280 x 720 x 4 frame in the same run; after
// the usual table the program prints both ratios.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_game.h"
#include "engine/command_component.h"
#include "engine/command_flow.h"
#include "graphics/image_codecs.h"
#include "memcpy_reference.h"
#include "objects/property_ids.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "ratio_reporter.h"

namespace {

using namespace tova;

constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 720;
constexpr int32_t kSprite = 256;

// A picture with a gradient; with alpha, a disc inside a transparent square.
void WritePicture(const TBenchGame& game, const std::string& name, int32_t width, int32_t height, bool disc) {
    TSurface32 colour(width, height);
    TSurface8 alpha(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            colour.Row(y)[x] = static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40);
            const int32_t dx = x - width / 2;
            const int32_t dy = y - height / 2;
            alpha.Row(y)[x] = dx * dx + dy * dy < width * width / 4 ? 255 : 0;
        }
    const TConstView8 alphaView = alpha.View();
    const std::vector<uint8_t> png = EncodePng(colour.View(), disc ? &alphaView : nullptr);
    game.Write(name, png.data(), png.size());
}

// Commands of one code share the page's property mask: every command of a
// code must give the same properties.
template <class T>
T& AddCreation(TPage& page, TCommandCode code, const std::vector<std::pair<int, std::string>>& properties) {
    for (const auto& [id, text] : properties)
        MaskSet(page.PropertyMasks[static_cast<size_t>(code)], id);
    std::unique_ptr<TCommand> command = CreateCommand(page, static_cast<uint8_t>(code));
    command->Chained = 1;
    T& typed = static_cast<T&>(*command);
    for (const auto& [id, text] : properties)
        CompileExpression(text, *typed.Property(id));
    page.Commands.push_back(std::move(command));
    return typed;
}

// The game: the background, three sprites, a box, then a wait for ever.
class TFrameGame {
public:
    TFrameGame() {
        WritePicture(game_, "bg.png", kWidth, kHeight, false);
        WritePicture(game_, "sprite.png", kSprite, kSprite, true);

        TPage page;
        page.Name = "start.tsb";
        AddCreation<TComImgNew>(page, TCommandCode::ImgNew,
                                {{PR_NAME, "\"bg\""},
                                 {PR_SOURCE, "\"bg.png\""},
                                 {PR_LEFT, "0"},
                                 {PR_TOP, "0"},
                                 {PR_PRIORITY, "0"}});
        for (int i = 0; i < 3; ++i)
            AddCreation<TComImgNew>(page, TCommandCode::ImgNew,
                                    {{PR_NAME, "\"sprite" + std::to_string(i) + "\""},
                                     {PR_SOURCE, "\"sprite.png\""},
                                     {PR_LEFT, std::to_string(100 + i * 300)},
                                     {PR_TOP, std::to_string(100 + i * 100)},
                                     {PR_PRIORITY, "1"}});
        AddCreation<TComBoxNew>(page, TCommandCode::BoxNew,
                                {{PR_NAME, "\"box\""},
                                 {PR_LEFT, "900"},
                                 {PR_TOP, "500"},
                                 {PR_WIDTH, "200"},
                                 {PR_HEIGHT, "120"},
                                 {PR_COLOR, "$FF8040"},
                                 {PR_ALPHA, "160"},
                                 {PR_PRIORITY, "2"}});
        page.Commands.push_back(CreateCommand(page, static_cast<uint8_t>(TCommandCode::Wait)));
        game_.Write(page);
        player_ = game_.Open();
        for (int i = 0; i < 3; ++i)
            player_->DoFrame(15);
        if (player_->Screen().ObjectCount() != 5) std::abort();
    }
    TPlayer& Player() { return *player_; }

private:
    TBenchGame game_{kWidth, kHeight};
    std::unique_ptr<TPlayer> player_;
};

TFrameGame& Game() {
    static TFrameGame game;
    return game;
}

void BM_FullRedraw(benchmark::State& state) {
    TPlayer& player = Game().Player();
    for (auto _ : state) {
        player.Screen().CurrentLayer().InvalidateAll();
        player.DoFrame(15);
        benchmark::DoNotOptimize(player.Screen().Surface().Data());
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_NothingChanged(benchmark::State& state) {
    TPlayer& player = Game().Player();
    player.DoFrame(15);
    for (auto _ : state) {
        player.DoFrame(15);
        benchmark::DoNotOptimize(player.Screen().PaintedRects().size());
    }
}
BENCHMARK(BM_NothingChanged)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) {
    MemcpyReference(state, static_cast<size_t>(kWidth) * kHeight * 4);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWithRatios(argc, argv,
                         {{"BM_FullRedraw", "BM_MemcpyFrame"}, {"BM_NothingChanged", "BM_MemcpyFrame"}});
}
