// Where save.dat goes: the folder the user chose, the data folder when it
// may be written, else the user's data folder named after the game.
#include "engine/save_path.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <set>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/game_data.h"
#include "platform/file_system.h"
#include "support/read_only_folder.h"

namespace tova {
namespace {

using testing::TTempDir;

// Sets an environment variable for one test and restores it after.
class TEnvVar {
public:
    TEnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~TEnvVar() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class SavePathTest : public ::testing::Test {
protected:
    TTempDir home_, dataHome_, exe_;
    TEnvVar homeVar_{"HOME", home_.Path().c_str()};
    TEnvVar dataVar_{"XDG_DATA_HOME", dataHome_.Path().c_str()};
    std::string exePath_ = FromHostPath(exe_ / "player");
    std::string exeFolder_ = FromHostPath(exe_.Path()) + "\\";
};

TEST_F(SavePathTest, BesideTheExecutableWhenItsFolderIsWritable) {
    // A link where the probe once went, to a file of the user's: the probe
    // never opens it, and the folder still counts as writable.
    home_.WriteFile("precious", "keep me");
    std::filesystem::create_symlink(home_ / "precious", exe_ / "save.dat.$$$");
    EXPECT_EQ(ToHostPath(LocateSaveFile(exeFolder_, "Game")), exe_ / "save.dat");
    std::ifstream precious(home_ / "precious");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(precious), {}), "keep me");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(exe_.Path()), {}), 1) << "no probe left";
    EXPECT_TRUE(std::filesystem::is_empty(dataHome_.Path()));
}

TEST_F(SavePathTest, UserFolderWhenTheExecutableFolderRefusesAndCopiesTheOldSave) {
    exe_.WriteFile("save.dat", "old saves");
    const std::string title = Utf8ToCp932("ソフト: a/b\\c*?\"<>|,;");
    const std::string path = [&] {
        testing::TReadOnlyFolder readOnly(exe_.Path());
        return LocateSaveFile(exeFolder_, title);
    }();
    const std::string folder = dataHome_ / ("tovaplayer/ソフト_ a_b_c________/");
    EXPECT_EQ(Cp932ToUtf8(path), folder + "save.dat");
    std::ifstream copied(folder + "save.dat");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "old saves");

    // A save file already there is never overwritten by the old one.
    exe_.WriteFile("save.dat", "older saves");
    {
        testing::TReadOnlyFolder readOnly(exe_.Path());
        LocateSaveFile(exeFolder_, title);
    }
    std::ifstream kept(folder + "save.dat");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old saves");
}

TEST_F(SavePathTest, SystemInstallsAndMissingFoldersUseTheUserFolder) {
    EXPECT_TRUE(IsSystemInstalled("/usr/games/player"));
    EXPECT_TRUE(IsSystemInstalled("/usr/share/games/g/"));
    EXPECT_TRUE(IsSystemInstalled("/opt/game/player"));
    EXPECT_FALSE(IsSystemInstalled("/usrlocal/player"));
    EXPECT_EQ(Cp932ToUtf8(LocateSaveFile("/opt/no-such-game/", "G")), dataHome_ / "tovaplayer/G/save.dat");

    // Without XDG_DATA_HOME (or with a relative one) the folder is below HOME.
    TEnvVar relative("XDG_DATA_HOME", "relative/dir");
    EXPECT_EQ(Cp932ToUtf8(LocateSaveFile(FromHostPath(exe_ / "missing/"), "G")),
              home_ / ".local/share/tovaplayer/G/save.dat");
    EXPECT_TRUE(std::filesystem::is_directory(home_ / ".local/share/tovaplayer/G"));
}

TEST_F(SavePathTest, EveryTitleGivesOneFolderBelowTheGamesFolder) {
    const std::string games = dataHome_ / "tovaplayer/";
    std::set<std::string> folders;
    for (const std::string& title :
         std::vector<std::string>{"", ".", "..", "...", "a\tb", std::string("x\0y", 3), "../up", "ok"}) {
        const std::filesystem::path save = Cp932ToUtf8(LocateSaveFile("/opt/no-such-game/", title));
        EXPECT_EQ(save.filename(), "save.dat");
        EXPECT_EQ(save.parent_path().parent_path().string() + "/", games) << title;
        EXPECT_TRUE(std::filesystem::is_directory(save.parent_path())) << title;
        folders.insert(save.parent_path());
    }
    EXPECT_EQ(folders.size(), 8u);
    EXPECT_EQ(SaveFolderName(".."), "___");
    EXPECT_EQ(SaveFolderName(""), "_");
    EXPECT_FALSE(std::filesystem::exists(dataHome_ / "save.dat"));

    // A very long title keeps a name the file system takes, stable and distinct.
    const std::string longTitle(400, 'A');
    const std::string name = SaveFolderName(longTitle);
    EXPECT_LE(name.size(), 160u);
    EXPECT_EQ(name, SaveFolderName(longTitle));
    EXPECT_NE(name, SaveFolderName(longTitle + "B"));
    EXPECT_NO_THROW(LocateSaveFile("/opt/no-such-game/", longTitle));
}

TEST_F(SavePathTest, AFolderThatCannotBeMadeIsAnErrorNamingIt) {
    home_.WriteFile("file", "in the way");
    TEnvVar blocked("XDG_DATA_HOME", (home_ / "file").c_str());
    const auto errorOf = [](const auto& locate) {
        try {
            locate();
        } catch (const ETovaError& e) {
            return Cp932ToUtf8(e.Message());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf([] { LocateSaveFile("/opt/no-such-game/", "G"); }),
              "データファイルを作成することができません: " + (home_ / "file/tovaplayer/G/"));
    EXPECT_EQ(errorOf([&] { ChosenSaveFile(FromHostPath(home_ / "file/saves")); }),
              "データファイルを作成することができません: " + (home_ / "file/saves/"));
}

TEST_F(SavePathTest, AChosenFolderIsMadeAndWins) {
    EXPECT_EQ(ToHostPath(ChosenSaveFile(FromHostPath(home_ / "a/b"))), home_ / "a/b/save.dat");
    EXPECT_TRUE(std::filesystem::is_directory(home_ / "a/b"));

    testing::TProjectWorld world;
    TTempDir data;
    testing::WriteSettingsFile(data / "tova.tpb", testing::MakeSetting("G"));
    TProjectEnvironment environment = world.Mount(exePath_, {FromHostPath(data.Path())});
    environment.SaveFolder = FromHostPath(home_ / "chosen");
    TProject project(environment);
    EXPECT_EQ(ToHostPath(project.GetSavePath()), home_ / "chosen/save.dat");
}

TEST_F(SavePathTest, AGivenDataFolderFollowsTheSameRule) {
    testing::TProjectWorld world;
    TTempDir data;
    testing::WriteSettingsFile(data / "tova.tpb", testing::MakeSetting("G"));
    {
        TProject project(world.Mount(exePath_, {FromHostPath(data.Path())}));
        EXPECT_EQ(project.GetSavePath(), FromHostPath(data.Path()) + "\\save.dat");
    }
    // A data folder the player may not write to sends the saves to the user's folder.
    testing::TReadOnlyFolder readOnly(data.Path());
    testing::TProjectWorld other;
    TProject project(other.Mount(exePath_, {FromHostPath(data.Path())}));
    EXPECT_EQ(Cp932ToUtf8(project.GetSavePath()), dataHome_ / "tovaplayer/G/save.dat");
}

}  // namespace
}  // namespace tova
