#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "expr_test_util.h"
#include "platform/file_system.h"
#include "support/scoped_env.h"
#include "sysfunc_host_fake_test.h"
#include "vfs/file_manager.h"

namespace tova::test {
namespace {

namespace fs = std::filesystem;

class SysFuncFilesTest : public TSysFuncFixture {
protected:
    SysFuncFilesTest() {
        fs::remove_all(root_);
        fs::create_directories(root_ / "data" / "text");
        Write("data/text/a.txt", "one\r\ntwo\nthree\r\n");
        Write("data/text/b.txt", "bee");
        Write("data/text/c.dat", "sea");
        Write("data/empty.txt", "");
        files_.SetDataDir(FromHostPath((root_ / "data").string()));
        man_.Environment().Files = &files_;
        dest_ = FromHostPath((root_ / "out").string()) + "\\";
        // Extraction may write below the save folder (and the user's folders).
        host_.SaveFolderAnswer = FromHostPath(root_.string()) + "\\";
        fs::create_directories(root_ / "home");
    }
    ~SysFuncFilesTest() override { fs::remove_all(root_); }

    void Write(const std::string& relative, const std::string& content) {
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }
    std::string Read(const std::string& relative) {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static fs::path TestRoot() {
        return fs::temp_directory_path() / ("sysfunc_files_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    fs::path root_ = TestRoot();
    std::string dest_;
    TVrFileManager files_;
    // A home of the test's own, its user folders at their defaults.
    testing::TScopedEnv home_{"HOME", (root_ / "home").string()};
    testing::TScopedEnv config_{"XDG_CONFIG_HOME", nullptr};
    testing::TScopedEnv documents_{"XDG_DOCUMENTS_DIR", nullptr};
    testing::TScopedEnv download_{"XDG_DOWNLOAD_DIR", nullptr};
};

TEST_F(SysFuncFilesTest, FileExists) {
    EXPECT_TRUE(Call(71, PT_BOOL, {Str("text\\a.txt")}).GetBool());
    EXPECT_TRUE(Call(71, PT_BOOL, {Str("TEXT\\A.TXT")}).GetBool());
    EXPECT_FALSE(Call(71, PT_BOOL, {Str("text\\zz.txt")}).GetBool());
    EXPECT_FALSE(Call(71, PT_BOOL, {Str("")}).GetBool());
    man_.Environment().Files = nullptr;
    EXPECT_FALSE(Call(71, PT_BOOL, {Str("text\\a.txt")}).GetBool());
}

TEST_F(SysFuncFilesTest, LoadTextFileSplitsLines) {
    EXPECT_TRUE(Call(72, PT_BOOL, {Ref("lines"), Str("text\\a.txt")}).GetBool());
    EXPECT_EQ(Var("lines").GetCount(), 3);
    EXPECT_EQ(Var("lines").GetStrAt(0), "one");
    EXPECT_EQ(Var("lines").GetStrAt(2), "three");

    EXPECT_TRUE(Call(72, PT_BOOL, {Ref("lines"), Str("text\\b.txt")}).GetBool());
    EXPECT_EQ(Var("lines").GetCount(), 1);
    EXPECT_EQ(Var("lines").GetStr(), "bee");

    EXPECT_FALSE(Call(72, PT_BOOL, {Ref("lines"), Str("empty.txt")}).GetBool());
    EXPECT_EQ(Var("lines").GetStr(), "");
    // A missing file leaves the variable alone.
    Var("lines").SetStr("kept");
    EXPECT_FALSE(Call(72, PT_BOOL, {Ref("lines"), Str("missing.txt")}).GetBool());
    EXPECT_EQ(Var("lines").GetStr(), "kept");
}

TEST_F(SysFuncFilesTest, ExtractFileCopiesNamesAndMasks) {
    EXPECT_TRUE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(Read("out/b.txt"), "bee");

    Ref("names")->SetDims({2});
    Var("names").SetStrAt(0, "text\\*.TXT");
    Var("names").SetStrAt(1, "text\\c.da?");
    EXPECT_TRUE(Call(151, PT_BOOL, {Ref("names"), Bool(false), Str(dest_ + "sub")}).GetBool());
    EXPECT_EQ(Read("out/sub/a.txt"), "one\r\ntwo\nthree\r\n");
    EXPECT_EQ(Read("out/sub/b.txt"), "bee");
    EXPECT_EQ(Read("out/sub/c.dat"), "sea");
    EXPECT_FALSE(fs::exists(root_ / "out" / "sub" / "empty.txt"));

    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\*.png"), Bool(false), Str(dest_)}).GetBool());
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("nothing.txt"), Bool(false), Str(dest_)}).GetBool());
}

TEST_F(SysFuncFilesTest, ExtractFileAsksBeforeOverwriting) {
    fs::create_directories(root_ / "out");
    Write("out/b.txt", "old");
    // Confirm is on when absent; the answer No keeps the file.
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(Read("out/b.txt"), "old");
    ASSERT_EQ(host_.Questions.size(), 1u);
    EXPECT_NE(host_.Questions[0].find(Sys("既に同名のファイルが存在します。上書きしますか？")),
              std::string::npos);
    EXPECT_NE(host_.Questions[0].find("b.txt\r\n\r\n"), std::string::npos);

    host_.Answers = {TOverwriteAnswer::Yes};
    EXPECT_TRUE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(Read("out/b.txt"), "bee");

    // Without confirm the player still asks: a game never replaces a file of
    // the user's unless the user says so.
    Write("out/b.txt", "old");
    host_.Questions.clear();
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(dest_)}).GetBool());
    EXPECT_EQ(host_.Questions.size(), 1u);
    EXPECT_EQ(Read("out/b.txt"), "old");
}

