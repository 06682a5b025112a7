// The running game: the project settings, the save file's location and the
// status record kept in it, the data-disc requests and the caption list of
// saved games. Its constructor loads the project; Start starts the start
// page, StartEndPage the end page, and WriteStatusRecord writes the status
// record back. The destructor only frees.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data_mount.h"
#include "engine/interpreter_host.h"
#include "engine/page_runner.h"
#include "engine/project_setting.h"
#include "engine/run_flags.h"
#include "engine/status_parts.h"
#include "engine/status_record.h"
#include "vfs/file_manager.h"

namespace tova {

class TDBManager;
class TMessageBoxHost;
class TParamCollection;
class TProject;
class TTpMemoryStream;
class TVrFileCollection;

// Everything the project works with; the pointers are not owned, must
// outlive the project and are all required.
struct TProjectEnvironment {
    std::string ExecutablePath;  // program path of the player
    TDataFolder DataFolder;      // where the game data lies
    std::string SaveFolder;      // where save.dat goes when the user chose (program path), else empty
    TVrFileManager* Files = nullptr;
    TParamCollection* Variables = nullptr;
    TMessageBoxHost* MessageBox = nullptr;
    TRunFlags* Flags = nullptr;
    TTovaReadList* ReadList = nullptr;
    TImageDepthFlag* ImageDepth = nullptr;
    TDBManager* Database = nullptr;
    // How often a data disc is asked for before giving up; 0 asks until the user does.
    int MaxDiscRequests = 0;
    std::ostream* Trace = &std::cerr;  // why a project stopped without a message box
};

// The caption of one saved game.
struct TSaveSlot {
    std::string Caption;
    int32_t Slot = 0;
};

class TProject final : public TDataDiscHost, public TInterpreterHost {
public:
    static constexpr std::string_view kSettingsFile = "tova.tpb";
    static constexpr std::string_view kOriginalSettingsFile = "/original_tova.tpb";
    static constexpr std::string_view kSaveFile = "save.dat";
    static constexpr std::string_view kGameSavePrefix = "GAMESAVEDATA";

    // Loads the project. A project that cannot be found or read leaves the
    // stop flag set; a settings file of too new a version throws
    // ETovaError("このバージョンには対応していません"), a save folder that
    // cannot be made ETovaError("データファイルを作成することができません").
    // A save file that does not read is renamed aside and the game starts
    // afresh (see OpenSaveFile).
    explicit TProject(TProjectEnvironment environment);
    ~TProject() override;
    TProject(const TProject&) = delete;
    TProject& operator=(const TProject&) = delete;

    std::string Title;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ScreenParamA = 0;
    int32_t ScreenParamB = 0;
    // The screen centre other modules read (Width div 2, Height div 2).
    int32_t CentreX = 0;
    int32_t CentreY = 0;
    std::string StartPage;
    std::string EndPage;
    std::string RegistryKey;
    int32_t ImageKey = 0;
    uint8_t WriteStatus = 1;
    uint8_t IdleSleep = 1;
    std::string MediaExtensions = "wav.wma.ogg";
    uint8_t PauseWhenInactive = 0;
    int32_t PendingLoadSlot = -1;
    int32_t PendingSaveSlot = -1;
    std::string PendingSaveText;
    std::string PendingSaveAfterPage;
    int32_t PendingSaveAfterTarget = 0;
    std::vector<TSaveSlot> SaveSlots;
    TFolderDiskList FolderDisks;
    bool SavePathKnown = false;
    std::string SavePath;
    // The data-disc request (a format with "%d") and the quit confirmation.
    std::array<std::string, 2> DiscMessages;

    // Whether the project was loaded and may run: the stop flag was cleared.
    bool Loaded() const { return loaded_ && !env_.Flags->Stop; }
    // Starts the runner on the start page. A start page that does not exist
    // is shown in a message box and leaves the stop flag set.
    void Start(TPageRunner& runner);
    // Starts the runner on the end page and clears the stop flag, so that
    // the page runs over the following frames. False when there is no end
    // page or it cannot be started (traced; the stop flag stays set and the
    // program is marked as terminating).
    bool StartEndPage(TPageRunner& runner);
    // Records an end page that failed while it ran.
    void EndPageFailed(const std::exception& error);

    // The chosen save folder's "save.dat" (ChosenSaveFile), else
    // LocateSaveFile of the data folder; computed once.
    std::string GetSavePath();
    // Whether a page can be switched to: it resolves, or its folder is on a
    // data disc that the user inserts (media files never ask for a disc).
    bool PageExists(std::string_view name) override;
    // The GameSave and GameLoad requests, carried out after the frame's
    // interpreter work.
    void RequestSave(int32_t slot, std::string text, std::string afterPage, int32_t afterTarget) override;
    void RequestLoad(int32_t slot) override;
    // The caption of a slot, empty when it has none.
    std::string GetSlotCaption(int32_t slot) const;
    void SetSlotCaption(int32_t slot, std::string caption);
    // Writes the status record into the save file when WriteStatus is set
    // and the project was loaded. The save file is replaced as a whole, never
    // left half-written; a failure is reported with the file's real path and
    // sets the run flag SaveWriteFailed.
    void WriteStatusRecord();

    // The data-disc host of the file system.
    bool IsProjectDisc(const std::string& root, int discIndex) override;
    std::string ApplicationTitle() override { return Title; }
    std::string DiscRequestMessage() override { return DiscMessages[0]; }
    std::string QuitConfirmMessage() override { return DiscMessages[1]; }
    void Terminate() override;

private:
    void Load();
    bool ReadSettings(TProjectSetting& setting);
    void ApplySettings(const TProjectSetting& setting);
    void LoadSaveFile(TVrFileCollection& saveFile);
    void RestoreSaveEntries(TVrFileCollection& saveFile);
    void AddProjectVariables(const std::vector<TParamData>& definitions);
    void RebuildSaveSlots(TVrFileCollection& saveFile);
    void ReadOriginalFolderDisks();
    void TraceLine(const std::string& utf8Line) const;
    // Where the user is told of a damaged or unwritable save file.
    std::ostream& Report() const;

    TProjectEnvironment env_;
    TVariableStatusPart variablesPart_;
    TReadListStatusPart readListPart_;
    TImageDepthStatusPart imageDepthPart_;
    TDatabaseStatusPart databasePart_;
    TStatusRecord statusRecord_;
    bool loaded_ = false;  // the save file was read: the status record may be written back
};

}  // namespace tova
