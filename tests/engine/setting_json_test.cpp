#include "engine/setting_json.h"

#include <gtest/gtest.h>

#include <limits>

namespace tova {
namespace {

TEST(SettingJson, PrintsEveryFieldOfTheSettings) {
    TProjectSetting setting;
    setting.Title = "\x83\x51\x81\x5B\x83\x80 \"1\"";  // ゲーム "1"
    setting.Width = 640;
    setting.Height = 480;
    setting.ScreenParamA = 16;
    setting.ScreenParamB = -1;
    setting.StartPage = "scene\\start.tsc";
    setting.RegistryKey = "Maker\\\x95\x5C";  // 表: its trail byte is no backslash
    setting.ImageKey = 7;
    setting.WriteStatus = 1;
    setting.Reserved114 = 200;
    setting.Messages = {"line1\r\nline2\t\x01", ""};
    setting.ProjectVariables = {
        {1, "i", int32_t{-3}},
        {2, "r", 2.5L},
        {2, "n", std::numeric_limits<long double>::quiet_NaN()},
        {2, "inf", -std::numeric_limits<long double>::infinity()},
        {3, "b", false},
        {4, "s", std::string("\xFF")},  // not code page 932: the replacement character
        {9, "other", std::monostate{}},
    };
    setting.FolderDisks.Items = {{"bgm", 2}};

    EXPECT_EQ(ProjectSettingToJson(setting),
              "{\n"
              "  \"Version\": 114,\n"
              "  \"Title\": \"ゲーム \\\"1\\\"\",\n"
              "  \"Width\": 640,\n"
              "  \"Height\": 480,\n"
              "  \"ScreenParamA\": 16,\n"
              "  \"ScreenParamB\": -1,\n"
              "  \"StartPage\": \"scene\\\\start.tsc\",\n"
              "  \"EndPage\": \"\",\n"
              "  \"RegistryKey\": \"Maker\\\\表\",\n"
              "  \"ImageKey\": 7,\n"
              "  \"WriteStatus\": 1,\n"
              "  \"IdleSleep\": 0,\n"
              "  \"MediaExtensions\": \".wav.wma.ogg.mid\",\n"
              "  \"PauseWhenInactive\": 0,\n"
              "  \"Reserved114\": 200,\n"
              "  \"Messages\": [\"line1\\r\\nline2\\t\\u0001\", \"\"],\n"
              "  \"ProjectVariables\": [\n"
              "    {\"Type\": 1, \"Name\": \"i\", \"Value\": -3},\n"
              "    {\"Type\": 2, \"Name\": \"r\", \"Value\": 2.5},\n"
              "    {\"Type\": 2, \"Name\": \"n\", \"Value\": \"NaN\"},\n"
              "    {\"Type\": 2, \"Name\": \"inf\", \"Value\": \"-Infinity\"},\n"
              "    {\"Type\": 3, \"Name\": \"b\", \"Value\": false},\n"
              "    {\"Type\": 4, \"Name\": \"s\", \"Value\": \"\xEF\xBF\xBD\"},\n"
              "    {\"Type\": 9, \"Name\": \"other\", \"Value\": null}\n"
              "  ],\n"
              "  \"FolderDisks\": [\n"
              "    {\"Folder\": \"bgm\", \"Disc\": 2}\n"
              "  ]\n"
              "}\n");
}

TEST(SettingJson, EmptyListsAndTheInstallSet) {
    const std::string json = ProjectSettingToJson(TProjectSetting{});
    EXPECT_NE(json.find("  \"ProjectVariables\": [],\n  \"FolderDisks\": []\n}\n"), std::string::npos);

    TTovaInstallSet installSet;
    installSet.Version = 108;
    installSet.Title = "\x83\x51\x81\x5B\x83\x80\\";
    installSet.DataInstalled = true;
    EXPECT_EQ(InstallSetToJson(installSet),
              "{\n  \"Version\": 108,\n  \"Title\": \"ゲーム\\\\\",\n  \"DataInstalled\": true\n}\n");
}

}  // namespace
}  // namespace tova
