// The built-in functions about files: existence and text reading through
// the virtual file system, and copying its files out to disk folders.
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "expr/param_collection_item.h"
#include "expr/sys_func_host_util.h"
#include "expr/sys_host.h"
#include "platform/confined_folder.h"
#include "platform/file_system.h"
#include "platform/user_folders.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

void FileExistsFunc(TSysCall& call) {
    const std::string name = TextArg(call, 1);
    call.Target.SetBool(!name.empty() && call.Env.Files && call.Env.Files->Exists(name));
}

void LoadTextFile(TSysCall& call) {
    TVrFileManager* files = call.Env.Files;
    const std::string name = TextArg(call, 2);
    if (!files || name.empty() || !call.HasArg(1) || !files->Exists(name)) return;
    TTpMemoryStream content;
    files->LoadToStream(content, name);
    const std::vector<uint8_t>& bytes = content.Bytes();
    const std::vector<std::string> lines =
        SplitLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    AssignTextList(call.Arg(1), lines);
    call.Target.SetBool(!lines.empty());
}

// Whether a name matches a mask of "*" (any run) and "?" (one character),
// ignoring case; a double-byte character counts as one character.
bool MaskMatches(std::string_view name, std::string_view mask) {
    const std::string n = SjisLowerCase(name);
    const std::string m = SjisLowerCase(mask);
    const std::vector<size_t> ns = SjisCharStarts(n);
    const std::vector<size_t> ms = SjisCharStarts(m);
    auto charAt = [](const std::string& s, const std::vector<size_t>& starts, size_t i) {
        const size_t end = i + 1 < starts.size() ? starts[i + 1] : s.size();
        return std::string_view(s).substr(starts[i], end - starts[i]);
    };
    // Greedy matching with backtracking to the last star.
    size_t ni = 0, mi = 0, starMask = std::string::npos, starName = 0;
    while (ni < ns.size()) {
        if (mi < ms.size() && charAt(m, ms, mi) == "*") {
            starMask = mi++;
            starName = ni;
        } else if (mi < ms.size() && (charAt(m, ms, mi) == "?" || charAt(m, ms, mi) == charAt(n, ns, ni))) {
            ++mi;
            ++ni;
        } else if (starMask != std::string::npos) {
            mi = starMask + 1;
            ni = ++starName;
        } else {
            return false;
        }
    }
    while (mi < ms.size() && charAt(m, ms, mi) == "*")
        ++mi;
    return mi == ms.size();
}

// The virtual files that the names of argument 1 stand for, masks expanded.
std::vector<std::string> ExpandNames(TVrFileManager& files, const TCustomParam& names) {
    std::vector<std::string> result;
    const int count = names.GetCount();
    for (int i = 0; i < count; ++i) {
        const std::string name = names.GetStrAt(i);
        if (name.find_first_of("*?") == std::string::npos) {
            if (!name.empty() && files.Exists(name)) result.push_back(name);
            continue;
        }
        const size_t slash = SjisLastDelimiter(name, "\\");
        const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
        const std::string mask = name.substr(dir.size());
        std::vector<std::string> listed;
        files.ListFiles(dir, listed);
        for (std::string& file : listed)
            if (MaskMatches(file.substr(std::min(dir.size(), file.size())), mask))
                result.push_back(std::move(file));
    }
    return result;
}

// The name a virtual file is written under in the destination folder, or
// empty when the name could reach outside it: an absolute name, a drive
// letter or a ".." component is refused.
std::string DestinationName(std::string_view virtualName) {
    if (virtualName.empty() || IsPathDelimiter(virtualName.front())) return {};
    if (virtualName.size() >= 2 && std::isalpha(static_cast<unsigned char>(virtualName[0])) &&
        virtualName[1] == ':')
        return {};
    size_t start = 0;
    const std::vector<size_t> starts = SjisCharStarts(virtualName);
    for (size_t k = 0; k <= starts.size(); ++k) {
        const size_t pos = k < starts.size() ? starts[k] : virtualName.size();
        if (k < starts.size() && !IsPathDelimiter(virtualName[pos])) continue;
        if (virtualName.substr(start, pos - start) == "..") return {};
        start = pos + 1;
    }
    std::string own = ExtractFileName(virtualName);
    if (own.empty() || own == "." || own == "..") return {};
    return own;
}

// Where a script's files go: a folder below one of the allowed folders,
// reached from that folder's descriptor without following a link.
struct TScriptTarget {
    std::unique_ptr<TConfinedFolder> Root;
    THostComponents Folders;  // below Root

    bool Contains(const std::string& hostName) const {
        THostComponents path = Folders;
        path.push_back(hostName);
        return Root->Probe(path) != TPathKind::Missing;
    }
};

// Hidden names are where a desktop keeps its configuration (".bashrc",
// ".config/autostart"): a game never writes one.
bool IsHiddenName(std::string_view hostName) {
    return !hostName.empty() && hostName.front() == '.';
}

