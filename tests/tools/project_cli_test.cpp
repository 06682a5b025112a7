// tova project and tova install-info on the files the game builder writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tova_runner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "engine/game_data.h"
#include "engine/setting_json.h"

namespace tova {
namespace {

using testing::TTempDir;

using testing::Quote;
using testing::Tova;
using TResult = testing::TToolResult;

class ProjectCli : public ::testing::Test {
protected:
    ProjectCli() {
        TProjectSetting setting = testing::MakeSetting("ゲーム");
        setting.ProjectVariables = {{1, "count", int32_t{3}}};
        TTpMemoryStream settings;
        setting.SaveToStream(settings);
        testing::WriteHostFile(data_ / "TOVA.TPB", settings);
        testing::WriteArchiveFile(
            out_ / "game.dat", {{"tova.tpb", std::string(settings.Bytes().begin(), settings.Bytes().end())}});
        expected_ = ProjectSettingToJson(setting);
    }
    TTempDir data_, out_;
    std::string expected_;
};

TEST_F(ProjectCli, EverySourceOfTheSettingsGivesTheSameJson) {
    // A folder holding a packed build's game.dat is a data folder too.
    for (const std::string& source : {data_ / "TOVA.TPB", data_.Path(), out_ / "game.dat", out_.Path()}) {
        const TResult result = Tova("project " + Quote(source));
        EXPECT_EQ(result.exitCode, 0) << source;
        EXPECT_EQ(result.out, expected_) << source;
    }
    EXPECT_NE(expected_.find("ゲーム"), std::string::npos);
    EXPECT_NE(expected_.find("count"), std::string::npos);
}

TEST_F(ProjectCli, BadInputIsAnErrorNotACrash) {
    data_.WriteFile("cut.tpb", std::string("\x72\0\0\0\x40\0\0\0ab", 10));
    EXPECT_EQ(Tova("project " + Quote(data_ / "cut.tpb")).exitCode, 1);
    std::filesystem::create_directories(data_ / "empty");
    EXPECT_EQ(Tova("project " + Quote(data_ / "empty")).exitCode, 1);  // no tova.tpb and no game.dat
    EXPECT_EQ(Tova("project " + Quote(data_ / "missing")).exitCode, 1);
    EXPECT_EQ(Tova("project").exitCode, 2);
    data_.WriteFile("install.dat", "is108\x01");
    EXPECT_EQ(Tova("install-info " + Quote(data_ / "install.dat")).exitCode, 1);
}

TEST_F(ProjectCli, InstallInfo) {
    testing::WriteInstallSetFile(out_ / "install.dat", Utf8ToCp932("ゲーム"), true);
    TTovaInstallSet installSet;
    installSet.Version = TTovaInstallSet::CurrentVersion;
    installSet.Title = Utf8ToCp932("ゲーム");
    installSet.DataInstalled = true;
    for (const std::string& source : {out_ / "install.dat", out_.Path()}) {
        const TResult result = Tova("install-info " + Quote(source));
        EXPECT_EQ(result.exitCode, 0) << source;
        EXPECT_EQ(result.out, InstallSetToJson(installSet)) << source;
    }
}

}  // namespace
}  // namespace tova
