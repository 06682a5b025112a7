// Loading a project from a data folder given as a parameter, the save file
// it reads at start and the status record it writes back at the end.
#include "engine/project.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <ctime>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/game_data.h"
#include "engine/save_file_recovery.h"
#include "engine/status_record.h"
#include "expr/param_types.h"

namespace tova {
namespace {

using testing::MakeSetting;
using testing::ReadArchiveFile;
using testing::TProjectWorld;
using testing::TTempDir;
using testing::WriteArchiveFile;
using testing::WriteHostFile;
using testing::WriteSettingsFile;

std::string GameSave(int32_t version, const std::string& title) {
    TTpMemoryStream s;
    WriteI32(s, version);
    WriteString(s, title);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

std::string StatusWithVariable(const std::string& name, int32_t value) {
    TParamCollection variables;
    TTovaReadList readList;
    TImageDepthFlag depth;
    TDBManager database;
    TParamCollectionItem* item = variables.AddItem(PT_INT);
    item->SetName(name);
    item->StatusFlag = 1;
    item->SetInt(value);
    readList.Mark("old.tsc", 1, 1);
    TVariableStatusPart variablesPart(variables);
    TReadListStatusPart readListPart(readList);
    TImageDepthStatusPart depthPart(depth);
    TDatabaseStatusPart databasePart(database);
    TStatusRecord record;
    record.AddPart(variablesPart);
    record.AddPart(readListPart);
    record.AddPart(depthPart);
    record.AddPart(databasePart);
    TTpMemoryStream s;
    record.Save(s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

class TRecordingRunner : public TPageRunner {
public:
    explicit TRecordingRunner(std::vector<std::string>& log) : log_(log) {}
    void Start(const std::string& page) override { log_.push_back("start " + page); }
    void Run() override { log_.push_back("run"); }
    bool IsFinished() const override { return true; }

private:
    std::vector<std::string>& log_;
};

class ProjectTest : public ::testing::Test {
protected:
    ProjectTest() {
        data_.WriteFile("start.tsc", "page");
        setting_ = MakeSetting("テスト");
    }
    void WriteSetting() { WriteSettingsFile(data_ / "tova.tpb", setting_); }
    testing::TOpenProject Open(TProjectWorld& world) {
        return testing::OpenProject(world.Mount("/nowhere/player", {FromHostPath(data_.Path())}), runner_);
    }

    testing::TIdleRunner runner_;

    TTempDir data_;
    TProjectSetting setting_;
};

TEST_F(ProjectTest, LoadsTheSettingsAndStartsTheCallManager) {
    setting_.EndPage = "end.tsc";
    setting_.FolderDisks.Items = {{"bgm", 2}};
    WriteSetting();
    TProjectWorld world;
    std::vector<std::string> log;
    TRecordingRunner runner(log);
    {
        TProject project(world.Mount("/nowhere/player", {FromHostPath(data_.Path())}));
        project.Start(runner);
        EXPECT_FALSE(world.Flags.Stop);
        EXPECT_EQ(Cp932ToUtf8(project.Title), "テスト");
        EXPECT_EQ(project.CentreX, 400);
        EXPECT_EQ(project.CentreY, 300);
        EXPECT_EQ(project.DiscMessages[0], "insert disc %d");
        EXPECT_EQ(project.FolderDisks.Items.size(), 1u);
        EXPECT_EQ(log, (std::vector<std::string>{"start start.tsc"}));
        EXPECT_TRUE(world.MessageBox.Shown.empty());
        // Shutdown: the end page starts and runs over the frames.
        EXPECT_TRUE(project.StartEndPage(runner));
        runner.Run();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"start start.tsc", "start end.tsc", "run"}));
}

TEST_F(ProjectTest, StopsWhenTheProjectCannotBeRead) {
    TProjectWorld missing;
    EXPECT_TRUE(Open(missing) && missing.Flags.Stop);
    EXPECT_TRUE(missing.MessageBox.Shown.empty());
    EXPECT_NE(missing.Trace.str().find("tova.tpb"), std::string::npos);

    data_.WriteFile("tova.tpb", "");
    TProjectWorld empty;
    Open(empty);
    EXPECT_TRUE(empty.Flags.Stop);
    EXPECT_EQ(empty.MessageBox.Shown, (std::vector<std::string>{"警告: プロジェクトがありません"}));

    data_.WriteFile("tova.tpb", std::string("\x72\0\0\0\x05\0\0\0ab", 10));  // truncated title
    TProjectWorld damaged;
    Open(damaged);
    EXPECT_TRUE(damaged.Flags.Stop);
    EXPECT_TRUE(damaged.MessageBox.Shown.empty());
    EXPECT_NE(damaged.Trace.str().find("damaged project settings"), std::string::npos);

    data_.WriteFile("tova.tpb", std::string("\x73\0\0\0", 4));  // version 115
    TProjectWorld tooNew;
    try {
        Open(tooNew);
        ADD_FAILURE() << "a settings file of version 115 was accepted";
    } catch (const ETovaError& e) {
        EXPECT_EQ(Cp932ToUtf8(e.Message()), "このバージョンには対応していません");
    }
}

TEST_F(ProjectTest, MissingStartPageStops) {
    setting_.StartPage = "nowhere.tsc";
    WriteSetting();
    TProjectWorld world;
    Open(world);
    EXPECT_TRUE(world.Flags.Stop);
    EXPECT_EQ(world.MessageBox.Shown, (std::vector<std::string>{"警告: スタートページがありません"}))
        << world.Trace.str();
    // The box keeps the system's text; standard error also names the page.
    EXPECT_NE(world.Trace.str().find("tovaplayer: スタートページがありません: nowhere.tsc"),
              std::string::npos)
        << world.Trace.str();
}

TEST_F(ProjectTest, RestoresTheSaveFile) {
    setting_.ProjectVariables = {
        {1, "seen", int32_t{1}}, {4, "name", std::string("fresh")}, {2, "ratio", 0.5L}};
    WriteSetting();
    WriteArchiveFile(data_ / "save.dat", {{"STATUSSAVEDATA", StatusWithVariable("SEEN", 7)},
                                          {"save:notes.txt", "kept between runs"},
                                          {"SAVE:other", ""},
                                          {"GAMESAVEDATA3", GameSave(139, "third")},
                                          {"GAMESAVEDATA12", GameSave(139, "twelfth")},
                                          {"GAMESAVEDATAx", GameSave(139, "ignored")},
                                          {"GAMESAVEDATA-1", GameSave(139, "ignored")},
                                          {"GAMESAVEDATA4", "xx"}});  // damaged: skipped
    TProjectWorld world;
    auto project = Open(world);
    ASSERT_FALSE(world.Flags.Stop);

    // A loaded status variable keeps its value; the others are made as
    // status variables with the stored value.
    EXPECT_EQ(world.Variables.FindItem("seen")->GetInt(), 7);
    EXPECT_EQ(world.Variables.FindItem("name")->GetStr(), "fresh");
    EXPECT_EQ(world.Variables.FindItem("name")->StatusFlag, 1);
    EXPECT_EQ(world.Variables.FindItem("ratio")->GetFloat(), 0.5L);
    EXPECT_TRUE(world.ReadList.IsRead("old.tsc", 1, 1));

    TTpMemoryStream notes;
    world.Files->LoadToStream(notes, "SAVE:NOTES.TXT");
    EXPECT_EQ(std::string(notes.Bytes().begin(), notes.Bytes().end()), "kept between runs");
    ASSERT_NE(world.Files->Archive(0).Find("save:other"), nullptr);
    EXPECT_EQ(world.Files->Archive(0).Find("save:other")->Data->GetSize(), 0);

    ASSERT_EQ(project->SaveSlots.size(), 2u);
    EXPECT_EQ(project->GetSlotCaption(3), "third");
    EXPECT_EQ(project->GetSlotCaption(12), "twelfth");
    EXPECT_EQ(project->GetSlotCaption(4), "");
    project->SetSlotCaption(3, "again");
    EXPECT_EQ(project->SaveSlots.size(), 2u);
    EXPECT_EQ(project->GetSlotCaption(3), "again");
}

// Hundreds of damaged saved games are set aside in one rewrite of the file,
// not one rewrite each (each costs the whole file and a sync): the renames
// onto save.dat are counted as they happen.
TEST_F(ProjectTest, ManyDamagedSavedGamesAreSetAsideInOneRewrite) {
    WriteSetting();
    std::map<std::string, std::string> entries{{"GAMESAVEDATA0", GameSave(139, "good")}};
    for (int slot = 1; slot <= 300; ++slot)
        entries["GAMESAVEDATA" + std::to_string(slot)] = "x";  // no header to read
    WriteArchiveFile(data_ / "save.dat", entries);

    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, data_.Path().c_str(), IN_MOVED_TO), 0);
    TProjectWorld world;
    auto project = Open(world);
    int rewrites = 0;
    alignas(inotify_event) char events[64 * 1024];
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
        for (char* at = events; at < events + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && std::string(event->name) == "save.dat") ++rewrites;
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(rewrites, 1);

