#include "vfs/file_manager.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "archive_fixture.h"
#include "core/error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "support/bounded_child.h"
#include "support/temp_dir.h"
#include "support/zero_archive.h"

namespace tova {
namespace {

using testing::ArchiveBytes;
using testing::ReadAll;
using testing::TTempDir;
using testing::WriteBytes;

class TScriptedMessageBox : public TMessageBoxHost {
public:
    std::deque<TMessageResult> answers;
    std::vector<std::string> texts;
    TMessageResult Show(std::string_view, std::string_view text, TMessageButtons) override {
        texts.emplace_back(text);
        if (answers.empty()) return TMessageResult::Cancel;
        const TMessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class TFakeDiscHost : public TDataDiscHost {
public:
    std::string discRoot;  // the root that holds disc 1 (index 0)
    bool terminated = false;
    bool IsProjectDisc(const std::string& root, int discIndex) override {
        return root == discRoot && discIndex == 0;
    }
    std::string ApplicationTitle() override { return "Demo"; }
    std::string DiscRequestMessage() override { return "Insert disc %d"; }
    std::string QuitConfirmMessage() override { return "Quit?"; }
    void Terminate() override { terminated = true; }
};

class FileManager : public ::testing::Test {
protected:
    FileManager() {
        data_.WriteFile("game.dat");
        WriteBytes(data_ / "game.dat", ArchiveBytes({{"bgm\\title.ogg", "archived ogg"},
                                                     {"script\\start.tsb", "archived script"},
                                                     {"image\\a.png", "png"}}));
        TVrFileManagerOptions options;
        options.cdRoots = std::vector<std::string>{FromHostPath(disc_.Path()) + "/"};
        options.tempDir = FromHostPath(temp_.Path()) + "/";
        options.messageBox = &box_;
        options.discHost = &discs_;
        manager_ = std::make_unique<TVrFileManager>(options);
        manager_->AddArchive("");
        manager_->SetDataDir(FromHostPath(loose_.Path()));
        manager_->AddArchive(FromHostPath(data_ / "game.dat"));
    }

    std::string Load(const std::string& name) {
        TTpMemoryStream out;
        manager_->LoadToStream(out, name);
        EXPECT_EQ(out.GetPosition(), 0);
        return std::string(out.Bytes().begin(), out.Bytes().end());
    }

    TTempDir data_, loose_, disc_, temp_;
    TScriptedMessageBox box_;
    TFakeDiscHost discs_;
    std::unique_ptr<TVrFileManager> manager_;
};

TEST_F(FileManager, SourcesAreSearchedDataFolderFirstThenArchivesThenDiscs) {
    EXPECT_EQ(Load("BGM\\Title.ogg"), "archived ogg");
    // A memory entry shadows the archive.
    TVrFile* memory = manager_->Archive(0).AddMemoryFile("bgm\\title.ogg");
    memory->Data->WriteBuffer("memory ogg", 10);
    EXPECT_EQ(Load("bgm\\title.ogg"), "memory ogg");
    // A file in the data folder shadows both, whatever its letter case on disk.
    loose_.WriteFile("BGM/Title.OGG", "loose ogg");
    EXPECT_EQ(Load("bgm\\title.ogg"), "loose ogg");
    EXPECT_EQ(ReadAll(*manager_->OpenRange("bgm\\title.ogg")), "loose ogg");
    EXPECT_EQ(manager_->GetLocalFileName("bgm\\title.ogg"), FromHostPath(loose_.Path()) + "\\bgm\\title.ogg");
    // A disc root is the last resort.
    disc_.WriteFile("extra.txt", "from disc");
    EXPECT_EQ(Load("extra.txt"), "from disc");
    EXPECT_TRUE(manager_->Exists("extra.txt"));
    EXPECT_FALSE(manager_->Exists(""));
    EXPECT_FALSE(manager_->Exists("nothing"));
    EXPECT_EQ(manager_->GetLocalFileName("nothing"), std::nullopt);
    EXPECT_THROW(Load("nothing"), ETovaError);
    EXPECT_THROW(manager_->OpenRange("nothing"), ETovaError);
}

TEST_F(FileManager, AnArchiveIsOpenedOnce) {
    EXPECT_EQ(manager_->AddArchive(FromHostPath(data_ / "game.dat")), -1);
    EXPECT_EQ(manager_->ArchiveCount(), 2);
    manager_->RemoveArchive(1);
    EXPECT_FALSE(manager_->Exists("image\\a.png"));
}

TEST_F(FileManager, ExtractedFilesAreSharedAndDeletedAtTheEnd) {
    const std::string first = manager_->GetLocalFileName("script\\start.tsb").value();
    EXPECT_EQ(first, FromHostPath(temp_.Path()) + "/~tz00000000.tsb");
    EXPECT_EQ(manager_->GetLocalFileName("script\\start.tsb"), first);
    EXPECT_EQ(manager_->Locks().Find("script\\start.tsb")->RefCount, 2);
    // The lock list compares names case-sensitively: another spelling is another file.
    EXPECT_EQ(manager_->GetLocalFileName("SCRIPT\\START.TSB"),
              FromHostPath(temp_.Path()) + "/~tz00000001.TSB");
    TFileStream file(first, fmOpenRead);
    EXPECT_EQ(testing::ReadAll(file), "archived script");
    manager_.reset();
    EXPECT_FALSE(FileExists(first));
}

// Without a folder given, extracted files go to a folder the manager makes
// for itself, open to this user only, so no one can plant a link in it.
TEST(FileManagerTemp, ItsOwnFolderIsPrivate) {
    TTempDir data;
    WriteBytes(data / "game.dat", ArchiveBytes({{"a.txt", "content"}}));
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    TVrFileManager manager(options);
    manager.AddArchive(FromHostPath(data / "game.dat"));
    const std::filesystem::path file = ToHostPath(manager.GetLocalFileName("a.txt").value());
    const auto folder = std::filesystem::status(file.parent_path());
    EXPECT_EQ(folder.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    EXPECT_EQ(std::filesystem::file_size(file), 7u);
}

// An entry too large to hold in memory: read into memory it is refused
// clearly, while the player's reads into a file take it piece by piece with
// memory that does not grow with the entry.
TEST_F(FileManager, AnEntryTooLargeToHoldGoesToItsFileInPieces) {
    constexpr int64_t kSize = int64_t{320} << 20;
    testing::WriteZeroArchive(data_ / "big.dat", "movie\\big.wmv", kSize);
    manager_->AddArchive(FromHostPath(data_ / "big.dat"));
    TTpMemoryStream memory;
    EXPECT_THROW(manager_->LoadToStream(memory, "movie\\big.wmv"), ETovaError);
    EXPECT_EQ(memory.GetSize(), 0);

    const testing::TChildLimits limits{int64_t{128} << 20, std::chrono::milliseconds(60000)};
    const auto extracted = testing::RunBounded(
        [&] {
            const std::string path = manager_->GetLocalFileName("movie\\big.wmv").value();
            return FileSize(path) == kSize;
        },
        limits);
    EXPECT_TRUE(extracted.Passed()) << extracted.Describe();
}

TEST_F(FileManager, ListFilesMergesArchivesAndFolders) {
    loose_.WriteFile("image/b.png", "b");
    manager_->Archive(0).AddMemoryFile("image\\A.PNG");
    std::vector<std::string> list;
    manager_->ListFiles("image\\", list);
    // The memory collection's name comes first; the archive's spelling of it is skipped.
    EXPECT_EQ(list, (std::vector<std::string>{"image\\A.PNG", "image\\b.png"}));
}

TEST_F(FileManager, RequestDiscAsksUntilTheDiscIsThere) {
    disc_.WriteFile("game.dat");
    WriteBytes(disc_ / "game.dat", ArchiveBytes({{"movie\\op.mpg", "on disc"}}));
    disc_.WriteFile("install.dat", "id");
    discs_.discRoot = FromHostPath(disc_.Path()) + "/";
    box_.answers = {TMessageResult::Ok};
    EXPECT_TRUE(manager_->RequestDisc(1));
    EXPECT_EQ(box_.texts, (std::vector<std::string>{"Insert disc 1"}));
    EXPECT_EQ(Load("movie\\op.mpg"), "on disc");
    // Asking again first drops the disc's archive, then finds it anew.
    box_.answers = {TMessageResult::Ok};
    EXPECT_TRUE(manager_->RequestDisc(1));
    EXPECT_EQ(manager_->ArchiveCount(), 3);
}

TEST_F(FileManager, RequestDiscEndsThePlayerWhenTheUserQuits) {
    // No disc: OK asks again; Cancel asks to quit; Cancel there asks again; then quit.
    box_.answers = {TMessageResult::Ok, TMessageResult::Cancel, TMessageResult::Cancel,
                    TMessageResult::Cancel, TMessageResult::Ok};
    EXPECT_FALSE(manager_->RequestDisc(2));
    EXPECT_TRUE(discs_.terminated);
    EXPECT_EQ(box_.texts, (std::vector<std::string>{"Insert disc 2", "Insert disc 2", "Quit?",
                                                    "Insert disc 2", "Quit?"}));
}

TEST(FileManagerOptions, APlayerWithoutAPersonGivesUpAfterItsLimit) {
    TScriptedMessageBox box;
    TFakeDiscHost discs;
    TVrFileManagerOptions options;
    options.cdRoots = std::vector<std::string>{};
    options.messageBox = &box;
    options.discHost = &discs;
    options.maxDiscRequests = 1;
    TVrFileManager manager(options);
    box.answers = {TMessageResult::Ok};
    EXPECT_FALSE(manager.RequestDisc(1));
    EXPECT_TRUE(discs.terminated);
}

}  // namespace
}  // namespace tova
