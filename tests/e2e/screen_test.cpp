// Whole games that put components on the screen: their screenshots compared
// with pictures the test paints itself (positions, priorities, borders,
// alpha levels, clip rectangles, pictures from files, moving and reparenting
// a control), the screen dump, and games driven by scripted input whose
// handlers leave their marks in variables.
#include <gtest/gtest.h>

#include "core/json_value.h"
#include "game_runner.h"
#include "screen_picture.h"

namespace tova::testing {
namespace {

constexpr uint32_t kBack = 0x000040;  // script colour $400000
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kRed = 0xFF0000;     // script colour $0000FF
constexpr uint32_t kYellow = 0xFFFF00;  // script colour $00FFFF
constexpr uint32_t kGrey = 0x808080;

// A 16 x 8 picture with a different colour in every pixel.
TPicture Pattern() {
    TPicture picture(16, 8, 0);
    for (int32_t y = 0; y < picture.Height; ++y)
        for (int32_t x = 0; x < picture.Width; ++x)
            picture.At(x, y) = static_cast<uint32_t>((x * 16) << 16 | (y * 32) << 8 | 200);
    return picture;
}

const TJsonValue* Component(const TJsonValue& dump, const std::string& name) {
    for (const TJsonValue& component : dump.Member("components")->Items)
        if (component.Member("name")->String == name) return &component;
    return nullptr;
}

class ScreenGame : public ::testing::Test {
protected:
    std::string Out(const std::string& name) const { return outputs_ / name; }
    TJsonValue ReadDump(const std::string& name) const { return ParseJson(ReadHostFile(Out(name))); }

