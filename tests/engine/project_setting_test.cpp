#include "engine/project_setting.h"

#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {
namespace {

// A settings file of the given version written field by field; every field
// the version has gets a value that differs from its default.
std::vector<uint8_t> HandWritten(int32_t version) {
    TTpMemoryStream s;
    WriteI32(s, version);
    WriteString(s, "Title");
    WriteI32(s, 800);
    WriteI32(s, 600);
    WriteI32(s, 16);
    WriteI32(s, 2);
    WriteString(s, "start.tsc");
    if (version >= 110) WriteString(s, "end.tsc");
    WriteString(s, "Maker\\Game");
    WriteI32(s, 1234);
    if (version > 103) WriteU8(s, 1);
    if (version >= 106) WriteU8(s, 2);
    if (version >= 109) WriteString(s, ".ogg");
    if (version >= 113) WriteU8(s, 3);
    if (version >= 114) WriteU8(s, 4);
    WriteString(s, "disc %d");
    WriteString(s, "bye");
    WriteI32(s, 2);
    WriteU8(s, 1);
    WriteString(s, "count");
    WriteI32(s, -5);
    WriteU8(s, 4);
    WriteString(s, "name");
    WriteString(s, "value");
    WriteI32(s, 1);
    WriteString(s, "bgm");
    WriteI32(s, 2);
    return s.Bytes();
}

TProjectSetting Read(const std::vector<uint8_t>& bytes, int64_t* endPosition = nullptr) {
    TTpMemoryStream s(bytes);
    TProjectSetting setting;
    setting.LoadFromStream(s);
    if (endPosition) *endPosition = s.GetPosition();
    return setting;
}

TEST(ProjectSetting, EveryVersionThreshold) {
    for (int32_t version : {-1, 0, 100, 103, 104, 105, 106, 108, 109, 110, 112, 113, 114}) {
        SCOPED_TRACE(version);
        const std::vector<uint8_t> bytes = HandWritten(version);
        int64_t end = 0;
        const TProjectSetting setting = Read(bytes, &end);
        EXPECT_EQ(end, static_cast<int64_t>(bytes.size()));

        EXPECT_EQ(setting.Version, version);
        EXPECT_EQ(setting.Title, "Title");
        EXPECT_EQ(setting.Width, 800);
        EXPECT_EQ(setting.Height, 600);
        EXPECT_EQ(setting.ScreenParamA, 16);
        EXPECT_EQ(setting.ScreenParamB, 2);
        EXPECT_EQ(setting.StartPage, "start.tsc");
        EXPECT_EQ(setting.EndPage, version >= 110 ? "end.tsc" : "");
        EXPECT_EQ(setting.RegistryKey, "Maker\\Game");
        EXPECT_EQ(setting.ImageKey, 1234);
        EXPECT_EQ(setting.WriteStatus, version >= 104 ? 1 : 0);
        EXPECT_EQ(setting.IdleSleep, version >= 106 ? 2 : 0);
        EXPECT_EQ(setting.MediaExtensions, version >= 109 ? ".ogg" : ".wav.wma.ogg.mid");
        EXPECT_EQ(setting.PauseWhenInactive, version >= 113 ? 3 : 0);
        EXPECT_EQ(setting.Reserved114, version >= 114 ? 4 : 0);
        EXPECT_EQ(setting.Messages[0], "disc %d");
        EXPECT_EQ(setting.Messages[1], "bye");

        ASSERT_EQ(setting.ProjectVariables.size(), 2u);
        EXPECT_EQ(setting.ProjectVariables[0], (TParamData{1, "count", int32_t{-5}}));
        EXPECT_EQ(setting.ProjectVariables[1], (TParamData{4, "name", std::string("value")}));
        ASSERT_EQ(setting.FolderDisks.Items.size(), 1u);
        EXPECT_EQ(setting.FolderDisks.Items[0], (TFolderDisk{"bgm", 2}));
    }
}

TEST(ProjectSetting, NewerVersionsAreRefused) {
    // Refused from the version alone, whether or not anything follows it.
    const std::vector<uint8_t> alone = {115, 0, 0, 0};
    for (const std::vector<uint8_t>& bytes : {HandWritten(115), HandWritten(0x7FFFFFFF), alone}) {
        try {
            Read(bytes);
            ADD_FAILURE() << "accepted";
        } catch (const ETovaError& e) {
            EXPECT_EQ(e.Message(), SysText("このバージョンには対応していません"));
        }
    }
}

TProjectSetting FullSetting() {
    TProjectSetting setting;
    setting.Title = "\x83\x51\x81\x5B\x83\x80";  // double-byte characters
    setting.Width = 1024;
    setting.Height = 768;
    setting.ScreenParamA = -1;
    setting.ScreenParamB = 0x7FFFFFFF;
    setting.StartPage = "scene\\start.tsc";
    setting.EndPage = "scene\\end.tsc";
    setting.RegistryKey = "Maker\\Game";
    setting.ImageKey = -987654;
    setting.WriteStatus = 1;
    setting.IdleSleep = 1;
    setting.MediaExtensions = ".wav.ogg";
    setting.PauseWhenInactive = 1;
    setting.Reserved114 = 255;
    setting.Messages = {"Insert disc %d", ""};
    setting.ProjectVariables = {
        {1, "i", int32_t{-2147483647 - 1}},     {2, "r", 0.1L},
        {2, "tiny", -4.9406564584124654e-324L}, {3, "b", true},
        {4, "s", std::string("\x95\x5C\"x\"")}, {0, "none", std::monostate{}},
        {129, "high", std::monostate{}},
    };
    setting.FolderDisks.Items = {{"bgm", 1}, {"movie\\op", 2}};
    return setting;
}

TEST(ProjectSetting, WriterRoundTrip) {
    const TProjectSetting written = FullSetting();
    TTpMemoryStream s;
    written.SaveToStream(s);
    int64_t end = 0;
    const TProjectSetting read = Read(s.Bytes(), &end);
    EXPECT_EQ(end, s.GetSize());
    EXPECT_EQ(read, written);

    // An old file written again as the current version keeps its defaults.
    const TProjectSetting old = Read(HandWritten(103));
    TTpMemoryStream again;
    old.SaveToStream(again);
    TProjectSetting expected = old;
    expected.Version = TProjectSetting::MaxVersion;
    EXPECT_EQ(Read(again.Bytes()), expected);
}

TEST(ProjectSetting, WriterRefusesValueOfTheWrongType) {
    for (const TParamData& bad : {TParamData{1, "x", std::string("1")}, TParamData{4, "x", std::monostate{}},
                                  TParamData{7, "x", int32_t{1}}, TParamData{3, "x", int32_t{1}}}) {
        TProjectSetting setting;
        setting.ProjectVariables = {{1, "ok", int32_t{1}}, bad};
        TTpMemoryStream s;
        EXPECT_THROW(setting.SaveToStream(s), ETovaError);
        EXPECT_EQ(s.GetSize(), 0);  // nothing half-written
    }
}

TEST(ProjectSetting, EveryTruncationFails) {
    TTpMemoryStream s;
    FullSetting().SaveToStream(s);
    for (const std::vector<uint8_t>& full : {s.Bytes(), HandWritten(103)}) {
        for (size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            const std::vector<uint8_t> prefix(full.begin(),
                                              full.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_THROW(Read(prefix), ETovaError);
        }
    }
}

TEST(ProjectSetting, DamagedCountsAndLengthsFailAndKeepTheFields) {
    const std::vector<uint8_t> good = HandWritten(114);
    // Offsets from the end: folder count (4 + 4 + 3 + 4 before the end) and
    // the variable count in front of the two variables.
    const size_t folderCountAt = good.size() - (4 + (4 + 3) + 4);
    const size_t variablesAt = folderCountAt - ((1 + 4 + 4 + 5 + 1 + 4 + 5 + 4 + 4) + 4);
    ASSERT_EQ(LoadLE32(&good[folderCountAt]), 1u);
    ASSERT_EQ(LoadLE32(&good[variablesAt]), 2u);

    TProjectSetting setting;
    setting.Title = "before";
    for (const auto& [at, value] :
         std::vector<std::pair<size_t, uint32_t>>{{folderCountAt, 0x10000000},
                                                  {folderCountAt, 0xFFFFFFFF},
                                                  {variablesAt, 0x7FFFFFFF},
                                                  {variablesAt, 0x80000000},
                                                  {4, 0x7FFFFFF0} /* the title's length */}) {
        SCOPED_TRACE(at);
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        TTpMemoryStream s(bytes);
        EXPECT_THROW(setting.LoadFromStream(s), ETovaError);
    }
    EXPECT_EQ(setting.Title, "before");
}

}  // namespace
}  // namespace tova
