// tova build end to end: the data folder it writes (loose or packed) is what
// the player loads, a rebuild replaces the earlier build, and a failed build
// leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/game_data.h"
#include "engine/page.h"
#include "tova_runner.h"

namespace tova {
namespace {

namespace fs = std::filesystem;
using testing::Quote;
using testing::Tova;
using testing::TTempDir;
using TResult = testing::TToolResult;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PageBytes() {
    TPage page;
    TTpMemoryStream content;
    page.SaveToStream(content);
    return std::string(content.Bytes().begin(), content.Bytes().end());
}

int32_t PageCommandCount(const std::string& bytes) {
    TTpMemoryStream content(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TPage page;
    page.LoadFromStream(content);
    return page.Count();
}

template <class T>
T Load(const std::string& bytes) {
    TTpMemoryStream content(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    T loaded;
    loaded.LoadFromStream(content);
    return loaded;
}

// The files below a folder, relative, '/' between folders.
std::set<std::string> FilesBelow(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).generic_string());
    return files;
}

class TStartRecorder : public TPageRunner {
public:
    explicit TStartRecorder(std::string& started) : started_(started) {}
    void Start(const std::string& page) override { started_ = page; }
    void Run() override {}
    bool IsFinished() const override { return true; }

private:
    std::string& started_;
};

class BuildCli : public ::testing::Test {
protected:
    BuildCli() {
        src_.WriteFile("project.ini",
                       "[project]\n"
                       "title = ビルド テスト\n"
                       "start_page = scene/start.tsb\n"
                       "width = 800\n"
                       "[variables]\n"
                       "score = int 7\nrate = float 0.5\nseen = bool yes\nname = str \"山田\"\n");
        src_.WriteFile("scene/start.tsb", PageBytes());
        src_.WriteFile("bgm/テーマ.wav", "RIFF");
        src_.WriteFile("readme.txt", "hello");
    }

    // Output goes to standard output with the messages, for the tests that read them.
    TResult Build(const std::string& options = "") {
        return Tova("build " + Quote(src_.Path()) + " " + Quote(out_) + " " + options + " 2>&1");
    }

    void ExpectProject(const TProjectSetting& setting) {
        EXPECT_EQ(setting.Title, Utf8ToCp932("ビルド テスト"));
        EXPECT_EQ(setting.StartPage, "scene\\start.tsb");
        EXPECT_EQ(setting.Width, 800);
        EXPECT_EQ(setting.Height, 480);
        const std::vector<TParamData> variables{
            {1, "score", int32_t{7}}, {2, "rate", 0.5L}, {3, "seen", true}, {4, "name", Utf8ToCp932("山田")}};
        EXPECT_EQ(setting.ProjectVariables, variables);
    }

    // The player mounts the folder, finds the project and starts its start page.
    void ExpectPlayerStarts() {
        testing::TProjectWorld world;
        std::string started;
        TStartRecorder recorder(started);
        TProject project(world.Mount("/nowhere/player", {FromHostPath(out_)}));
        project.Start(recorder);
        EXPECT_FALSE(world.Flags.Stop);
        EXPECT_EQ(project.Title, Utf8ToCp932("ビルド テスト"));
        EXPECT_EQ(started, "scene\\start.tsb");
        EXPECT_TRUE(world.Files->Exists(Utf8ToCp932("bgm\\テーマ.wav")));
        EXPECT_TRUE(world.MessageBox.Shown.empty());
    }

    TTempDir src_, work_;
    std::string out_ = work_ / "out";
};

TEST_F(BuildCli, LooseBuildKeepsFoldersAndWritesProjectAndInstallSet) {
    const TResult result = Build();
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(FilesBelow(out_), (std::set<std::string>{".tova-build", "bgm/テーマ.wav", "install.dat",
                                                       "readme.txt", "scene/start.tsb", "tova.tpb"}));
    EXPECT_EQ(ReadFile(out_ + "/scene/start.tsb"), PageBytes());
    EXPECT_EQ(ReadFile(out_ + "/readme.txt"), "hello");
    ExpectProject(Load<TProjectSetting>(ReadFile(out_ + "/tova.tpb")));
    const auto installSet = Load<TTovaInstallSet>(ReadFile(out_ + "/install.dat"));
    EXPECT_EQ(installSet.Title, Utf8ToCp932("ビルド テスト"));
    EXPECT_TRUE(installSet.DataInstalled);
    ExpectPlayerStarts();
}

TEST_F(BuildCli, PackPutsEverythingIntoGameDat) {
    const TResult result = Build("--pack");
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(FilesBelow(out_), (std::set<std::string>{".tova-build", "game.dat"}));
    const TResult list = Tova("list " + Quote(out_ + "/game.dat"));
    EXPECT_EQ(list.exitCode, 0);
    for (const char* name :
         {"tova.tpb\t", "install.dat\t", "scene\\start.tsb\t", "bgm\\テーマ.wav\t", "readme.txt\t"})
        EXPECT_NE(list.out.find(name), std::string::npos) << name << " in\n" << list.out;
    EXPECT_EQ(list.out.find("project.ini"), std::string::npos);
    const auto entries = testing::ReadArchiveFile(out_ + "/game.dat");
    ExpectProject(Load<TProjectSetting>(entries.at("tova.tpb")));
    ExpectPlayerStarts();
}

TEST_F(BuildCli, RebuildReplacesTheEarlierBuildAndKeepsForeignFiles) {
    src_.WriteFile("old/gone.txt", "old");
    ASSERT_EQ(Build().exitCode, 0);
    std::ofstream(out_ + "/save.dat") << "saved";  // the player's, not the build's
    fs::remove_all(src_ / "old");
    src_.WriteFile("readme.txt", "new text");

    ASSERT_EQ(Build().exitCode, 0);
    EXPECT_FALSE(fs::exists(out_ + "/old"));
    EXPECT_EQ(ReadFile(out_ + "/readme.txt"), "new text");
    EXPECT_EQ(ReadFile(out_ + "/save.dat"), "saved");

    ASSERT_EQ(Build("--pack").exitCode, 0);  // loose files of the earlier build go
    EXPECT_EQ(FilesBelow(out_), (std::set<std::string>{".tova-build", "game.dat", "save.dat"}));

    ASSERT_EQ(Build().exitCode, 0);  // and the archive when built loose again
    EXPECT_FALSE(fs::exists(out_ + "/game.dat"));
    EXPECT_TRUE(fs::exists(out_ + "/scene/start.tsb"));
    EXPECT_EQ(ReadFile(out_ + "/save.dat"), "saved");
}

TEST_F(BuildCli, RefusesFoldersItMustNotWriteInto) {
    work_.WriteFile("out/mine.txt", "mine");  // not an earlier build
    TResult result = Build();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("holds no earlier build"), std::string::npos) << result.out;
    EXPECT_EQ(FilesBelow(out_), std::set<std::string>{"mine.txt"});

