// The project description project.ini: defaults, every setting, the
// variables of each type and the mistakes, each reported with file and line.
#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/error.h"
#include "sdk/build_description.h"

namespace tova::sdk {
namespace {

TProjectDescription Parse(const std::string& text) {
    return ParseProjectDescription(text, "src/project.ini");
}

TEST(BuildDescription, MinimalDescriptionTakesTheDefaults) {
    const TProjectDescription d = Parse("[project]\ntitle = Demo\nstart_page = start.tss\n");
    EXPECT_EQ(d.Setting.Title, "Demo");
    EXPECT_EQ(d.StartPage.Name, "start.tss");
    EXPECT_EQ(d.StartPage.Line, 3);
    EXPECT_FALSE(d.EndPage);
    EXPECT_EQ(d.Setting.Width, 640);
    EXPECT_EQ(d.Setting.Height, 480);
    EXPECT_EQ(d.Setting.WriteStatus, 1);
    EXPECT_EQ(d.Setting.IdleSleep, 1);
    EXPECT_EQ(d.Setting.PauseWhenInactive, 0);
    EXPECT_EQ(d.Setting.MediaExtensions, ".wav.wma.ogg.mid");
    EXPECT_EQ(d.Setting.Messages[0], Utf8ToCp932("ディスク%dを入れてから[OK]をクリックしてください"));
    EXPECT_EQ(d.Setting.Messages[1], Utf8ToCp932("終了します"));
    EXPECT_TRUE(d.Setting.ProjectVariables.empty());
    EXPECT_TRUE(d.Setting.FolderDisks.Items.empty());
}

TEST(BuildDescription, EverySettingVariablesAndDiscs) {
    const TProjectDescription d = Parse(
        "\xEF\xBB\xBF; a comment\r\n"
        "[Project]\r\n"
        "Title = \"  ゲーム; #1 \\\"x\\\" \"\r\n"
        "start_page = scene\\intro.tss\r\n"
        "end_page = end.tsb\r\n"
        "width = 800\nheight = +600\nscreen_param_a = -3\nscreen_param_b = 7\n"
        "registry_key = Tova\\Game\nimage_key = 12345\n"
        "write_status = No\nidle_sleep = off\npause_when_inactive = TRUE\n"
        "media_extensions = .wav.ogg\n"
        "disc_message = ディスク%d\nquit_message =\n"
        "[variables]\n"
        "score = int -2147483648\n"
        "rate = float 2.5e1\n"
        "cleared = bool true\n"
        "名前 = str \"a \\\\ b\"\n"
        "plain = str  two words \n"
        "zero = int\n"
        "[discs]\n"
        "movie/ = 2\n"
        "voice\\ch2 = 3\n");
    const TProjectSetting& s = d.Setting;
    EXPECT_EQ(s.Title, Utf8ToCp932("  ゲーム; #1 \"x\" "));
    EXPECT_EQ(d.StartPage.Name, "scene\\intro.tss");
    ASSERT_TRUE(d.EndPage);
    EXPECT_EQ(d.EndPage->Name, "end.tsb");
    EXPECT_EQ(d.EndPage->Line, 5);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 600);
    EXPECT_EQ(s.ScreenParamA, -3);
    EXPECT_EQ(s.ScreenParamB, 7);
    EXPECT_EQ(s.RegistryKey, "Tova\\Game");
    EXPECT_EQ(s.ImageKey, 12345);
    EXPECT_EQ(s.WriteStatus, 0);
    EXPECT_EQ(s.IdleSleep, 0);
    EXPECT_EQ(s.PauseWhenInactive, 1);
    EXPECT_EQ(s.MediaExtensions, ".wav.ogg");
    EXPECT_EQ(s.Messages[0], Utf8ToCp932("ディスク%d"));
    EXPECT_EQ(s.Messages[1], "");

    const std::vector<TParamData> expected{{1, "score", int32_t{INT32_MIN}},
                                           {2, "rate", 25.0L},
                                           {3, "cleared", true},
                                           {4, Utf8ToCp932("名前"), std::string("a \\ b")},
                                           {4, "plain", std::string("two words")},
                                           {1, "zero", int32_t{0}}};
    EXPECT_EQ(s.ProjectVariables, expected);
    const std::vector<TFolderDisk> discs{{"movie", 2}, {"voice\\ch2", 3}};
    EXPECT_EQ(s.FolderDisks.Items, discs);
}

TEST(BuildDescription, MistakesNameFileAndLine) {
    const std::string head = "[project]\ntitle = T\nstart_page = s.tss\n";  // lines 1-3
    const struct {
        std::string text;
        int line;
        std::string says;
    } cases[] = {
        {head + "titel = T\n", 4, "unknown key \"titel\""},
        {head + "[sound]\n", 4, "unknown section [sound]"},
        {head + "title = U\n", 4, "given twice (first at line 2)"},
        {head + "width = 0\n", 4, "between 1 and 4096"},
        {head + "height = 12px\n", 4, "whole number"},
        {head + "image_key = 2147483648\n", 4, "between"},
        {head + "write_status = maybe\n", 4, "yes or no"},
        {head + "registry_key = \"open\n", 4, "not closed"},
        {head + "registry_key = \"a\" b\n", 4, "after the closing quote"},
        {head + "media_extensions = wav.ogg\n", 4, "with their dots"},
        {head + "registry_key = 😀\n", 4, "code page 932"},
        {head + "just words\n", 4, "key = value"},
        {head + "[variables]\nscore = integer 1\n", 5, "unknown type \"integer\""},
        {head + "[variables]\nscore = int 1.5\n", 5, "whole number"},
        {head + "[variables]\nrate = float nan\n", 5, "decimal number"},
        {head + "[variables]\nok = bool perhaps\n", 5, "yes or no"},
        {head + "[variables]\nScore = int 1\nscore = str x\n", 6, "defined twice"},
        {head + "[variables]\n1st = int 1\n", 5, "starts with a digit"},
        {head + "[variables]\n@Temp = int 1\n", 5, "system variables"},
        {head + "[variables]\nmy var = int 1\n", 5, "contains a space"},
        {head + "[discs]\n../up = 2\n", 5, "not a folder below"},
        {head + "[discs]\nmovie = 0\n", 5, "between 1 and"},
        {"title = T\n[project]\n", 1, "before any [section]"},
        {"[project\n", 1, "must end with ']'"},
        {"\n[variables]\n", 1, "no [project] section"},
        {"[project]\nstart_page = s.tss\n", 1, "no title"},
        {"[project]\ntitle =\nstart_page = s.tss\n", 2, "title is empty"},
        {"\n[project]\ntitle = T\n", 2, "no start_page"},
        {"[project]\ntitle = T\nstart_page =\n", 3, "no start_page"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ETovaError& e) {
            const std::string message = e.what();
            EXPECT_TRUE(message.starts_with("src/project.ini:" + std::to_string(c.line) + ": ")) << message;
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace tova::sdk
