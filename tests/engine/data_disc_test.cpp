// A player started without parameters: the install set beside it, the data
// disc in a CD-ROM root, and the disc requests of pages on other discs.
#include <gtest/gtest.h>

#include "core/encoding.h"
#include "engine/game_data.h"
#include "engine/project.h"

namespace tova {
namespace {

using testing::MakeSetting;
using testing::TProjectWorld;
using testing::TTempDir;
using testing::WriteArchiveFile;
using testing::WriteInstallSetFile;

std::string SettingsBytes(const TProjectSetting& setting) {
    TTpMemoryStream s;
    setting.SaveToStream(s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

class DataDiscTest : public ::testing::Test {
protected:
    DataDiscTest() {
        setting_.FolderDisks.Items = {{"scene2", 2}, {"bgm", 2}};
        // The data lives in game.dat, not as loose files.
        game_ = {{"tova.tpb", SettingsBytes(setting_)}, {"start.tsc", "page"}};
    }
    std::string Exe() const { return FromHostPath(install_ / "player"); }
    std::string Root(const TTempDir& dir) const { return FromHostPath(dir.Path()) + "/"; }

    TTempDir install_, disc1_, disc2_, other_;
    TProjectSetting setting_ = MakeSetting("Game");
    std::map<std::string, std::string> game_;
};

TEST_F(DataDiscTest, InstalledDataBesideTheExecutable) {
    WriteInstallSetFile(install_ / "install.dat", "Game", true);
    WriteArchiveFile(install_ / "game.dat", game_);
    TProjectWorld world({Root(disc1_)});
    TProject project(world.Mount(Exe(), {}));
    EXPECT_FALSE(world.Flags.Stop) << world.Trace.str();
    EXPECT_EQ(project.Title, "Game");
    EXPECT_TRUE(world.MessageBox.Shown.empty());
    // No parameter: save.dat beside the (writable) executable folder.
    EXPECT_EQ(project.GetSavePath(), FromHostPath(install_ / "save.dat"));
}

TEST_F(DataDiscTest, NoInstallSetAsksToReinstall) {
    WriteArchiveFile(install_ / "game.dat", game_);
    TProjectWorld world;
    TProject project(world.Mount(Exe(), {}));
    EXPECT_TRUE(world.Flags.Stop);
    EXPECT_EQ(world.MessageBox.Shown, (std::vector<std::string>{"情報: インストールし直してください"}));
}

TEST_F(DataDiscTest, DataOnTheDiscOfTheSameTitle) {
    WriteInstallSetFile(install_ / "install.dat", "Game", false);
    WriteInstallSetFile(other_ / "install.dat", "Other game", false);
    WriteArchiveFile(other_ / "game.dat", {});
    WriteInstallSetFile(disc1_ / "install.dat", "Game", false);
    WriteArchiveFile(disc1_ / "game.dat", game_);
    TProjectWorld world({Root(other_), Root(disc1_)});
    TProject project(world.Mount(Exe(), {}));
    EXPECT_FALSE(world.Flags.Stop) << world.Trace.str();
    EXPECT_TRUE(world.MessageBox.Shown.empty());
    EXPECT_EQ(project.StartPage, "start.tsc");
}

TEST_F(DataDiscTest, NoDiscAsksUntilTheUserGivesUp) {
    WriteInstallSetFile(install_ / "install.dat", "Game", false);
    TProjectWorld world({Root(disc1_)});
    // Cancel, then "don't give up" (Cancel), then Cancel and give up (OK).
    world.MessageBox.Answers = {TMessageResult::Cancel, TMessageResult::Cancel, TMessageResult::Cancel,
                                TMessageResult::Ok};
    TProject project(world.Mount(Exe(), {}));
    EXPECT_TRUE(world.Flags.Stop);
    EXPECT_EQ(world.MessageBox.Shown,
              (std::vector<std::string>{"情報: ディスクを入れてください", "情報: 終了します",
                                        "情報: ディスクを入れてください", "情報: 終了します"}));
}

TEST_F(DataDiscTest, PagesOnAnotherDiscAreAskedForButMediaNever) {
    WriteInstallSetFile(install_ / "install.dat", "Game", true);
    WriteArchiveFile(install_ / "game.dat", game_);
    WriteInstallSetFile(disc2_ / "install.dat", "Game", false);
    WriteArchiveFile(disc2_ / "game.dat", {{"scene2\\page.tsc", "page"}});
    TProjectWorld world({Root(disc2_)});
    TProject project(world.Mount(Exe(), {}));
    ASSERT_FALSE(world.Flags.Stop) << world.Trace.str();

    EXPECT_FALSE(project.PageExists(""));
    EXPECT_TRUE(project.PageExists("START.TSC"));
    EXPECT_FALSE(project.PageExists("elsewhere\\page.tsc"));  // on no disc
    EXPECT_FALSE(project.PageExists("bgm\\title.ogg"));       // media: no prompt
    EXPECT_FALSE(project.PageExists("scene2\\voice.WAV"));
    EXPECT_TRUE(world.MessageBox.Shown.empty());

    EXPECT_TRUE(project.PageExists("scene2\\page.tsc"));
    EXPECT_EQ(world.MessageBox.Shown, (std::vector<std::string>{"Game: insert disc 2"}));
    EXPECT_TRUE(world.Files->Exists("scene2\\page.tsc"));
    EXPECT_FALSE(world.Flags.Terminating);
}

TEST_F(DataDiscTest, GivingUpADiscRequestTerminates) {
    WriteInstallSetFile(install_ / "install.dat", "Game", true);
    WriteArchiveFile(install_ / "game.dat", game_);
    TProjectWorld world({Root(disc2_)});
    TProject project(world.Mount(Exe(), {}));
    world.MessageBox.Answers = {TMessageResult::Cancel, TMessageResult::Ok};
    EXPECT_FALSE(project.PageExists("scene2\\missing.tsc"));
    EXPECT_EQ(world.MessageBox.Shown, (std::vector<std::string>{"Game: insert disc 2", "Game: quit?"}));
    EXPECT_TRUE(world.Flags.Terminating);
    EXPECT_TRUE(world.Flags.Stop);
}

}  // namespace
}  // namespace tova
