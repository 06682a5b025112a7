// The window's frame loop driven by a window and a clock of the test's own:
// the real-time rules (a pause that does not count, a frame too slow to
// count), what the window's input becomes while it is active or not, the
// close question, the recording a headless run replays, and the picture
// shown only when something changed (or the window was spoilt), with the
// screenshot key writing what was shown.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/game_data.h"
#include "engine/interpreter_fixture.h"
#include "engine/player.h"
#include "expr/param_types.h"
#include "graphics/image_codecs.h"
#include "platform/input_script.h"
#include "platform/manual_milliseconds.h"
#include "platform/virtual_keys.h"
#include "shell/sdl_game_window.h"
#include "shell/screenshot_file.h"
#include "support/temp_dir.h"
#include "shell/window_frame_source.h"

namespace tova {
namespace {

using testing::TManualMilliseconds;
using testing::TPageBuilder;
using testing::TTempDir;

// A window whose events the test lines up, one list per poll; a poll may
// also stand for time passing (a slow frame), and waiting for an event
// (a paused game) for time away.
class TScriptedWindow final : public TGameWindow {
public:
    explicit TScriptedWindow(TManualMilliseconds& clock) : clock_(clock) {}

    struct TPoll {
        std::vector<TInputEvent> Events;
        uint32_t TakesMs = 0;
    };
    std::deque<TPoll> Polls;
    uint32_t WaitMs = 0;  // what one wait for an event lasts
    int Waits = 0;
    bool Spoilt = false;
    std::vector<std::vector<TRect>> Shown;
    bool Full = false;
    bool Quit = false;

    void PollEvents(std::vector<TInputEvent>& events) override {
        if (Polls.empty()) return;
        events.insert(events.end(), Polls.front().Events.begin(), Polls.front().Events.end());
        clock_.Advance(Polls.front().TakesMs);
        Polls.pop_front();
    }
    bool WaitForEvent(int32_t) override {
        ++Waits;
        clock_.Advance(WaitMs);
        return !Polls.empty();
    }
    void Present(const TSurface32&, std::span<const TRect> changed) override {
        Shown.emplace_back(changed.begin(), changed.end());
        Spoilt = false;
    }
    bool NeedsRepaint() const override { return Spoilt; }
    bool QuitRequested() const override { return Quit; }
    bool IsFullScreen() const override { return Full; }
    void SetFullScreen(bool on) override { Full = on; }

private:
    TManualMilliseconds& clock_;
};

TInputEvent Key(TInputKind kind, uint8_t key) {
    return TInputEvent::OfKey(kind, key);
}
TInputEvent Mouse(TInputKind kind, int32_t x, int32_t y) {
    TInputEvent event = TInputEvent::Of(kind);
    event.X = x;
    event.Y = y;
    return event;
}

class WindowLoop : public ::testing::Test {
protected:
    WindowLoop() : window_(milliseconds_) {}

    // The main script notes the time after 60 ms and waits for ever; the end
    // page notes that it ran.
    std::unique_ptr<TPlayer> Open(bool pauseWhenInactive) {
        TProjectSetting setting = testing::MakeSetting("Frames", "start.tsb");
        setting.EndPage = "end.tsb";
        setting.PauseWhenInactive = pauseWhenInactive ? 1 : 0;
        testing::WriteSettingsFile(data_ / "tova.tpb", setting);
        TPageBuilder start("start.tsb");
        start.VarNew("waited", PT_INT, "-1");
        start.Wait("60");
        start.Calc("waited = @TickCount");
        start.Wait("", "TRUE");
        Write(start);
        TPageBuilder end("end.tsb");
        end.VarNew("endDone", PT_INT, "@TickCount");
        Write(end);

        TPlayerOptions options;
        options.ExecutablePath = "/nowhere/player";
        options.Parameters = {FromHostPath(data_.Path())};
        options.DataFolder = ResolveDataFolder(options.ExecutablePath, options.Parameters);
        options.MessageBox = &messageBox_;
        return TPlayer::Open(options);
    }
    void Write(TPageBuilder& builder) {
        TTpMemoryStream content;
        builder.Page().SaveToStream(content);
        testing::WriteHostFile(data_ / builder.Page().Name, content);
    }
    TWindowSourceOptions Options(bool pause) {
        TWindowSourceOptions options;
        options.Title = "Frames";
        options.PauseWhenInactive = pause;
        options.MessageBox = &messageBox_;
        options.Log = &log_;
        options.ScreenshotFolder = pictures_ / "tovaplayer";
        return options;
    }
    // The recording's lines without its heading comment.
    std::vector<std::string> Recorded() const {
        std::ifstream in(data_ / "input.rec");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            if (!line.starts_with("#")) lines.push_back(line);
        return lines;
    }
    static int32_t Int(const TPlayer& player, const std::string& name) {
        const TParamCollectionItem* item = player.Variables().FindItem(name);
        return item ? item->GetInt() : -999;
    }