    TTempDir outputs_;
};

TEST_F(ScreenGame, BoxesAndPicturesByPriorityAlphaAndClipThenMovedAndReparented) {
    TGame game("start.tss", "width = 160\nheight = 120\n");
    game.Write("pic.png", PngBytes(Pattern()));
    game.Write("start.tss", R"(BoxNew
    PR_NAME = "back"
    PR_WIDTH = 160
    PR_HEIGHT = 120
    PR_COLOR = $400000
# made later but drawn below "under": the lower priority goes first
BoxNew
    PR_NAME = "over"
    PR_LEFT = 30
    PR_TOP = 20
    PR_WIDTH = 40
    PR_HEIGHT = 30
    PR_COLOR = $0000FF
    PR_PRIORITY = 1
BoxNew
    PR_NAME = "under"
    PR_LEFT = 10
    PR_TOP = 10
    PR_WIDTH = 40
    PR_HEIGHT = 30
    PR_COLOR = $00FF00
    PR_PRIORITY = 2
BoxNew
    PR_NAME = "framed"
    PR_LEFT = 80
    PR_TOP = 10
    PR_WIDTH = 20
    PR_HEIGHT = 20
    PR_COLOR = 0
    PR_BORDERWIDTH = 3
    PR_BORDERCOLOR = $FFFFFF
    PR_PRIORITY = 3
BoxNew
    PR_NAME = "glass"
    PR_LEFT = 110
    PR_TOP = 10
    PR_WIDTH = 20
    PR_HEIGHT = 20
    PR_COLOR = $FFFFFF
    PR_ALPHA = 128
    PR_PRIORITY = 2
ImgNew
    PR_NAME = "pic"
    PR_SOURCE = "pic.png"
    PR_LEFT = 10
    PR_TOP = 60
    PR_PRIORITY = 3
ImgNew
    PR_NAME = "faded"
    PR_SOURCE = "pic.png"
    PR_LEFT = 40
    PR_TOP = 60
    PR_ALPHA = 64
    PR_PRIORITY = 3
# the holder draws only its top-left 20 x 20, and so does its child
BoxNew
    PR_NAME = "holder"
    PR_LEFT = 80
    PR_TOP = 60
    PR_WIDTH = 30
    PR_HEIGHT = 30
    PR_COLOR = $808080
    PR_PRIORITY = 3
    PR_CLIPWIDTH = 20
    PR_CLIPHEIGHT = 20
BoxNew
    PR_NAME = "kid"
    PR_PARENT = "holder"
    PR_LEFT = 10
    PR_TOP = 10
    PR_WIDTH = 30
    PR_HEIGHT = 5
    PR_COLOR = $00FFFF
Wait 100
SetProp
    Object = "holder"
    PropertyId = 3
    Value = 120
Wait 100
SetProp
    Object = "kid"
    PropertyId = 1
    Value = "framed"
Wait
)");
    const TPlayerRun run = game.BuildAndRun("--frames 30 --screenshot-at 3:" + Out("first.png") +
                                            " --screenshot-at 12:" + Out("moved.png") + " --screenshot " +
                                            Out("last.png") + " --dump-screen " + Out("screen.json"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;

    TPicture expected(160, 120, kBack);
    expected.Fill(30, 20, 70, 50, kRed);
    expected.Fill(10, 10, 50, 40, kGreen);
    expected.Fill(80, 10, 100, 30, 0xFFFFFF);
    expected.Fill(83, 13, 97, 27, 0);
    expected.Blend(110, 10, 130, 30, 0xFFFFFF, 128);
    expected.Draw(Pattern(), 10, 60);
    expected.Draw(Pattern(), 40, 60, 64);
    const TPicture base = expected;
    expected.Fill(80, 60, 100, 80, kGrey);
    expected.Fill(90, 70, 100, 75, kYellow);
    EXPECT_EQ(ComparePictures(ReadPicture(Out("first.png")), expected), "");

    // The holder moved; its child and its clip went with it.
    TPicture moved = base;
    moved.Fill(120, 60, 140, 80, kGrey);
    moved.Fill(130, 70, 140, 75, kYellow);
    EXPECT_EQ(ComparePictures(ReadPicture(Out("moved.png")), moved), "");

    // The child now stands inside the frame, unclipped, above it and above the glass.
    TPicture last = moved;
    last.Fill(130, 70, 140, 75, kGrey);
    last.Fill(90, 20, 120, 25, kYellow);
    EXPECT_EQ(ComparePictures(ReadPicture(Out("last.png")), last), "");

    const TJsonValue dump = ReadDump("screen.json");
    EXPECT_EQ(dump.Member("width")->Number, 160);
    EXPECT_EQ(dump.Member("current")->Number, 0);
    ASSERT_EQ(dump.Member("components")->Items.size(), 9u);
    const TJsonValue* kid = Component(dump, "kid");
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(kid->Member("type")->String, "LT_BOX");
    EXPECT_EQ(kid->Member("parent")->String, "framed");
    EXPECT_EQ(kid->Member("layer")->Number, 0);
    EXPECT_EQ(kid->Member("left")->Number, 90);
    EXPECT_EQ(kid->Member("top")->Number, 20);
    EXPECT_EQ(kid->Member("width")->Number, 30);
    EXPECT_EQ(kid->Member("height")->Number, 5);
    EXPECT_EQ(kid->Member("properties")->Member("PR_COLOR")->Number, 0x00FFFF);
    const TJsonValue* pic = Component(dump, "pic");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->Member("type")->String, "LT_IMAGES");
    EXPECT_EQ(pic->Member("width")->Number, 16);
    EXPECT_EQ(pic->Member("properties")->Member("PR_SOURCE")->String, "pic.png");
}

TEST_F(ScreenGame, EmptyExpressionsTakeTheTableDefaultsAndMissingComponentsAreSkipped) {
    TGame game("start.tss", "width = 64\nheight = 48\n");
    game.Write("start.tss", R"(VarNew after int 0
BoxNew
    PR_NAME = "plain"
    PR_WIDTH = 8
    PR_HEIGHT = 8
    PR_VISIBLE = {}
    PR_ALPHA = {}
    PR_COLOR = {}
MesNew
    PR_NAME = "window"
Calc after = 1
GetProp after
    Object = "plain"
    PropertyId = 11
Wait
)");
    const TPlayerRun run = game.BuildAndRun("--frames 3 --trace --dump-screen " + Out("screen.json"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Err.find("tovaplayer: MesNew: the component is not available yet"), std::string::npos);
    EXPECT_EQ(run.Value("after"), "255");
    const TJsonValue dump = ReadDump("screen.json");
    ASSERT_EQ(dump.Member("components")->Items.size(), 1u);
    const TJsonValue& plain = dump.Member("components")->Items[0];
    EXPECT_TRUE(plain.Member("visible")->Bool);
    EXPECT_EQ(plain.Member("properties")->Member("PR_COLOR")->Number, -1);

    // A screenshot of a frame the run never reached is an error, not a missing file.
    const TPlayerRun early = game.Run("--frames 3 --screenshot-at 5:" + Out("never.png"));
    EXPECT_EQ(early.ExitCode, 1);
    EXPECT_NE(early.Err.find("no screenshot of frame 5"), std::string::npos) << early.Err;
}

TEST_F(ScreenGame, AbsurdValuesNeitherCrashNorHang) {
    TGame game("start.tss", "width = 64\nheight = 48\n");
    game.Write("start.tss", R"(# its own parent: it goes on the current layer
BoxNew
    PR_NAME = "self"
    PR_PARENT = "self"
    PR_LEFT = -2000000000
    PR_TOP = 2000000000
    PR_WIDTH = 2000000000
    PR_HEIGHT = -5
    PR_COLOR = $FF
BoxNew
    PR_NAME = "outer"
    PR_WIDTH = 64
    PR_HEIGHT = 48
    PR_ONLBTNDOWN = "nowhere.tsb"
BoxNew
    PR_NAME = "inner"
    PR_PARENT = "outer"
    PR_WIDTH = 10
    PR_HEIGHT = 10
# a cycle is refused: outer stays on the layer
SetProp
    Object = "outer"
    PropertyId = 1
    Value = "inner"
ImgNew
    PR_NAME = "outer"
    PR_SOURCE = "missing.png"
    PR_ZOOMX = 0
    PR_ZOOMY = -256
    PR_LEFT = 5
Wait
)");
    const std::string input = Out("input.txt");
    outputs_.WriteFile("input.txt", "2 move 30 30\n2 down left\n3 up left\n");
    const TPlayerRun run = game.BuildAndRun("--frames 6 --input " + input + " --screenshot " +
                                            Out("last.png") + " --dump-screen " + Out("screen.json"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadPicture(Out("last.png")).Width, 64);
    const TJsonValue dump = ReadDump("screen.json");
    const TJsonValue* self = Component(dump, "self");
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->Member("parent")->String, "\001BASE0");
    // The image took the name; the older holder was renamed, its child kept.
    const TJsonValue* inner = Component(dump, "inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_NE(inner->Member("parent")->String, "inner");
    EXPECT_EQ(Component(dump, "outer")->Member("type")->String, "LT_IMAGES");
}

// Each new box names the one before as its parent: beyond the depth limit
// the parent is refused, the box stays on the layer and starts a new chain,
// and standard error hears of it once, not at every refusal.
TEST_F(ScreenGame, ComponentsNestNoDeeperThanTheLimitAndTheRefusalIsSaidOnce) {
    TGame game("start.tss", "width = 64\nheight = 48\n");
    game.Write("start.tss", R"(VarNew n int 0
BoxNew
    PR_NAME = "b0"
    PR_WIDTH = 10
    PR_HEIGHT = 10
While n < 600
    Calc n = n + 1
    BoxNew
        PR_NAME = "b" ++ IntToStr(n)
        PR_PARENT = "b" ++ IntToStr(n - 1)
        PR_WIDTH = 10
        PR_HEIGHT = 10
Wait
)");
    const TPlayerRun run = game.BuildAndRun("--frames 3 --dump-screen " + Out("screen.json"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const TJsonValue dump = ReadDump("screen.json");
    ASSERT_NE(Component(dump, "b600"), nullptr);
    EXPECT_EQ(Component(dump, "b255")->Member("parent")->String, "b254");  // 256 deep
    EXPECT_EQ(Component(dump, "b256")->Member("parent")->String, "\001BASE0");
    EXPECT_EQ(Component(dump, "b257")->Member("parent")->String, "b256");
    EXPECT_EQ(Component(dump, "b512")->Member("parent")->String, "\001BASE0");  // refused again
    const std::string said = "PR_PARENT of b256 to b255: components nest at most 256 deep";
    const size_t first = run.Err.find(said);
    EXPECT_NE(first, std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("components nest at most", first + said.size()), std::string::npos) << run.Err;
}

TEST_F(ScreenGame, ScriptedClicksAndKeysReachTheirHandlers) {
    TGame game("start.tss", "width = 200\nheight = 100\n");
    game.Write("start.tss", R"(VarNew a int 0
VarNew b int 0
VarNew keys str ""
BoxNew
    PR_NAME = "a"
    PR_WIDTH = 50
    PR_HEIGHT = 50
    PR_COLOR = $FF
    PR_ONLBTNDOWN = "a.tsb"
# above "a", but left presses pass through it
BoxNew
    PR_NAME = "b"
    PR_WIDTH = 50
    PR_HEIGHT = 50
    PR_COLOR = $FF00
    PR_PRIORITY = 1
    PR_IGNOREMOUSE = 3
    PR_ONLBTNDOWN = "b.tsb"
    PR_ONRBTNDOWN = "b.tsb"
BoxNew
    PR_NAME = "c"
    PR_LEFT = 100
    PR_WIDTH = 50
    PR_HEIGHT = 50
    PR_HANDLEKEY = TRUE
    PR_ONKEYDOWN = "key.tsb"
Wait
)");
    game.Write("a.tss", "Calc a = a + 1\n");
    game.Write("b.tss", "Calc b = b + 1\n");
    game.Write("key.tss", "Calc keys = keys ++ @ParamStr[0] ++ \",\"\n");
    const std::string input = Out("input.txt");
    outputs_.WriteFile("input.txt", R"(# a left press on "b" reaches "a" below it
2 move 10 10
2 down left
3 up left
# a press on "c" gives it the focus, and the keys go to it
5 move 120 10
5 down left
6 up left
8 key down VK_RETURN
9 key up VK_RETURN
10 key down A
11 key up A
# a right press stops at "b"
13 move 20 20
13 down right
14 up right
)");
    const TPlayerRun run =
        game.BuildAndRun("--frames 20 --input " + input + " --dump-screen " + Out("screen.json"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Value("a"), "1");
    EXPECT_EQ(run.Value("b"), "1");
    EXPECT_EQ(run.Value("keys"), "13,65,");
    EXPECT_EQ(ReadDump("screen.json").Member("focus")->String, "c");
}

}  // namespace
}  // namespace tova::testing
