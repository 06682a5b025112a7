// The player driven frame by frame: the stages of a frame in their order on a
// clock the test moves by hand, drawing thinned by the frame divider while
// script time counts every frame, the gap rule of the real-time clock, and
// the end page running through the same frames before the status record.
#include "engine/player.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "engine/call_man.h"
#include "engine/command_names.h"
#include "engine/game_data.h"
#include "engine/interpreter_fixture.h"
#include "expr/param_types.h"
#include "objects/tova_base_list.h"
#include "platform/manual_milliseconds.h"

namespace tova {
namespace {

using testing::TManualMilliseconds;
using testing::TPageBuilder;
using testing::TTempDir;

// Records what the frames did, in order: "input" when the source is asked
// for input, "draw W@T" when a frame is shown (W the script's "waited", T the
// script time).
class TRecordingSource final : public TFrameSource, public TPresentation {
public:
    explicit TRecordingSource(const TPlayer*& player) : clock_(milliseconds_), player_(player) {}
    TFrameClock& Clock() override { return clock_; }
    void PumpInput(TInputSink&) override { Log.push_back("input"); }
    TPresentation* Presentation() override { return this; }
    void Present(const TSurface32& screen, std::span<const TRect> changed) override {
        Sizes.push_back({0, 0, screen.Width(), screen.Height()});
        Changed.emplace_back(changed.begin(), changed.end());
        const TParamCollectionItem* waited = player_->Variables().FindItem("waited");
        Log.push_back("draw " + (waited ? waited->GetStr() : std::string("-")) + "@" +
                      std::to_string(player_->Flags().TotalTime));
    }

    TManualMilliseconds milliseconds_{1000};
    std::vector<std::string> Log;
    std::vector<TRect> Sizes;                 // of each presented picture
    std::vector<std::vector<TRect>> Changed;  // the changed parts of each

private:
    TRealTimeFrameClock clock_;
    const TPlayer*& player_;
};

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest() {
        TProjectSetting setting = testing::MakeSetting("Frames", "start.tsb");
        setting.EndPage = "end.tsb";
        testing::WriteSettingsFile(data_ / "tova.tpb", setting);

        // The main script waits 60 ms, notes the time, and waits for ever.
        TPageBuilder start("start.tsb");
        start.VarNew("waited", PT_INT, "-1");
        start.VarNew("eventAt", PT_INT, "-1");
        start.Wait("60");
        start.Calc("waited = @TickCount");
        start.Wait("", "TRUE");
        Write(start);
        TPageBuilder event("event.tsb");
        event.Calc("eventAt = @TickCount");
        Write(event);
        TPageBuilder end("end.tsb");
        end.Wait("30");
        end.VarNew("endDone", PT_INT, "@TickCount");
        Write(end);
    }

    void Write(TPageBuilder& builder) {
        TTpMemoryStream content;
        builder.Page().SaveToStream(content);
        testing::WriteHostFile(data_ / builder.Page().Name, content);
    }

    std::unique_ptr<TPlayer> Open() {
        TPlayerOptions options;
        options.ExecutablePath = "/nowhere/player";
        options.Parameters = {FromHostPath(data_.Path())};
        options.DataFolder = ResolveDataFolder(options.ExecutablePath, options.Parameters);
        options.MessageBox = &messageBox_;
        options.Log = &log_;
        auto player = TPlayer::Open(options);
        current_ = player.get();
        return player;
    }

    int32_t Int(const TPlayer& player, const std::string& name) {
        const TParamCollectionItem* item = player.Variables().FindItem(name);
        return item ? item->GetInt() : -999;
    }

