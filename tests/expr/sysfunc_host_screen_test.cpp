#include <filesystem>

#include "expr_test_util.h"
#include "platform/file_system.h"
#include "sysfunc_host_fake_test.h"

namespace tova::test {
namespace {

class SysFuncScreenTest : public TSysFuncFixture {};

TEST_F(SysFuncScreenTest, SaveCaptions) {
    host_.Captions = {{2, "first"}, {7, "second"}};
    EXPECT_EQ(Call(27, PT_STR, {Int(7)}).GetStr(), "second");
    EXPECT_EQ(Call(27, PT_STR, {Int(3)}).GetStr(), "");

    EXPECT_EQ(Call(134, PT_INT).GetInt(), 2);
    EXPECT_EQ(Call(134, PT_INT, {Ref("caps"), Ref("slots", PT_INT)}).GetInt(), 2);
    EXPECT_EQ(Var("caps").GetStrAt(1), "second");
    EXPECT_EQ(Var("slots").GetIntAt(0), 2);
    EXPECT_EQ(Var("slots").GetIntAt(1), 7);

    host_.Captions.clear();
    EXPECT_EQ(Call(134, PT_INT, {Ref("caps"), Ref("slots")}).GetInt(), 0);
    EXPECT_EQ(Var("caps").GetCount(), 1);
    EXPECT_EQ(Var("caps").GetStr(), "");
    EXPECT_EQ(Var("slots").GetCount(), 1);
}

TEST_F(SysFuncScreenTest, GetDisplayModeFillsTheFourVariables) {
    host_.Modes = {{640, 480, 16, 60}, {800, 600, 32, 75}};
    auto call = [&](int32_t index) {
        return Call(65, PT_BOOL,
                    {Int(index), Ref("w", PT_INT), Ref("h", PT_INT), Ref("d", PT_INT), Ref("r", PT_INT)})
            .GetBool();
    };
    EXPECT_TRUE(call(1));
    EXPECT_EQ(Var("w").GetInt(), 800);
    EXPECT_EQ(Var("h").GetInt(), 600);
    EXPECT_EQ(Var("d").GetInt(), 32);
    EXPECT_EQ(Var("r").GetInt(), 75);
    EXPECT_FALSE(call(2));
    EXPECT_FALSE(call(-1));
    EXPECT_EQ(Var("w").GetInt(), 800);
}

TEST_F(SysFuncScreenTest, HistoryFunctionsByFormatName) {
    host_.Histories["log"] = {4, 100};
    EXPECT_EQ(Call(142, PT_INT, {Str("log")}).GetInt(), 4);
    EXPECT_EQ(Call(143, PT_INT, {Str("log")}).GetInt(), 100);
    EXPECT_TRUE(Call(144, PT_BOOL, {Str("log"), Int(20)}).GetBool());
    EXPECT_EQ(Call(143, PT_INT, {Str("log")}).GetInt(), 20);
    EXPECT_EQ(Call(142, PT_INT, {Str("none")}).GetInt(), -1);
    EXPECT_EQ(Call(143, PT_INT, {Str("none")}).GetInt(), -1);
    EXPECT_FALSE(Call(144, PT_BOOL, {Str("none"), Int(1)}).GetBool());
}

TEST_F(SysFuncScreenTest, DefaultHostAnswersNone) {
    man_.Environment().Host = nullptr;
    EXPECT_EQ(Call(142, PT_INT, {Str("log")}).GetInt(), -1);
    EXPECT_FALSE(Call(19, PT_BOOL, {Str("x")}).GetBool());
    EXPECT_FALSE(Call(148, PT_BOOL, {Ref("f")}).GetBool());
    EXPECT_FALSE(Call(137, PT_BOOL, {Str("a.brz")}).GetBool());
    EXPECT_EQ(Call(33, PT_INT, {Str("x"), Int(12)}).GetInt(), 12);
}

TEST_F(SysFuncScreenTest, SaveScreenChecksExtensionAndSize) {
    EXPECT_FALSE(Call(137, PT_BOOL, {Str("shot.bmp")}).GetBool());
    EXPECT_FALSE(host_.LastCapture);

    EXPECT_TRUE(Call(137, PT_BOOL, {Str("save:Shot.BRZ")}).GetBool());
    ASSERT_TRUE(host_.LastCapture);
    EXPECT_EQ(host_.LastCapture->Name, "save:Shot.BRZ");
    EXPECT_EQ(host_.LastCapture->Width, 640);
    EXPECT_EQ(host_.LastCapture->Height, 480);
    EXPECT_FALSE(host_.LastCapture->Back);

    EXPECT_TRUE(Call(137, PT_BOOL, {Str("a.brz"), Int(160), Int(0), Bool(true), Int(2)}).GetBool());
    EXPECT_EQ(host_.LastCapture->Width, 160);
    EXPECT_EQ(host_.LastCapture->Height, 480);
    EXPECT_TRUE(host_.LastCapture->Back);
    EXPECT_EQ(host_.LastCapture->Mode, 2);

    host_.LastCapture.reset();
    EXPECT_FALSE(Call(137, PT_BOOL, {Str("a.brz"), Int(-5), Int(10)}).GetBool());
    host_.ScrH = 0;
    EXPECT_FALSE(Call(137, PT_BOOL, {Str("a.brz")}).GetBool());
    EXPECT_FALSE(host_.LastCapture);
}

TEST_F(SysFuncScreenTest, WallPaperResultComesFromTheHost) {
    EXPECT_TRUE(Call(125, PT_BOOL, {Str("wall.brz"), Int(2)}).GetBool());
    EXPECT_FALSE(Call(125, PT_BOOL, {Str("wall.brz"), Int(0)}).GetBool());
}

TEST_F(SysFuncScreenTest, OpenUrlOpensUrlsAndExistingFoldersOnly) {
    const std::string dir = std::filesystem::temp_directory_path().string();
    EXPECT_FALSE(Call(135, PT_BOOL, {Str("http://example.invalid/")}).GetBool());
    Call(135, PT_BOOL, {Str("ftp://host/")});
    Call(135, PT_BOOL, {Str(FromHostPath(dir))});
    Call(135, PT_BOOL, {Str("mailto:x@y")});
    Call(135, PT_BOOL, {Str("/no/such/folder/anywhere")});
    Call(135, PT_BOOL, {Str("")});
    ASSERT_EQ(host_.Opened.size(), 3u);
    EXPECT_EQ(host_.Opened[0], "http://example.invalid/");
    EXPECT_EQ(host_.Opened[2], FromHostPath(dir));
}

TEST_F(SysFuncScreenTest, DialogsWriteTheChoiceOnOk) {
    EXPECT_FALSE(Call(148, PT_BOOL, {Ref("f"), Str("*.txt")}).GetBool());
    EXPECT_EQ(Var("f").GetStr(), "");
    host_.DialogAnswer = "c:\\a.txt";
    EXPECT_TRUE(Call(148, PT_BOOL, {Ref("f"), Str("*.txt")}).GetBool());
    EXPECT_EQ(Var("f").GetStr(), "c:\\a.txt");
    host_.DialogAnswer = "b.sav";
    EXPECT_TRUE(Call(149, PT_BOOL, {Ref("f")}).GetBool());
    EXPECT_EQ(Var("f").GetStr(), "b.sav");

    host_.DialogAnswer = "/home/user/out";
    EXPECT_TRUE(Call(150, PT_BOOL, {Ref("d")}).GetBool());
    EXPECT_EQ(Var("d").GetStr(), "/home/user/out\\");
    host_.DialogAnswer = "/home/user/out/";
    Call(150, PT_BOOL, {Ref("d")});
    EXPECT_EQ(Var("d").GetStr(), "/home/user/out/");
}

}  // namespace
}  // namespace tova::test