TEST_F(SysFuncFilesTest, ExtractFileToAllAnswers) {
    fs::create_directories(root_ / "out");
    Write("out/a.txt", "old");
    Write("out/b.txt", "old");
    host_.Answers = {TOverwriteAnswer::NoToAll};
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\?.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(host_.Questions.size(), 1u);
    EXPECT_EQ(Read("out/a.txt") + Read("out/b.txt"), "oldold");

    host_.Questions.clear();
    host_.Answers = {TOverwriteAnswer::YesToAll};
    EXPECT_TRUE(Call(151, PT_BOOL, {Str("text\\?.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(host_.Questions.size(), 1u);
    EXPECT_EQ(Read("out/a.txt") + Read("out/b.txt"), "one\r\ntwo\nthree\r\nbee");

    Write("out/a.txt", "old");
    Write("out/b.txt", "old");
    host_.Answers = {TOverwriteAnswer::Cancel};
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\?.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_EQ(Read("out/a.txt") + Read("out/b.txt"), "oldold");
}

TEST_F(SysFuncFilesTest, ExtractFileFolderFromTheBrowser) {
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt")}).GetBool());  // cancelled
    host_.DialogAnswer = FromHostPath((root_ / "picked").string());
    EXPECT_TRUE(Call(151, PT_BOOL, {Str("text\\b.txt")}).GetBool());
    EXPECT_EQ(Read("picked/b.txt"), "bee");
    // An empty folder text is not "wherever the player runs".
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str("")}).GetBool());
}

TEST_F(SysFuncFilesTest, NothingAboveTheGamesFilesCanBeRead) {
    Write("secret.txt", "secret");
    for (const char* name : {"..\\secret.txt", "text\\..\\..\\secret.txt", "../secret.txt",
                             "..\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\hostname"}) {
        EXPECT_FALSE(Call(71, PT_BOOL, {Str(name)}).GetBool()) << name;
        Ref("lines")->SetStr("kept");
        EXPECT_FALSE(Call(72, PT_BOOL, {Ref("lines"), Str(name)}).GetBool()) << name;
        EXPECT_EQ(Var("lines").GetStr(), "kept");
    }
    // A ".." inside a name is only part of it.
    Write("data/text/a..b.txt", "dots");
    EXPECT_TRUE(Call(71, PT_BOOL, {Str("text\\a..b.txt")}).GetBool());

    // Nor through a link in the game's folder that points out of it; links
    // among the game's own files still work.
    fs::create_directory_symlink(root_, root_ / "data" / "linkdir");
    fs::create_symlink(root_ / "secret.txt", root_ / "data" / "secret.txt");
    fs::create_symlink(root_ / "data" / "text" / "b.txt", root_ / "data" / "bee.txt");
    for (const char* name : {"linkdir\\secret.txt", "secret.txt", "linkdir\\data\\..\\secret.txt"}) {
        EXPECT_FALSE(Call(71, PT_BOOL, {Str(name)}).GetBool()) << name;
        Ref("lines")->SetStr("kept");
        EXPECT_FALSE(Call(72, PT_BOOL, {Ref("lines"), Str(name)}).GetBool()) << name;
        EXPECT_EQ(Var("lines").GetStr(), "kept");
    }
    EXPECT_TRUE(Call(72, PT_BOOL, {Ref("lines"), Str("bee.txt")}).GetBool());
    EXPECT_EQ(Var("lines").GetStr(), "bee");
    EXPECT_TRUE(Call(71, PT_BOOL, {Str("linkdir\\data\\text\\b.txt")}).GetBool());
}

TEST_F(SysFuncFilesTest, ExtractFileWritesOnlyBelowTheAllowedFoldersAndNeverThroughALink) {
    const fs::path outside = root_.string() + "_outside";
    fs::create_directories(outside);
    struct TCleanup {
        fs::path path;
        ~TCleanup() { fs::remove_all(path); }
    } cleanup{outside};
    const std::string outsideName = FromHostPath(outside.string());

    // A folder that is neither the home nor the save folder, nor below them.
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(outsideName)}).GetBool());
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(outsideName + "\\new")}).GetBool());
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(dest_ + "..\\..\\x")}).GetBool());
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str("relative")}).GetBool());
    EXPECT_TRUE(fs::is_empty(outside));

    // A link to a folder outside, on the way to the target.
    fs::create_directory_symlink(outside, root_ / "link");
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(dest_ + "..\\link")}).GetBool());
    EXPECT_FALSE(
        Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(dest_ + "..\\link\\deeper")}).GetBool());
    EXPECT_TRUE(fs::is_empty(outside));

    // A link in the target folder under the name of a file written.
    fs::create_directories(root_ / "out");
    fs::create_symlink(outside / "planted", root_ / "out" / "b.txt");
    host_.Answers = {TOverwriteAnswer::Yes};
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(true), Str(dest_)}).GetBool());
    EXPECT_FALSE(fs::exists(outside / "planted"));
    EXPECT_TRUE(fs::is_symlink(root_ / "out" / "b.txt"));
}

