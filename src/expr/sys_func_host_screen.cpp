// The built-in functions about the screen, the desktop, save slots, the
// message history and the system dialogs.
#include "core/path_names.h"
#include "core/sjis.h"
#include "expr/param_collection_item.h"
#include "expr/sys_func_host_util.h"
#include "expr/sys_host.h"
#include "platform/file_system.h"

namespace tova {
namespace {

void GetSaveCaption(TSysCall& call) {
    call.Target.SetStr(HostOf(call).Script().SaveCaption(IntArg(call, 1)));
}

void ListSaveCaption(TSysCall& call) {
    const std::vector<TSaveCaption> captions = HostOf(call).Script().SaveCaptions();
    if (call.HasArg(1)) {
        std::vector<std::string> texts;
        for (const TSaveCaption& c : captions)
            texts.push_back(c.Caption);
        AssignTextList(call.Arg(1), texts);
    }
    if (call.HasArg(2)) {
        std::vector<int32_t> slots;
        for (const TSaveCaption& c : captions)
            slots.push_back(c.Slot);
        AssignIntList(call.Arg(2), slots);
    }
    call.Target.SetInt(static_cast<int32_t>(captions.size()));
}

void GetDisplayMode(TSysCall& call) {
    const std::vector<TDisplayMode> modes = HostOf(call).Shell().DisplayModes();
    const int32_t index = IntArg(call, 1);
    if (index < 0 || static_cast<size_t>(index) >= modes.size() || call.ArgCount() < 5) return;
    const TDisplayMode& mode = modes[static_cast<size_t>(index)];
    call.Arg(2).SetInt(mode.Width);
    call.Arg(3).SetInt(mode.Height);
    call.Arg(4).SetInt(mode.Depth);
    call.Arg(5).SetInt(mode.Refresh);
    call.Target.SetBool(true);
}

void SetWallPaper(TSysCall& call) {
    call.Target.SetBool(HostOf(call).Shell().SetWallPaper(TextArg(call, 1), IntArg(call, 2)));
}

void OpenUrl(TSysCall& call) {
    const std::string target = TextArg(call, 1);
    if (target.empty()) return;
    const bool url = target.starts_with("http") || target.starts_with("ftp");
    if (url || DirectoryExists(target)) HostOf(call).Shell().OpenUrl(target);
}

void SaveScreen(TSysCall& call) {
    TSysHost& host = HostOf(call);
    TSaveScreenRequest request;
    request.Name = TextArg(call, 1);
    if (!SjisSameText(ExtractFileExt(request.Name), ".brz")) return;
    request.Width = IntArg(call, 2) != 0 ? IntArg(call, 2) : host.Script().ScreenWidth();
    request.Height = IntArg(call, 3) != 0 ? IntArg(call, 3) : host.Script().ScreenHeight();
    if (request.Width < 1 || request.Height < 1) return;
    request.Back = BoolArg(call, 4);
    request.Mode = IntArg(call, 5);
    call.Target.SetBool(host.Components().SaveScreen(request));
}

void GetHistoryCount(TSysCall& call) {
    call.Target.SetInt(HostOf(call).History().HistoryCount(TextArg(call, 1)));
}

void GetHistoryMaxCount(TSysCall& call) {
    call.Target.SetInt(HostOf(call).History().HistoryMaxCount(TextArg(call, 1)));
}

void SetHistoryMaxCount(TSysCall& call) {
    call.Target.SetBool(HostOf(call).History().SetHistoryMaxCount(TextArg(call, 1), IntArg(call, 2)));
}

// On OK the choice goes into argument 1 and the result is true.
void Chosen(TSysCall& call, const std::optional<std::string>& choice) {
    if (!choice || !call.HasArg(1)) return;
    call.Arg(1).SetStr(*choice);
    call.Target.SetBool(true);
}

void SelectOpenFile(TSysCall& call) {
    Chosen(call, HostOf(call).Shell().SelectOpenFile(TextArg(call, 2)));
}

void SelectSaveFile(TSysCall& call) {
    Chosen(call, HostOf(call).Shell().SelectSaveFile(TextArg(call, 2)));
}

void SelectDirectory(TSysCall& call) {
    std::optional<std::string> folder = HostOf(call).Shell().SelectDirectory();
    if (folder) folder = IncludeTrailingDelimiter(std::move(*folder));
    Chosen(call, folder);
}

}  // namespace

void RegisterHostScreenFunctions(TSysFunctionImpl* table) {
    table[27] = GetSaveCaption;
    table[65] = GetDisplayMode;
    table[125] = SetWallPaper;
    table[134] = ListSaveCaption;
    table[135] = OpenUrl;
    table[137] = SaveScreen;
    table[142] = GetHistoryCount;
    table[143] = GetHistoryMaxCount;
    table[144] = SetHistoryMaxCount;
    table[148] = SelectOpenFile;
    table[149] = SelectSaveFile;
    table[150] = SelectDirectory;
}

}  // namespace tova
