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
              "  \"version\": 114,\n"
              "  \"title\": \"ゲーム \\\"1\\\"\",\n"
              "  \"start_page\": \"scene\\\\start.tsc\",\n"
              "  \"end_page\": \"\",\n"
              "  \"width\": 640,\n"
              "  \"height\": 480,\n"
              "  \"screen_param_a\": 16,\n"
              "  \"screen_param_b\": -1,\n"
              "  \"registry_key\": \"Maker\\\\表\",\n"
              "  \"image_key\": 7,\n"
              "  \"write_status\": true,\n"
              "  \"idle_sleep\": false,\n"
              "  \"media_extensions\": \".wav.wma.ogg.mid\",\n"
              "  \"pause_when_inactive\": false,\n"
              "  \"reserved_114\": 200,\n"
              "  \"disc_message\": \"line1\\r\\nline2\\t\\u0001\",\n"
              "  \"quit_message\": \"\",\n"
              "  \"variables\": [\n"
              "    {\"name\": \"i\", \"type\": \"int\", \"value\": -3},\n"
              "    {\"name\": \"r\", \"type\": \"float\", \"value\": 2.5},\n"
              "    {\"name\": \"n\", \"type\": \"float\", \"value\": \"NaN\"},\n"
              "    {\"name\": \"inf\", \"type\": \"float\", \"value\": \"-Infinity\"},\n"
              "    {\"name\": \"b\", \"type\": \"bool\", \"value\": false},\n"
              "    {\"name\": \"s\", \"type\": \"str\", \"value\": \"\xEF\xBF\xBD\"},\n"
              "    {\"name\": \"other\", \"type\": 9, \"value\": null}\n"
              "  ],\n"
              "  \"discs\": [\n"
              "    {\"folder\": \"bgm\", \"disc\": 2}\n"
              "  ]\n"
              "}\n");
}

TEST(SettingJson, EmptyListsAndTheInstallSet) {
    const std::string json = ProjectSettingToJson(TProjectSetting{});
    EXPECT_NE(json.find("  \"variables\": [],\n  \"discs\": []\n}\n"), std::string::npos);

    TTovaInstallSet installSet;
    installSet.Version = 108;
    installSet.Title = "\x83\x51\x81\x5B\x83\x80\\";
    installSet.DataInstalled = true;
    EXPECT_EQ(InstallSetToJson(installSet),
              "{\n  \"version\": 108,\n  \"title\": \"ゲーム\\\\\",\n  \"data_installed\": true\n}\n");
}

}  // namespace
}  // namespace tova
