#include "engine/project.h"

#include <stdexcept>

#include "core/binary_io.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "engine/data_locator.h"
#include "engine/save_file_recovery.h"
#include "engine/save_path.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/message_gloss.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"

namespace tova {
namespace {

TProjectEnvironment Checked(TProjectEnvironment environment) {
    if (!environment.Files || !environment.Variables || !environment.MessageBox || !environment.Flags ||
        !environment.ReadList || !environment.ImageDepth || !environment.Database)
        throw std::invalid_argument(
            "TProject needs the file system, the variables, a message box, the run flags, "
            "the read marks, the image state and the table database");
    return environment;
}

bool StartsWithText(std::string_view name, std::string_view prefix) {
    return name.size() >= prefix.size() && SjisSameText(name.substr(0, prefix.size()), prefix);
}

// The slot number of "GAMESAVEDATA<n>": n must be plain decimal digits that fit.
std::optional<int32_t> SlotOfEntry(std::string_view name) {
    if (!StartsWithText(name, TProject::kGameSavePrefix)) return std::nullopt;
    const std::string_view rest = name.substr(TProject::kGameSavePrefix.size());
    if (rest.empty() || rest.size() > 10) return std::nullopt;
    int64_t slot = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') return std::nullopt;
        slot = slot * 10 + (c - '0');
    }
    if (slot > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(slot);
}

void AssignValue(TParamCollectionItem& item, const TParamData::TValue& value) {
    if (const auto* i = std::get_if<int32_t>(&value)) item.SetInt(*i);
    if (const auto* f = std::get_if<long double>(&value)) item.SetFloat(*f);
    if (const auto* b = std::get_if<bool>(&value)) item.SetBool(*b);
    if (const auto* s = std::get_if<std::string>(&value)) item.SetStr(*s);
}

}  // namespace

TProject::TProject(TProjectEnvironment environment)
    : env_(Checked(std::move(environment))),
      variablesPart_(*env_.Variables),
      readListPart_(*env_.ReadList),
      imageDepthPart_(*env_.ImageDepth),
      databasePart_(*env_.Database) {
    Title = SysText("情報");
    DiscMessages = {SysText("ディスク%dを入れてから[OK]をクリックしてください"), SysText("終了します")};
    statusRecord_.AddPart(variablesPart_);
    statusRecord_.AddPart(readListPart_);
    statusRecord_.AddPart(imageDepthPart_);
    statusRecord_.AddPart(databasePart_);
    env_.Flags->Stop = true;
    env_.Files->SetDiscHost(this);
    try {
        Load();
    } catch (...) {
        env_.Files->SetDiscHost(nullptr);
        throw;
    }
}

TProject::~TProject() {
    env_.Files->SetDiscHost(nullptr);
}

std::ostream& TProject::Report() const {
    return env_.Trace ? *env_.Trace : std::cerr;
}

void TProject::TraceLine(const std::string& utf8Line) const {
    if (env_.Trace) *env_.Trace << "tovaplayer: " << WithGloss(utf8Line) << "\n";
}

void TProject::Load() {
    if (!env_.DataFolder.FromParameters) {
        TDataLocatorOptions options{Title, DiscMessages[1], env_.MaxDiscRequests, env_.Trace};
        if (!LocateData(*env_.Files, env_.ExecutablePath, *env_.MessageBox, options)) return;
    }
    TProjectSetting setting;
    if (!ReadSettings(setting)) return;
    ApplySettings(setting);

    TVrFileCollection saveFile;
    OpenSaveFile(saveFile, GetSavePath(), Report());
    LoadSaveFile(saveFile);
    RestoreSaveEntries(saveFile);
    AddProjectVariables(setting.ProjectVariables);
    env_.Flags->Stop = false;
    RebuildSaveSlots(saveFile);
    ReadOriginalFolderDisks();
}

bool TProject::ReadSettings(TProjectSetting& setting) {
    TTpMemoryStream content;
    try {
        env_.Files->LoadToStream(content, kSettingsFile);
    } catch (const ETovaError& e) {
        TraceLine(e.what());
        return false;
    }
    if (content.GetSize() == 0) {
        env_.MessageBox->Show(SysText("警告"), SysText("プロジェクトがありません"), TMessageButtons::Ok);
        TraceLine("プロジェクトがありません: " + std::string(kSettingsFile));
        return false;
    }
    // Too new a version is the one failure the user is told of; a damaged
    // file stops the project silently.
    if (content.GetSize() >= 4 && ReadI32(content) > TProjectSetting::MaxVersion)
        throw ETovaError(TErrorKind::Unsupported, SysText("このバージョンには対応していません"));
    content.SetPosition(0);
    try {
        setting.LoadFromStream(content);
    } catch (const ETovaError& e) {
        TraceLine(std::string(kSettingsFile) + ": " + e.what());
        return false;
    }
    return true;
}

void TProject::ApplySettings(const TProjectSetting& setting) {
    Title = setting.Title;
    Width = setting.Width;
    Height = setting.Height;
    ScreenParamA = setting.ScreenParamA;
    ScreenParamB = setting.ScreenParamB;
    CentreX = Width / 2;
    CentreY = Height / 2;
    StartPage = setting.StartPage;
    EndPage = setting.EndPage;
    RegistryKey = setting.RegistryKey;
    ImageKey = setting.ImageKey;
    WriteStatus = setting.WriteStatus;
    IdleSleep = setting.IdleSleep;
    MediaExtensions = setting.MediaExtensions;
    PauseWhenInactive = setting.PauseWhenInactive;
    DiscMessages = setting.Messages;
    FolderDisks = setting.FolderDisks;
}

void TProject::LoadSaveFile(TVrFileCollection& saveFile) {
    loaded_ = true;
    if (saveFile.IndexOf(TStatusRecord::kEntryName) < 0) return;
    try {
        TTpMemoryStream record;
        saveFile.ReadEntry(record, TStatusRecord::kEntryName);
        statusRecord_.Load(record);
    } catch (const ETovaError& e) {
        // What was read stays; the record is written anew at the end.
        TraceLine(std::string("the status record is damaged: ") + e.what());
        KeepDamagedCopy(GetSavePath(), Report());
    }
}

void TProject::RestoreSaveEntries(TVrFileCollection& saveFile) {
    if (env_.Files->ArchiveCount() == 0) env_.Files->AddArchive("");
    TVrFileCollection& memory = env_.Files->Archive(0);
    for (int i = 0; i < saveFile.Count(); ++i) {
        const std::string name = saveFile.Item(i)->GetName();
        if (!StartsWithText(name, "save:")) continue;
        memory.RemoveFile(name);
        try {
            TTpMemoryStream content;
            saveFile.ReadEntry(content, name);
            memory.AddMemoryFile(name)->Data->Assign(std::move(content.Bytes()));
        } catch (const ETovaError& e) {
            memory.RemoveFile(name);
            TraceLine(Cp932ToUtf8(name) + ": " + e.what());
        }
    }
}

void TProject::AddProjectVariables(const std::vector<TParamData>& definitions) {
    TParamCollection& variables = *env_.Variables;
    for (const TParamData& definition : definitions) {
        if (variables.FindItem(definition.Name)) continue;
        // Only the four data types have a value; any other code would make
        // a reference bound to nothing.
        if (definition.Type < PT_INT || definition.Type > PT_STR) {
            TraceLine("project variable " + Cp932ToUtf8(definition.Name) + ": no value type " +
                      std::to_string(definition.Type));
            continue;
        }
        try {
            TParamCollectionItem::CheckName(definition.Name);
        } catch (const ETovaError& e) {
            TraceLine(e.what());
            continue;
        }
        TParamCollectionItem* item = variables.AddItem(definition.Type);
        item->SetName(definition.Name);
        item->StatusFlag = 1;
        AssignValue(*item, definition.Value);
    }
}

void TProject::RebuildSaveSlots(TVrFileCollection& saveFile) {
    SaveSlots.clear();
    std::vector<std::string> damaged;
    for (int i = 0; i < saveFile.Count(); ++i) {
        const std::string name = saveFile.Item(i)->GetName();
        const std::optional<int32_t> slot = SlotOfEntry(name);
        if (!slot) continue;
        try {
            TTpMemoryStream content;
            saveFile.ReadEntry(content, name);
            ReadI32(content);  // the saved game's version
            SaveSlots.push_back({ReadString(content), *slot});
        } catch (const ETovaError& e) {
            TraceLine(Cp932ToUtf8(name) + ": " + e.what());
            damaged.push_back(name);
        }
    }
    // One rewrite of the file for all of them: each one costs the whole file.
    SetDamagedEntriesAside(GetSavePath(), damaged, Report());
}

void TProject::ReadOriginalFolderDisks() {
    if (!env_.Files->Exists(kOriginalSettingsFile)) return;
    try {
        TTpMemoryStream content;
        env_.Files->LoadToStream(content, kOriginalSettingsFile);
        TProjectSetting original;
        original.LoadFromStream(content);
        FolderDisks = original.FolderDisks;
    } catch (const ETovaError& e) {
        TraceLine(std::string(kOriginalSettingsFile) + ": " + e.what());
    }
}

void TProject::Start(TPageRunner& runner) {
    if (!env_.Files->Exists(StartPage)) {
        env_.MessageBox->Show(SysText("警告"), SysText("スタートページがありません"), TMessageButtons::Ok);
        TraceLine("スタートページがありません: " + Cp932ToUtf8(StartPage));
        env_.Flags->Stop = true;
        return;
    }
    runner.Start(StartPage);
}

bool TProject::StartEndPage(TPageRunner& runner) {
    env_.Flags->Stop = true;
    if (EndPage.empty()) return false;
    try {
        runner.Start(EndPage);
    } catch (const std::exception& e) {
        EndPageFailed(e);
        return false;
    }
    env_.Flags->Stop = false;
    return true;
}

void TProject::EndPageFailed(const std::exception& error) {
    // The status record is still written: an end page that fails must not
    // cost the player what this run has kept.
    env_.Flags->Stop = true;
    env_.Flags->Terminating = true;
    TraceLine(std::string("the end page failed: ") + error.what());
}

std::string TProject::GetSavePath() {
    if (!SavePathKnown) {
        SavePath = env_.SaveFolder.empty() ? LocateSaveFile(env_.DataFolder.Folder, Title)
                                           : ChosenSaveFile(env_.SaveFolder);
        SavePathKnown = true;
    }
    return SavePath;
}

bool TProject::PageExists(std::string_view name) {
    if (name.empty()) return false;
    if (env_.Files->Exists(name)) return true;
    const int32_t disc = FolderDisks.Lookup(name);
    if (disc <= 0) return false;
    const std::string extension = SjisLowerCase(ExtractFileExt(name)) + ".";
    const std::string media = SjisLowerCase(MediaExtensions) + ".";
    if (SjisFind(media, extension) != std::string_view::npos) return false;
    return env_.Files->RequestDisc(disc);
}

void TProject::RequestSave(int32_t slot, std::string text, std::string afterPage, int32_t afterTarget) {
    PendingSaveSlot = slot;
    PendingSaveText = std::move(text);
    PendingSaveAfterPage = std::move(afterPage);
    PendingSaveAfterTarget = afterTarget;
}

void TProject::RequestLoad(int32_t slot) {
    PendingLoadSlot = slot;
}

std::string TProject::GetSlotCaption(int32_t slot) const {
    for (const TSaveSlot& item : SaveSlots)
        if (item.Slot == slot) return item.Caption;
    return {};
}

void TProject::SetSlotCaption(int32_t slot, std::string caption) {
    for (TSaveSlot& item : SaveSlots)
        if (item.Slot == slot) {
            item.Caption = std::move(caption);
            return;
        }
    SaveSlots.push_back({std::move(caption), slot});
}

void TProject::WriteStatusRecord() {
    if (!WriteStatus || !loaded_) return;
    std::string path;
    try {
        path = GetSavePath();
        TTpBigMemoryStream image;
        {
            TVrFileCollection saveFile;
            saveFile.Open(path);
            saveFile.RemoveFile(TStatusRecord::kEntryName);
            statusRecord_.Save(*saveFile.AddMemoryFile(std::string(TStatusRecord::kEntryName))->Data);
            saveFile.SaveToStream(image);
        }
        // Written beside the old file and renamed over it, so that a failure
        // half-way keeps every saved game.
        if (!WriteSaveFile(image, path, Report())) env_.Flags->SaveWriteFailed = true;
    } catch (const ETovaError& e) {
        Report() << "tovaplayer: the status record was not written to " << ToHostPath(path) << ": "
                 << e.what() << "\n";
        env_.Flags->SaveWriteFailed = true;
    }
}

bool TProject::IsProjectDisc(const std::string& root, int) {
    // The install set names the game; it carries no disc number of its own,
    // so every disc of the game qualifies.
    const auto installSet = ReadInstallSetFile(root + "install.dat", env_.Trace);
    return installSet && installSet->Title == Title;
}

void TProject::Terminate() {
    env_.Flags->Terminating = true;
    env_.Flags->Stop = true;
}

}  // namespace tova
