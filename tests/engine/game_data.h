// Game data for tests, written with the formats' own writers: settings
// files, install sets and archives, and a project environment over them
// with a message box that answers from a script.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "engine/data_mount.h"
#include "engine/install_set.h"
#include "engine/project.h"
#include "engine/project_setting.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "graphics/image_depth_flag.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"
#include "text/read_list.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"
#include "vfs/file_manager.h"

namespace tova::testing {

inline TProjectSetting MakeSetting(const std::string& utf8Title, const std::string& startPage = "start.tsc") {
    TProjectSetting setting;
    setting.Title = Utf8ToCp932(utf8Title);
    setting.Width = 801;
    setting.Height = 600;
    setting.StartPage = startPage;
    setting.WriteStatus = 1;
    setting.MediaExtensions = ".wav.ogg";
    setting.Messages = {"insert disc %d", "quit?"};
    return setting;
}

inline void WriteHostFile(const std::string& hostPath, const TTpMemoryStream& content) {
    TFileStream file(FromHostPath(hostPath), fmCreate);
    file.WriteBuffer(content.Bytes());
}

inline void WriteSettingsFile(const std::string& hostPath, const TProjectSetting& setting) {
    TTpMemoryStream content;
    setting.SaveToStream(content);
    WriteHostFile(hostPath, content);
}

inline void WriteInstallSetFile(const std::string& hostPath, const std::string& cp932Title,
                                bool dataInstalled) {
    TTovaInstallSet installSet;
    installSet.Title = cp932Title;
    installSet.DataInstalled = dataInstalled;
    TTpMemoryStream content;
    installSet.SaveToStream(content);
    WriteHostFile(hostPath, content);
}

// An archive of in-memory entries (names and contents as raw bytes).
inline void WriteArchiveFile(const std::string& hostPath, const std::map<std::string, std::string>& entries) {
    TVrFileCollection archive;
    for (const auto& [name, content] : entries) {
        TVrFile* entry = archive.AddMemoryFile(name);
        entry->Data->Assign(std::vector<uint8_t>(content.begin(), content.end()));
    }
    TTpBigMemoryStream image;
    archive.SaveToStream(image);
    image.SaveToFile(FromHostPath(hostPath));
}

// The entries of an archive file, read back.
inline std::map<std::string, std::string> ReadArchiveFile(const std::string& hostPath) {
    TVrFileCollection archive;
    archive.Open(FromHostPath(hostPath));
    std::map<std::string, std::string> entries;
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string name = archive.Item(i)->GetName();
        if (name == kEofEntryName) continue;
        TTpMemoryStream content;
        archive.ReadEntry(content, name);
        entries[name] = std::string(content.Bytes().begin(), content.Bytes().end());
    }
    return entries;
}

class TScriptedMessageBox : public TMessageBoxHost {
public:
    std::vector<std::string> Shown;      // "caption: text" in UTF-8
    std::deque<TMessageResult> Answers;  // Ok once they run out

    TMessageResult Show(std::string_view caption, std::string_view text, TMessageButtons) override {
        Shown.push_back(Cp932ToUtf8(caption) + ": " + Cp932ToUtf8(text));
        if (Answers.empty()) return TMessageResult::Ok;
        const TMessageResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// A page runner that runs nothing.
class TIdleRunner : public TPageRunner {
public:
    void Start(const std::string&) override {}
    void Run() override {}
    bool IsFinished() const override { return true; }
};

// A project as the player has it: loaded, started on the runner when it
// loaded, and at the end of its life the status record written as the
// player's Finish does.
struct TFinishProject {
    void operator()(TProject* project) const {
        project->WriteStatusRecord();
        delete project;
    }
};
using TOpenProject = std::unique_ptr<TProject, TFinishProject>;
inline TOpenProject OpenProject(TProjectEnvironment environment, TPageRunner& runner) {
    TOpenProject project(new TProject(std::move(environment)));
    if (project->Loaded()) project->Start(runner);
    return project;
}

// What a project works with, each test making its own.
struct TProjectWorld {
    explicit TProjectWorld(std::vector<std::string> cdRoots = {}) {
        TVrFileManagerOptions options;
        options.cdRoots = std::move(cdRoots);
        options.messageBox = &MessageBox;
        Files = std::make_unique<TVrFileManager>(std::move(options));
        Files->AddArchive("");
    }

    // Mounts the data as the player does, and gives the project's environment.
    TProjectEnvironment Mount(const std::string& executablePath, std::vector<std::string> parameters) {
        const TDataFolder dataFolder = ResolveDataFolder(executablePath, parameters);
        MountGameData(*Files, dataFolder, executablePath, parameters);
        TProjectEnvironment environment;
        environment.ExecutablePath = executablePath;
        environment.DataFolder = dataFolder;
        environment.Files = Files.get();
        environment.Variables = &Variables;
        environment.MessageBox = &MessageBox;
        environment.Flags = &Flags;
        environment.ReadList = &ReadList;
        environment.ImageDepth = &ImageDepth;
        environment.Database = &Database;
        environment.MaxDiscRequests = 3;
        environment.Trace = &Trace;
        return environment;
    }

    TScriptedMessageBox MessageBox;
    std::unique_ptr<TVrFileManager> Files;
    TParamCollection Variables;
    TTovaReadList ReadList;
    TImageDepthFlag ImageDepth;
    TDBManager Database;
    TRunFlags Flags;
    std::ostringstream Trace;
};

}  // namespace tova::testing