TEST_F(SysFuncFilesTest, ExtractFileWritesOnlyIntoTheUsersVisibleFolders) {
    host_.SaveFolderAnswer.clear();
    const fs::path home = root_ / "home";
    const std::string homeName = FromHostPath(home.string());
    const auto extract = [&](const std::string& folder) {
        return Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(folder)}).GetBool();
    };
    EXPECT_TRUE(extract(homeName + "\\Documents\\game"));
    EXPECT_EQ(Read("home/Documents/game/b.txt"), "bee");
    EXPECT_TRUE(extract(homeName + "\\Downloads"));
    EXPECT_TRUE(extract(homeName + "\\Desktop"));

    // The home itself, a folder beside the user folders, and hidden folders
    // where a desktop keeps what it runs at the next login.
    EXPECT_FALSE(extract(homeName));
    EXPECT_FALSE(extract(homeName + "\\games"));
    EXPECT_FALSE(extract(homeName + "\\.config\\autostart"));
    EXPECT_FALSE(extract(homeName + "\\Documents\\.hidden"));
    EXPECT_FALSE(fs::exists(home / "b.txt"));
    EXPECT_FALSE(fs::exists(home / ".config"));
    EXPECT_FALSE(fs::exists(home / "Documents" / ".hidden"));

    // A hidden file name is never written, into any folder.
    files_.AddArchive("");
    files_.Archive(0).AddMemoryFile(".bashrc")->Data =
        std::make_unique<TTpMemoryStream>(std::vector<uint8_t>{'x'});
    EXPECT_FALSE(Call(151, PT_BOOL, {Str(".bashrc"), Bool(false), Str(homeName + "\\Documents")}).GetBool());
    EXPECT_FALSE(fs::exists(home / "Documents" / ".bashrc"));

    // The folders as user-dirs.dirs names them; a disabled one points at the
    // home and opens nothing.
    fs::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs")
        << "# written by the desktop\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_DOWNLOAD_DIR=\"$HOME/\"\n";
    EXPECT_TRUE(extract(homeName + "\\Dokumente"));
    EXPECT_FALSE(extract(homeName + "\\Documents\\again"));
    EXPECT_FALSE(fs::exists(home / "Documents" / "again"));
    // The environment comes first.
    {
        const testing::TScopedEnv download("XDG_DOWNLOAD_DIR", (root_ / "dl").string());
        EXPECT_TRUE(extract(FromHostPath((root_ / "dl").string())));
    }

    // A home of "/" or of another user allows nothing, not even the save folder.
    host_.SaveFolderAnswer = FromHostPath(root_.string()) + "\\";
    {
        const testing::TScopedEnv rootHome("HOME", "/");
        EXPECT_FALSE(extract(dest_));
    }
    if (::geteuid() == 0) {
        fs::create_directories(root_ / "theirs");
        ASSERT_EQ(::chown((root_ / "theirs").c_str(), 4242, 4242), 0);
        const testing::TScopedEnv theirs("HOME", (root_ / "theirs").string());
        EXPECT_FALSE(extract(dest_));
    }
    EXPECT_FALSE(fs::exists(root_ / "out"));
}

TEST_F(SysFuncFilesTest, ExtractFileNeverWritesOutsideTheFolder) {
    // A file beside the data folder cannot be reached through the data folder by "..".
    Write("secret.txt", "secret");
    ASSERT_FALSE(files_.Exists("..\\secret.txt"));
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("..\\secret.txt"), Bool(false), Str(dest_)}).GetBool());
    EXPECT_FALSE(Call(151, PT_BOOL, {Str("text\\..\\..\\secret.txt"), Bool(false), Str(dest_)}).GetBool());
    EXPECT_FALSE(fs::exists(root_ / "out" / "secret.txt"));

    // Memory entries may carry any name; an absolute or drive name is refused.
    files_.AddArchive("");
    for (const char* name : {"\\abs.txt", "/abs.txt", "c:evil.txt", "x\\..", "x\\."}) {
        TVrFile* entry = files_.Archive(0).AddMemoryFile(name);
        entry->Data = std::make_unique<TTpMemoryStream>(std::vector<uint8_t>{'x'});
        ASSERT_TRUE(files_.Exists(name)) << name;
        EXPECT_FALSE(Call(151, PT_BOOL, {Str(name), Bool(false), Str(dest_)}).GetBool()) << name;
    }
    EXPECT_TRUE(fs::is_empty(root_ / "out"));
}

}  // namespace
}  // namespace tova::test