    TTempDir data_, pictures_;
    TManualMilliseconds milliseconds_{5000};
    TScriptedWindow window_;
    testing::TScriptedMessageBox messageBox_;
    std::ostringstream log_;
};

TEST_F(WindowLoop, AMinuteAwayWhilePausedDoesNotCountAndPressesWaitForTheFocus) {
    auto player = Open(true);
    TInputRecorder recorder(data_ / "input.rec");
    TWindowSourceOptions options = Options(true);
    options.Recorder = &recorder;
    TWindowFrameSource source(window_, milliseconds_, options);
    window_.WaitMs = 60000;
    window_.Polls = {{},
                     {{Key(TInputKind::KeyDown, 'A'), TInputEvent::Of(TInputKind::FocusLost)}},
                     // While away: a press is not taken, its release is.
                     {{Key(TInputKind::KeyDown, 'B'), Key(TInputKind::KeyUp, 'A')}},
                     {{TInputEvent::Of(TInputKind::FocusGained)}},
                     {{Key(TInputKind::KeyDown, 'C')}}};
    RunWindowFrames(*player, source, 4);
    // Frames 1 and 2, two waits of a minute (the first brings the key
    // events, the second the focus), then frames 3 and 4 at their usual
    // pace, and the end page's frame.
    EXPECT_EQ(window_.Waits, 2);
    EXPECT_EQ(source.Frames(), 5);
    EXPECT_EQ(player->Flags().FrameDelta, 15);
    EXPECT_EQ(player->Flags().TotalTime, 5u * 15u);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1 tick 15", "2 tick 15", "2 key down A", "3 key up A",
                                                    "3 tick 15", "3 key down C", "4 tick 15", "5 tick 15"}));
    player->Finish();
}

TEST_F(WindowLoop, WithoutPauseFramesGoOnButPressesAreIgnoredWhileInactive) {
    auto player = Open(false);
    TInputRecorder recorder(data_ / "input.rec");
    TWindowSourceOptions options = Options(false);
    options.Recorder = &recorder;
    TWindowFrameSource source(window_, milliseconds_, options);
    TInputEvent down = Mouse(TInputKind::MouseDown, 5, 6);
    down.Button = TMouseButton::Right;
    window_.Polls = {{{TInputEvent::Of(TInputKind::FocusLost)}},
                     {{Key(TInputKind::KeyDown, 'A'), down, Mouse(TInputKind::MouseMove, 7, 8)}},
                     {{TInputEvent::Of(TInputKind::FocusGained), down, Mouse(TInputKind::MouseUp, 9, 9)}}};
    RunWindowFrames(*player, source, 3);
    EXPECT_EQ(window_.Waits, 0);
    EXPECT_EQ(player->Flags().TotalTime, 60u);  // three frames and the end page's
    // A press or release away from the pointer's recorded place moves it there first.
    EXPECT_EQ(Recorded(),
              (std::vector<std::string>{"1 tick 15", "2 tick 15", "2 move 7 8", "3 tick 15", "3 move 5 6",
                                        "3 down right", "3 move 9 9", "3 up left", "4 tick 15"}));
    player->Finish();
}

TEST_F(WindowLoop, ASlowFrameRunsNoFrameForItsTickAndItsInputWaitsForTheNext) {
    auto player = Open(false);
    TInputRecorder recorder(data_ / "input.rec");
    TWindowSourceOptions options = Options(false);
    options.Recorder = &recorder;
    TWindowFrameSource source(window_, milliseconds_, options);
    // Frame 2 takes 400 ms; the tick after it runs no frame, and what
    // arrived then goes to frame 3.
    window_.Polls = {{}, {{}, 400}, {{Key(TInputKind::KeyDown, VK_SPACE)}}, {}};
    RunWindowFrames(*player, source, 3);
    EXPECT_EQ(player->Flags().TotalTime, 60u);  // three frames and the end page's
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"1 tick 15", "2 tick 15", "3 key down VK_SPACE",
                                                    "3 tick 15", "4 tick 15"}));
    // The recording reads back as the input of a replay, frame for frame.
    std::ifstream in(data_ / "input.rec");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const TInputScript script = ParseInputScript(text, "input.rec");
    ASSERT_EQ(script.Events.size(), 1u);
    EXPECT_EQ(script.Events[0].Frame, 3);
    EXPECT_EQ(script.FrameTicks, (std::map<int64_t, int32_t>{{1, 15}, {2, 15}, {3, 15}, {4, 15}}));
    player->Finish();
}

