#include "engine/data_locator.h"

#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

constexpr std::string_view kInstallSet = "install.dat";
constexpr std::string_view kGameData = "game.dat";

void TraceLine(std::ostream* trace, const std::string& line) {
    if (trace) *trace << "tovaplayer: " << line << "\n";
}

// A CD root whose install set has the title: its game.dat is mounted.
bool SearchDiscs(TVrFileManager& files, const std::string& title, std::ostream* trace) {
    for (const std::string& root : files.CdRoots()) {
        const std::string installSet = root + std::string(kInstallSet);
        const std::string gameData = root + std::string(kGameData);
        if (!FileExists(gameData) || !FileExists(installSet)) continue;
        const auto disc = ReadInstallSetFile(installSet, trace);
        if (!disc || disc->Title != title) continue;
        files.AddArchive(gameData);
        return true;
    }
    return false;
}

}  // namespace

std::optional<TTovaInstallSet> ReadInstallSetFile(std::string_view programPath, std::ostream* trace) {
    try {
        TFileStream file(programPath, fmOpenRead | fmShareDenyWrite);
        TTovaInstallSet installSet;
        installSet.LoadFromStream(file);
        return installSet;
    } catch (const ETovaError& e) {
        TraceLine(trace, Cp932ToUtf8(programPath) + ": " + e.what());
        return std::nullopt;
    }
}

std::optional<TTovaInstallSet> LocateData(TVrFileManager& files, std::string_view executablePath,
                                          TMessageBoxHost& messageBox, const TDataLocatorOptions& options) {
    const std::string folder = IncludeTrailingDelimiter(ExtractFilePath(executablePath));
    if (FileExists(folder + std::string(kInstallSet)) && files.DataDir().empty()) files.SetDataDir(folder);
    const std::string information = SysText("情報");
    if (!files.Exists(kInstallSet)) {
        messageBox.Show(information, SysText("インストールし直してください"), TMessageButtons::Ok);
        return std::nullopt;
    }

    TTovaInstallSet local;
    try {
        TTpMemoryStream content;
        files.LoadToStream(content, kInstallSet);
        local.LoadFromStream(content);
    } catch (const ETovaError& e) {
        TraceLine(options.Trace, std::string(kInstallSet) + ": " + e.what());
        return std::nullopt;
    }

    if (FileExists(folder + std::string(kGameData))) files.AddArchive(folder + std::string(kGameData));
    if (local.DataInstalled) return local;

    if (SearchDiscs(files, local.Title, options.Trace)) return local;
    for (int asked = 1;; ++asked) {
        // OK looks again; Cancel asks whether to give up, and not giving up
        // looks again too.
        if (messageBox.Show(information, SysText("ディスクを入れてください"), TMessageButtons::OkCancel) !=
                TMessageResult::Ok &&
            messageBox.Show(options.QuitCaption, options.QuitMessage, TMessageButtons::OkCancel) ==
                TMessageResult::Ok)
            return std::nullopt;
        if (SearchDiscs(files, local.Title, options.Trace)) return local;
        if (options.MaxDiscRequests > 0 && asked >= options.MaxDiscRequests) return std::nullopt;
    }
}

}  // namespace tova
