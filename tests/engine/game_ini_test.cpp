// game.ini: the executable's file, then the user's, which wins; the delay
// kept to whole steps of 100 ms between 100 and 500.
#include "engine/game_ini.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tova {
namespace {

TEST(GameIni, TheUsersFileWinsAndTheDelayIsKeptInRange) {
    testing::TTempDir dir;
    dir.WriteFile("exe/game.ini", "[Sound]\nDirectSound=0\nDelayTime=250\n[Video]\nUseWMP=1\n");
    dir.WriteFile("user/game.ini", "[Sound]\nDelayTime=9999\n");
    const TGameIniSettings both =
        ReadGameIni({dir / "exe/game.ini", dir / "user/game.ini", dir / "missing.ini"});
    EXPECT_FALSE(both.DirectSound);
    EXPECT_EQ(both.DelayTime, 500);
    EXPECT_TRUE(both.UseWMP);
    EXPECT_EQ(ReadGameIni({dir / "exe/game.ini"}).DelayTime, 200);
    dir.WriteFile("low.ini", "[Sound]\nDelayTime=40\n");
    EXPECT_EQ(ReadGameIni({dir / "low.ini"}).DelayTime, 100);
    const TGameIniSettings none = ReadGameIni({});
    EXPECT_TRUE(none.DirectSound);
    EXPECT_EQ(none.DelayTime, 500);
    EXPECT_FALSE(none.UseWMP);
}

}  // namespace
}  // namespace tova