TEST_F(WindowLoop, TheCloseButtonAsksAndYesRunsTheEndPage) {
    auto player = Open(false);
    TInputRecorder recorder(data_ / "input.rec");
    TWindowSourceOptions options = Options(false);
    options.Recorder = &recorder;
    options.Japanese = true;
    TWindowFrameSource source(window_, milliseconds_, options);
    messageBox_.Answers = {TMessageResult::No, TMessageResult::Yes};
    window_.Polls = {{{TInputEvent::Of(TInputKind::Close)}}, {}, {{TInputEvent::Of(TInputKind::Close)}}};
    RunWindowFrames(*player, source);
    EXPECT_TRUE(source.CloseConfirmed());
    // The title heads the box; the question never holds it.
    EXPECT_EQ(messageBox_.Shown,
              (std::vector<std::string>{"Frames: 終了しますか？", "Frames: 終了しますか？"}));
    // The frame of the confirmed close still runs; the end page follows.
    EXPECT_EQ(source.Frames(), 4);
    EXPECT_EQ(Int(*player, "endDone"), 60);
    EXPECT_EQ(player->Phase(), TPlayerPhase::Ended);
    const std::vector<std::string> recorded = Recorded();
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), "3 close"), 1);

    TWindowFrameSource english(window_, milliseconds_, Options(false));
    messageBox_.Shown.clear();
    messageBox_.Answers = {TMessageResult::No};
    window_.Polls = {{{TInputEvent::Of(TInputKind::Close)}}};
    english.PumpInput(player->Input());
    EXPECT_EQ(messageBox_.Shown, (std::vector<std::string>{"Frames: Do you want to exit the game?"}));
    EXPECT_FALSE(english.CloseConfirmed());
    player->Finish();
}

TEST_F(WindowLoop, OnlyChangesAreShownAndTheScreenshotKeyWritesWhatWasShown) {
    auto player = Open(false);
    TWindowFrameSource source(window_, milliseconds_, Options(false));
    // Before anything was shown there is nothing to write.
    window_.Polls = {{{Key(TInputKind::KeyDown, VK_F1 + 11)}}};
    source.PumpInput(player->Input());
    EXPECT_NE(log_.str().find("no picture has been shown yet"), std::string::npos) << log_.str();

    TSurface32 screen(8, 6);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x)
            screen.Row(y)[x] = static_cast<uint32_t>(x * 0x200000 + y * 0x2000 + 0x40);
    const TRect part{1, 1, 3, 2};
    source.Present(screen, {});  // the first time: the whole picture
    source.Present(screen, {});  // nothing changed, nothing spoilt: nothing to do
    source.Present(screen, {&part, 1});
    window_.Spoilt = true;  // e.g. the window was resized
    source.Present(screen, {});
    ASSERT_EQ(window_.Shown.size(), 3u);
    EXPECT_EQ(window_.Shown[0], (std::vector<TRect>{screen.Bounds()}));
    EXPECT_EQ(window_.Shown[1], (std::vector<TRect>{part}));
    EXPECT_TRUE(window_.Shown[2].empty());

    // F12 twice: two files, the picture exactly, and the key is not the game's.
    window_.Polls = {{{Key(TInputKind::KeyDown, VK_F1 + 11), Key(TInputKind::KeyUp, VK_F1 + 11),
                       Key(TInputKind::KeyDown, VK_F1 + 11)}}};
    source.PumpInput(player->Input());
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(pictures_ / "tovaplayer"))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 2u) << log_.str();
    for (const auto& file : files) {
        EXPECT_TRUE(file.filename().string().starts_with("Frames-")) << file;
        EXPECT_NE(log_.str().find(file.string()), std::string::npos) << log_.str();
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const TDecodedImage decoded = DecodePng(png);
        ASSERT_EQ(decoded.Colour.Width(), 8);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ASSERT_EQ(decoded.Colour.Row(y)[x], screen.Row(y)[x]) << x << "," << y;
    }
    player->Finish();
}

// A screenshot never writes through a link or over a file standing at its
// name: it takes the next name.
TEST(Screenshot, TakesTheNextNameOverALinkOrAFile) {
    testing::TTempDir dir;
    const TLocalDateTime when{2026, 12, 11, 6, 9, 30, 5};
    std::filesystem::create_symlink(dir / "elsewhere.png", dir / "Game-20261211-093005.png");
    dir.WriteFile("Game-20261211-093005-2.png", "kept");
    TSurface32 picture(4, 3);
    const std::string path = WriteScreenshot(picture, dir.Path(), "Game", when);
    EXPECT_EQ(path, dir / "Game-20261211-093005-3.png");
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere.png"));
    std::ifstream kept(dir / "Game-20261211-093005-2.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

TEST_F(WindowLoop, TheGameSwitchesFullScreenEvenBeforeTheWindowExists) {
    TWindowShellRole role;
    EXPECT_FALSE(role.FullScreen());
    role.SetFullScreen(true);  // the start page asked before the window was made
    EXPECT_TRUE(role.FullScreen());
    role.Attach(&window_);
    EXPECT_TRUE(window_.Full);
    window_.Full = false;  // the user pressed F11
    EXPECT_FALSE(role.FullScreen());
    role.SetFullScreen(true);
    EXPECT_TRUE(window_.Full);
    role.Attach(nullptr);
    EXPECT_FALSE(role.FullScreen());
}

}  // namespace
}  // namespace tova