    TTempDir data_;
    testing::TScriptedMessageBox messageBox_;
    std::ostringstream log_;
    const TPlayer* current_ = nullptr;
};

TEST_F(PlayerTest, StagesRunInOrderAndDrawingIsThinnedWhileTimeCountsEveryFrame) {
    std::vector<std::string> drawn[2];
    int32_t waited[2] = {};
    for (int divider : {1, 4}) {
        auto player = Open();
        TRecordingSource source(current_);
        player->Flags().FrameDivider = divider;
        for (int frame = 1; frame <= 8; ++frame) {
            ASSERT_TRUE(player->RunFrame(source));
            if (frame == 2) {
                // Queued between frames: its handler runs in the next
                // frame's interpreter stage, the main script's wait going on.
                TTimerData event;
                event.Handler = "event.tsc";
                player->Screen().Events.Add(std::move(event));
            }
        }
        EXPECT_EQ(player->Flags().TotalTime, 8u * 15u);
        EXPECT_EQ(player->Flags().FrameCount, 8);
        EXPECT_EQ(Int(*player, "eventAt"), 45);
        waited[divider == 4] = Int(*player, "waited");
        // Input comes before every frame; a frame is drawn after its
        // interpreter work.
        std::vector<std::string> draws;
        for (size_t i = 0; i < source.Log.size(); ++i) {
            if (source.Log[i] == "input") continue;
            EXPECT_EQ(source.Log[i - 1], "input");
            draws.push_back(source.Log[i]);
        }
        drawn[divider == 4] = draws;
        player->BeginShutdown();
        while (player->Phase() == TPlayerPhase::EndPage)
            ASSERT_TRUE(player->RunFrame(source));
        player->Finish();
    }
    // The frame whose interpreter work ends the wait draws its result.
    EXPECT_EQ(drawn[0], (std::vector<std::string>{"draw -1@15", "draw -1@30", "draw -1@45", "draw -1@60",
                                                  "draw 75@75", "draw 75@90", "draw 75@105", "draw 75@120"}));
    EXPECT_EQ(drawn[1], (std::vector<std::string>{"draw -1@60", "draw 75@120"}));
    // The wait ends at the same script time however often the screen is drawn.
    EXPECT_EQ(waited[0], 75);
    EXPECT_EQ(waited[1], 75);
}

TEST_F(PlayerTest, APresentationIsShownTheWholePictureFirstThenOnlyWhatChanged) {
    auto player = Open();
    TRecordingSource source(current_);
    ASSERT_TRUE(player->RunFrame(source));
    ASSERT_TRUE(player->RunFrame(source));
    player->Screen().CurrentLayer().AddLayerDirtyRect({10, 20, 30, 40});
    ASSERT_TRUE(player->RunFrame(source));
    // A second presentation (a window opened later) starts with the whole picture too.
    TRecordingSource other(current_);
    ASSERT_TRUE(player->RunFrame(other));
    const TRect whole{0, 0, 801, 600};
    EXPECT_EQ(source.Sizes, (std::vector<TRect>{whole, whole, whole}));
    EXPECT_EQ(source.Changed, (std::vector<std::vector<TRect>>{{whole}, {}, {{10, 20, 30, 40}}}));
    EXPECT_EQ(other.Changed, (std::vector<std::vector<TRect>>{{whole}}));
}

TEST_F(PlayerTest, AGapOfThreeHundredMillisecondsRunsNoFrameAndAddsNoTime) {
    auto player = Open();
    TRecordingSource source(current_);
    ASSERT_TRUE(player->RunFrame(source));
    ASSERT_TRUE(player->RunFrame(source));
    EXPECT_EQ(player->Flags().TotalTime, 30u);
    // A frame that takes 400 ms (or a suspended process).
    source.milliseconds_.Advance(400);
    EXPECT_FALSE(player->RunFrame(source));
    EXPECT_EQ(player->Flags().TotalTime, 30u);
    EXPECT_EQ(player->Flags().FrameCount, 2);
    ASSERT_TRUE(player->RunFrame(source));
    EXPECT_EQ(player->Flags().FrameDelta, 15);
    EXPECT_EQ(player->Flags().TotalTime, 45u);
    // Just under the gap still counts, whole.
    source.milliseconds_.Advance(298);
    ASSERT_TRUE(player->RunFrame(source));
    EXPECT_EQ(player->Flags().FrameDelta, 299);
}

TEST_F(PlayerTest, TheFrameRateCountsDrawnFramesOverTwoSecondsOfFrameTime) {
    auto player = Open();
    TRecordingSource source(current_);
    player->Flags().FrameDivider = 2;
    for (int frame = 1; frame <= 133; ++frame)
        ASSERT_TRUE(player->RunFrame(source));
    EXPECT_EQ(player->Screen().FrameRate, 0);  // 1995 ms so far
    // A suspension in between adds no time to the measurement.
    source.milliseconds_.Advance(5000);
    EXPECT_FALSE(player->RunFrame(source));
    ASSERT_TRUE(player->RunFrame(source));
    EXPECT_EQ(player->Screen().FrameRate, 67 * 1000 / 2010);  // 134 frames, every second drawn
}

TEST_F(PlayerTest, EndPageRunsThroughTheFramesThenTheStatusRecordIsWritten) {
    auto player = Open();
    TRecordingSource source(current_);
    for (int frame = 0; frame < 3; ++frame)
        player->RunFrame(source);
    const size_t before = source.Log.size();
    EXPECT_FALSE(std::filesystem::exists(data_ / "save.dat"));
    player->BeginShutdown();
    EXPECT_EQ(player->Phase(), TPlayerPhase::EndPage);
    EXPECT_FALSE(player->StopRequested());
    int endFrames = 0;
    while (player->Phase() == TPlayerPhase::EndPage) {
        ASSERT_TRUE(player->RunFrame(source));
        ++endFrames;
    }
    // The end page waited its 30 ms over frames of its own, and was drawn.
    EXPECT_GE(endFrames, 2);
    EXPECT_GE(Int(*player, "endDone"), 45 + 30);
    EXPECT_NE(
        std::find(source.Log.begin() + static_cast<std::ptrdiff_t>(before), source.Log.end(), "draw -1@60"),
        source.Log.end());
    EXPECT_TRUE(player->StopRequested());
    EXPECT_FALSE(std::filesystem::exists(data_ / "save.dat"));
    player->Finish();
    EXPECT_TRUE(std::filesystem::exists(data_ / "save.dat"));
    // Frames after the end do nothing.
    const uint32_t total = player->Flags().TotalTime;
    player->DoFrame(15);
    EXPECT_EQ(player->Flags().TotalTime, total);
}

TEST_F(PlayerTest, AGameThatCannotStartIsAnError) {
    std::filesystem::remove(data_ / "start.tsb");
    try {
        Open();
        ADD_FAILURE() << "a game without its start page started";
    } catch (const ETovaError& e) {
        EXPECT_EQ(std::string(e.what()), "the project could not start");
    }
    EXPECT_EQ(messageBox_.Shown, (std::vector<std::string>{"警告: スタートページがありません"}));
}

TEST_F(PlayerTest, AnAbsurdScreenSizeIsRefusedAtStart) {
    for (const auto& [width, height] :
         {std::pair{0, 600}, {801, -1}, {4097, 600}, {16385, 600}, {801, 100000}}) {
        TProjectSetting setting = testing::MakeSetting("Frames", "start.tsb");
        setting.Width = width;
        setting.Height = height;
        testing::WriteSettingsFile(data_ / "tova.tpb", setting);
        try {
            Open();
            ADD_FAILURE() << width << " x " << height << " started";
        } catch (const ETovaError& e) {
            EXPECT_NE(std::string(e.what()).find("screen size " + std::to_string(width) + " x " +
                                                 std::to_string(height) + " is not usable"),
                      std::string::npos)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace tova