// The target for hostPath when it lies below one of roots, no folder on the
// way below the root is hidden, and nothing there is a link or a file;
// nullopt otherwise.
std::optional<TScriptTarget> ScriptTarget(const std::string& hostPath,
                                          const std::vector<std::string>& roots) {
    const std::filesystem::path target = std::filesystem::path(hostPath).lexically_normal();
    for (const std::string& root : roots) {
        const std::filesystem::path base = std::filesystem::path(root).lexically_normal();
        const std::filesystem::path relative = target.lexically_relative(base);
        if (relative.empty() || *relative.begin() == "..") continue;
        TScriptTarget result;
        for (const std::filesystem::path& part : relative) {
            if (part.empty() || part == ".") continue;
            if (IsHiddenName(part.string())) return std::nullopt;
            result.Folders.push_back(part.string());
        }
        try {
            result.Root = std::make_unique<TConfinedFolder>(base.string());
            THostComponents walked;
            for (const std::string& folder : result.Folders) {
                walked.push_back(folder);
                const TPathKind kind = result.Root->Probe(walked);
                if (kind == TPathKind::Missing) break;
                if (kind != TPathKind::Folder) return std::nullopt;
            }
            // The folder is made even when no file is written into it.
            result.Root->MakeFolders(result.Folders);
        } catch (const ETovaError&) {
            return std::nullopt;
        }
        return result;
    }
    return std::nullopt;
}

// Copies one virtual file into the folder; false when it could not be read or written.
bool CopyOut(TVrFileManager& files, const std::string& virtualName, const TScriptTarget& target,
             const std::string& hostName) {
    TTpMemoryStream content;
    try {
        files.LoadToStream(content, virtualName);
        target.Root->WriteFile(target.Folders, hostName, content.Bytes());
    } catch (const ETovaError&) {
        return false;
    }
    return true;
}

// The folders a script may extract into: the user's visible document,
// download, picture, music, video and desktop folders, and the save folder.
// None when the home folder is "/" or another user's, as for a system
// account, where those folders would be anybody's.
std::vector<std::string> AllowedTargets(TSysHost& host) {
    if (!OwnHomeFolder()) return {};
    std::vector<std::string> roots = UserFolders();
    if (const std::string saveFolder = host.Script().SaveFolder(); !saveFolder.empty())
        roots.push_back(ToHostPath(saveFolder));
    return roots;
}

// A game is not trusted with the user's files: the destination must lie
// below one of the allowed folders, no hidden folder or file is written, no
// link is followed on the way there or at the files written, and an
// existing file is replaced only when the user says so, whatever the
// script's confirm argument asks (without a person to ask: never).
void ExtractFile(TSysCall& call) {
    TVrFileManager* files = call.Env.Files;
    if (!files || !call.HasArg(1)) return;
    TSysHost& host = HostOf(call);
    std::string folder;
    if (call.HasArg(3)) {
        folder = call.Arg(3).GetStr();
    } else if (std::optional<std::string> chosen = host.Shell().SelectDirectory()) {
        folder = std::move(*chosen);
    }
    // An empty folder would mean wherever the player happens to run.
    if (folder.empty()) return;
    folder = IncludeTrailingDelimiter(std::move(folder));
    const std::optional<TScriptTarget> target = ScriptTarget(HostPathForCreate(folder), AllowedTargets(host));
    if (!target) return;

    const bool manyFiles = call.Arg(1).GetCount() >= 2;
    bool yesToAll = false;
    bool noToAll = false;
    bool written = false;
    for (const std::string& virtualName : ExpandNames(*files, call.Arg(1))) {
        const std::string own = DestinationName(virtualName);
        if (own.empty()) continue;
        const std::string hostName = ToHostPath(own);
        if (IsHiddenName(hostName)) continue;
        if (!yesToAll && target->Contains(hostName)) {
            if (noToAll) continue;
            const std::string question =
                ETovaError::Format("%s\r\n\r\n既に同名のファイルが存在します。上書きしますか？",
                                   {folder + own})
                    .Message();
            const TOverwriteAnswer answer = host.Shell().AskOverwrite(question, manyFiles);
            if (answer == TOverwriteAnswer::Cancel) break;
            if (answer == TOverwriteAnswer::NoToAll) noToAll = true;
            if (answer == TOverwriteAnswer::YesToAll) yesToAll = true;
            if (answer == TOverwriteAnswer::No || answer == TOverwriteAnswer::NoToAll) continue;
        }
        if (CopyOut(*files, virtualName, *target, hostName)) written = true;
    }
    call.Target.SetBool(written);
}

}  // namespace

void RegisterHostFileFunctions(TSysFunctionImpl* table) {
    table[71] = FileExistsFunc;
    table[72] = LoadTextFile;
    table[151] = ExtractFile;
}

}  // namespace tova
