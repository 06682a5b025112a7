#include "sdk/archive_extract.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "platform/confined_folder.h"
#include "sdk/archive_tools.h"

namespace tova::sdk {

namespace {

// Longest file name most Linux file systems take.
constexpr size_t kMaxHostName = 255;

struct TPlannedFile {
    const TVrFile* entry;
    THostComponents folders;
    std::string name;
};

std::string JoinHost(const THostComponents& path) {
    std::string joined;
    for (const std::string& part : path)
        joined += (joined.empty() ? "" : "/") + part;
    return joined;
}

[[noreturn]] void Refuse(const TVrFile& entry, const std::string& reason) {
    throw ETovaError(
        Utf8ToCp932Lossy("refusing to extract '" + Cp932ToUtf8(entry.GetName()) + "': " + reason));
}

// The host components of an entry's name: "." components dropped, every
// other one converted to UTF-8 only when it converts back unchanged.
THostComponents HostComponentsOf(const TVrFile& entry) {
    if (const auto reason = UnsafeNameReason(entry.GetName())) Refuse(entry, *reason);
    THostComponents path;
    std::string part;
    const std::string& name = entry.GetName();
    const auto finish = [&] {
        if (part == ".") return;
        if (part.find('\0') != std::string::npos) Refuse(entry, "the name holds a NUL byte");
        std::string host = Cp932ToUtf8(part);
        // Bytes that are no code page 932 character would become U+FFFD:
        // two different names could then meet in one host file.
        if (host.find("\xEF\xBF\xBD") != std::string::npos)
            Refuse(entry, "the name is not valid code page 932");
        if (host.size() > kMaxHostName) Refuse(entry, "a component is longer than a host file name may be");
        path.push_back(std::move(host));
    };
    ForEachSjisChar(name, [&](uint16_t code, size_t pos, size_t len) {
        if (code == '\\' || code == '/') {
            finish();
            part.clear();
        } else {
            part.append(name, pos, len);
        }
    });
    finish();
    if (path.empty()) Refuse(entry, "the name names the folder itself");
    return path;
}

// Every entry's path, checked against the other entries: one path is
// either a folder or one file.
std::vector<TPlannedFile> PlanFiles(const TVrFileCollection& archive,
                                    std::map<std::string, THostComponents>& folders) {
    enum class TKind { Folder, File };
    std::unordered_map<std::string, TKind> kinds;
    std::vector<TPlannedFile> files;
    for (int i = 0; i < archive.Count(); ++i) {
        const TVrFile& entry = *archive.Item(i);
        if (entry.GetName() == kEofEntryName) continue;
        THostComponents path = HostComponentsOf(entry);
        std::string prefix;
        for (size_t k = 0; k + 1 < path.size(); ++k) {
            prefix += (k == 0 ? "" : "/") + path[k];
            const auto [it, added] = kinds.emplace(prefix, TKind::Folder);
            if (it->second == TKind::File)
                Refuse(entry, "'" + prefix + "' is a file of this archive, not a folder");
            if (added)
                folders.emplace(prefix,
                                THostComponents(path.begin(), path.begin() + static_cast<long>(k) + 1));
        }
        const std::string whole = JoinHost(path);
        const auto [it, added] = kinds.emplace(whole, TKind::File);
        if (!added)
            Refuse(entry, it->second == TKind::Folder
                              ? "'" + whole + "' is a folder of this archive, not a file"
                              : "another entry has the same path");
        std::string name = std::move(path.back());
        path.pop_back();
        files.push_back({&entry, std::move(path), std::move(name)});
    }
    return files;
}

// What stands in the target already: folders may be reused and regular
// files replaced, anything else (a link above all) stops the extraction.
void CheckTarget(const TConfinedFolder& target, const std::map<std::string, THostComponents>& folders,
                 const std::vector<TPlannedFile>& files, const std::string& hostDir) {
    std::unordered_map<std::string, bool> missing;  // folder -> does not exist yet
    // A map sorts every folder after its parent.
    for (const auto& [joined, path] : folders) {
        const size_t slash = joined.rfind('/');
        if (slash != std::string::npos && missing.at(joined.substr(0, slash))) {
            missing.emplace(joined, true);
            continue;
        }
        const TPathKind kind = target.Probe(path);
        if (kind == TPathKind::File || kind == TPathKind::Other)
            throw ETovaError(Utf8ToCp932Lossy(
                "refusing to extract into '" + hostDir + "': '" + joined + "' is " +
                (kind == TPathKind::File ? "a file" : "a link or special file") + ", not a folder"));
        missing.emplace(joined, kind == TPathKind::Missing);
    }
    for (const TPlannedFile& file : files) {
        if (!file.folders.empty() && missing.at(JoinHost(file.folders))) continue;
        THostComponents path = file.folders;
        path.push_back(file.name);
        const TPathKind kind = target.Probe(path);
        if (kind == TPathKind::Folder || kind == TPathKind::Other)
            throw ETovaError(
                Utf8ToCp932Lossy("refusing to extract into '" + hostDir + "': '" + JoinHost(path) + "' is " +
                                 (kind == TPathKind::Folder ? "a folder" : "a link or special file") +
                                 ", not a regular file"));
    }
}

}  // namespace

int ExtractArchive(TVrFileCollection& archive, const std::string& hostDir, const TExtractOptions& options,
                   std::ostream& err) {
    std::map<std::string, THostComponents> folders;
    const std::vector<TPlannedFile> files = PlanFiles(archive, folders);
    TConfinedFolder target(hostDir);
    CheckTarget(target, folders, files, hostDir);

    const int64_t budget = options.maxBytes ? *options.maxBytes : target.FreeBytes();
    const auto overBudget = [&](const std::string& name) {
        return ETovaError(Utf8ToCp932Lossy(
            "extraction stopped at '" + name + "': the entries inflate to more than " +
            std::to_string(budget) + " bytes (" +
            (options.maxBytes ? "the --max-size limit" : "the free space below '" + hostDir + "'") +
            "); --max-size BYTES sets the limit"));
    };
    int64_t written = 0;
    int bad = 0;
    for (const TPlannedFile& file : files) {
        const TVrFile& entry = *file.entry;
        const std::string name = Cp932ToUtf8(entry.GetName());
        // A stored entry's plain size is its stored size: known before reading.
        if (entry.Stored && entry.Size > budget - written) throw overBudget(name);
        // Each entry streams into its file; the file is put in place only
        // once its CRC held, else it goes and the entry counts as bad.
        const std::unique_ptr<TConfinedFile> out = target.CreateFile(file.folders, file.name);
        bool writing = false;
        TEntryPieces read;
        try {
            read = archive.ReadArchivedPieces(entry, budget - written, [&](std::span<const uint8_t> piece) {
                writing = true;
                out->Write(piece);
                writing = false;
            });
        } catch (const ETovaError& e) {
            if (writing) throw;
            err << "tova: " << name << ": " << Cp932ToUtf8(e.Message()) << "\n";
            ++bad;
            continue;
        }
        if (read.Check == TEntryCheck::OverLimit) throw overBudget(name);
        if (read.Check == TEntryCheck::BadCrc) {
            err << "tova: " << name << ": " << CrcMismatch(entry, read) << "\n";
            ++bad;
            continue;
        }
        out->Commit();
        written += read.PlainSize;
    }
    return bad;
}

}  // namespace tova::sdk
