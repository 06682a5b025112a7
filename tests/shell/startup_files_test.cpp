// The player's files around a start: the old log beside the executable goes
// (a link of that name is left alone), and the user's game.ini, found by the
// game's title, overrides the one beside the executable.
#include "shell/startup_files.h"

#include <gtest/gtest.h>

#include "engine/game_ini.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

TEST(StartupFiles, TheOldLogGoesAndTheUsersGameIniWins) {
    testing::TTempDir dir;
    dir.WriteFile("bin/player");
    dir.WriteFile("bin/tovaplay.log", "old");
    DeleteOldPlayerLog(dir / "bin/player");
    EXPECT_FALSE(std::filesystem::exists(dir / "bin/tovaplay.log"));
    dir.WriteFile("elsewhere.txt", "keep");
    std::filesystem::create_symlink(dir / "elsewhere.txt", dir / "bin/tovaplay.log");
    DeleteOldPlayerLog(dir / "bin/player");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "bin/tovaplay.log"));
    EXPECT_TRUE(std::filesystem::exists(dir / "elsewhere.txt"));

    const testing::TScopedEnv config("XDG_CONFIG_HOME", dir / "config");
    const std::vector<std::filesystem::path> files = GameIniFiles(dir / "bin/player", "A/B");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], std::filesystem::path(dir / "bin/game.ini"));
    EXPECT_EQ(files[1], std::filesystem::path(dir / "config/tovaplayer/A_B/game.ini"));
    dir.WriteFile("bin/game.ini", "[Sound]\nDirectSound=0\nDelayTime=300\n");
    dir.WriteFile("config/tovaplayer/A_B/game.ini", "[Sound]\nDelayTime=200\n[Video]\nUseWMP=1\n");
    const TGameIniSettings settings = ReadGameIni(files);
    EXPECT_FALSE(settings.DirectSound);
    EXPECT_EQ(settings.DelayTime, 200);
    EXPECT_TRUE(settings.UseWMP);
}

}  // namespace
}  // namespace tova
