#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "expr_test_util.h"
#include "platform/file_system.h"
#include "sysfunc_host_fake_test.h"
#include "vfs/file_manager.h"

namespace tova::test {
namespace {

namespace fs = std::filesystem;

class SysFuncFilesTest : public TSysFuncFixture {
protected:
    SysFuncFilesTest() {
        root_ = fs::temp_directory_path() / ("sysfunc_files_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "data" / "text");
        Write("data/text/a.txt", "one\r\ntwo\nthree\r\n");
        Write("data/text/b.txt", "bee");
        Write("data/text/c.dat", "sea");
        Write("data/empty.txt", "");
        files_.SetDataDir(FromHostPath((root_ / "data").string()));
        man_.Environment().Files = &files_;
        dest_ = FromHostPath((root_ / "out").string()) + "\\";
    }
    ~SysFuncFilesTest() override { fs::remove_all(root_); }

    void Write(const std::string& relative, const std::string& content) {
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }
    std::string Read(const std::string& relative) {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
    std::string dest_;
    TVrFileManager files_;
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

    Write("out/b.txt", "old");
    host_.Questions.clear();
    EXPECT_TRUE(Call(151, PT_BOOL, {Str("text\\b.txt"), Bool(false), Str(dest_)}).GetBool());
    EXPECT_TRUE(host_.Questions.empty());
    EXPECT_EQ(Read("out/b.txt"), "bee");
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

TEST_F(SysFuncFilesTest, ExtractFileNeverWritesOutsideTheFolder) {
    // A file beside the data folder is reachable through the data folder by "..".
    Write("secret.txt", "secret");
    ASSERT_TRUE(files_.Exists("..\\secret.txt"));
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