    // A manifest that names files outside the folder is not followed.
    work_.WriteFile("victim.txt", "keep");
    work_.WriteFile("out/.tova-build", "../victim.txt\n");
    result = Build();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find(".tova-build:1:"), std::string::npos) << result.out;
    EXPECT_EQ(ReadFile(work_ / "victim.txt"), "keep");

    for (const std::string& inside : {src_.Path(), src_ / "build"}) {
        result = Tova("build " + Quote(src_.Path()) + " " + Quote(inside) + " 2>&1");
        EXPECT_EQ(result.exitCode, 1) << inside;
        EXPECT_NE(result.out.find("outside the source folder"), std::string::npos) << result.out;
    }
    EXPECT_FALSE(fs::exists(src_ / "build"));
    EXPECT_EQ(Tova("build " + Quote(src_.Path())).exitCode, 2);
}

TEST_F(BuildCli, DescriptionAndSourceMistakesFailWithoutOutput) {
    const std::string head = "[project]\ntitle = T\n";
    const struct {
        std::string description;
        std::string says;
    } cases[] = {
        {head + "start_page = scene/start.tsb\ncolour = red\n", "project.ini:4: unknown key \"colour\""},
        {head + "start_page = scene/start.tsb\n[variables]\nx = integer 3\n", "project.ini:5: "},
        {head, "project.ini:1: [project] names no start_page"},
        {head + "start_page = missing.tss\n", "project.ini:3: the start_page \"missing.tss\""},
        {head + "start_page = scene/start.tsb\nend_page = readme.txt\n", "project.ini:4: the end_page"},
    };
    for (const auto& c : cases) {
        src_.WriteFile("project.ini", c.description);
        const TResult result = Build();
        EXPECT_EQ(result.exitCode, 1) << c.description;
        EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
        EXPECT_FALSE(fs::exists(out_)) << c.description;
    }

    // A source named by its page name is pointed at its own name.
    src_.WriteFile("project.ini", head + "start_page = intro.tsb\n");
    src_.WriteFile("intro.tss", "Wait 100\n");
    TResult result = Build();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("name the source, \"intro.tss\""), std::string::npos) << result.out;

    // Files that would take the place of what the build writes.
    src_.WriteFile("project.ini", head + "start_page = scene/start.tsb\n");
    src_.WriteFile("intro.tsb", PageBytes());
    result = Build();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("would both become 'intro.tsb'"), std::string::npos) << result.out;
    fs::remove(src_ / "intro.tsb");
    src_.WriteFile("TOVA.TPB", "x");
    result = Build();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("the build writes tova.tpb itself"), std::string::npos) << result.out;
    EXPECT_FALSE(fs::exists(out_));
}

TEST_F(BuildCli, CompilesEverySourceKeepingFolders) {
    src_.WriteFile("project.ini", "[project]\ntitle = T\nstart_page = Scene/Start.tss\nend_page = end.tss\n");
    fs::remove(src_ / "scene/start.tsb");
    src_.WriteFile("scene/start.tss", "VarNew count int 0\nWait 100\n");
    src_.WriteFile("end.tss", "Wait 1\n");
    const TResult result = Build();
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_FALSE(fs::exists(out_ + "/scene/start.tss"));
    EXPECT_EQ(PageCommandCount(ReadFile(out_ + "/scene/start.tsb")), 2);
    EXPECT_EQ(PageCommandCount(ReadFile(out_ + "/end.tsb")), 1);
    const auto setting = Load<TProjectSetting>(ReadFile(out_ + "/tova.tpb"));
    EXPECT_EQ(setting.StartPage, "scene\\start.tsb");
    EXPECT_EQ(setting.EndPage, "end.tsb");
}

TEST_F(BuildCli, ACompileErrorNamesSourceAndLineAndKeepsTheEarlierBuild) {
    ASSERT_EQ(Build("--pack").exitCode, 0);
    const std::string earlier = ReadFile(out_ + "/game.dat");
    src_.WriteFile("scene/broken.tss", "Wait 100\nNoSuchCommand 1\n");
    for (const char* options : {"", "--pack"}) {
        const TResult result = Build(options);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.out.find("scene/broken.tss:2:"), std::string::npos) << result.out;
        EXPECT_EQ(FilesBelow(out_), (std::set<std::string>{".tova-build", "game.dat"}));
        EXPECT_EQ(ReadFile(out_ + "/game.dat"), earlier);
    }
    fs::remove_all(out_);
    EXPECT_EQ(Build().exitCode, 1);
    EXPECT_FALSE(fs::exists(out_));
}

}  // namespace
}  // namespace tova