    ASSERT_EQ(project->SaveSlots.size(), 1u);
    const auto after = ReadArchiveFile(data_ / "save.dat");
    EXPECT_EQ(after.size(), 301u);
    EXPECT_EQ(after.at("GAMESAVEDATA0"), GameSave(139, "good"));
    for (const auto& [name, content] : after)
        if (name != "GAMESAVEDATA0") {
            EXPECT_NE(name.find(".damaged-"), std::string::npos) << name;
            EXPECT_EQ(content, "x") << name;
        }
}

TEST_F(ProjectTest, WritesTheStatusRecordBackKeepingTheSavedGames) {
    setting_.ProjectVariables = {{1, "seen", int32_t{1}}};
    WriteSetting();
    WriteArchiveFile(data_ / "save.dat", {{"GAMESAVEDATA1", GameSave(139, "first")}});
    {
        TProjectWorld world;
        auto project = Open(world);
        world.Variables.FindItem("seen")->SetInt(5);
        world.ReadList.Mark("start.tsc", 2, 0);
        world.ImageDepth.DepthConversion = true;
        world.Database.CreateTable("progress", 1);
    }
    const auto entries = ReadArchiveFile(data_ / "save.dat");
    EXPECT_EQ(entries.at("GAMESAVEDATA1"), GameSave(139, "first"));
    EXPECT_TRUE(entries.at("STATUSSAVEDATA").starts_with("Status103"));
    EXPECT_FALSE(std::filesystem::exists(data_ / "save.dat.$$$"));

    TProjectWorld again;
    auto project = Open(again);
    EXPECT_EQ(again.Variables.FindItem("seen")->GetInt(), 5);
    EXPECT_TRUE(again.ReadList.IsRead("start.tsc", 2, 0));
    EXPECT_TRUE(again.ImageDepth.DepthConversion);
    EXPECT_NE(again.Database.Find("progress"), nullptr);
    EXPECT_EQ(project->GetSlotCaption(1), "first");
}

TEST_F(ProjectTest, LeavesTheSaveFileAloneWhenItMayNot) {
    const std::map<std::string, std::string> before{{"STATUSSAVEDATA", StatusWithVariable("seen", 7)}};
    WriteArchiveFile(data_ / "save.dat", before);
    const auto original = ReadArchiveFile(data_ / "save.dat");

    // The project never loaded: its empty state must not replace the record.
    data_.WriteFile("tova.tpb", std::string("\x72\0\0\0", 4));  // version 114, nothing more
    {
        TProjectWorld world;
        Open(world);
    }
    EXPECT_EQ(ReadArchiveFile(data_ / "save.dat"), original);

    // The game asks for no status record.
    setting_.WriteStatus = 0;
    WriteSetting();
    {
        TProjectWorld world;
        auto project = Open(world);
        world.Variables.FindItem("seen")->SetInt(8);
    }
    EXPECT_EQ(ReadArchiveFile(data_ / "save.dat"), original);
}

TEST_F(ProjectTest, ADamagedSaveFileThatCannotBeMovedAsideIsAnError) {
    WriteSetting();
    data_.WriteFile("save.dat", std::string("vf\x66\0\0\0", 6));
    // Every name it could be kept under, this second and the next, is taken.
    const std::time_t now = std::time(nullptr);
    for (const std::time_t t : {now, now + 1}) {
        std::tm local{};
        localtime_r(&t, &local);
        const std::string aside =
            DamagedName("save.dat", {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, local.tm_hour,
                                     local.tm_min, local.tm_sec});
        data_.WriteFile(aside);
        for (int n = 2; n <= 100; ++n)
            data_.WriteFile(aside + "-" + std::to_string(n));
    }
    TProjectWorld world;
    EXPECT_THROW(Open(world), ETovaError);
    // Nothing wrote over it.
    EXPECT_EQ(std::filesystem::file_size(data_ / "save.dat"), 6u);
}

}  // namespace
}  // namespace tova
