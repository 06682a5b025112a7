#include "sdk/archive_extract.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <variant>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "platform/confined_folder.h"
#include "sdk/archive_tools.h"
#include "vfs/zlib_codec.h"

namespace tova::sdk {

namespace {

// Longest file name most Linux file systems take.
constexpr size_t kMaxHostName = 255;

struct TPlannedFile {
    const TVrFile* entry;
    THostComponents folders;
    std::string name;
};

std::string Hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

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

// The entry's plain bytes when its CRC holds (archives before version 101
// have none: inflating is the check), else a reason.
std::variant<std::vector<uint8_t>, std::string> ReadChecked(TVrFileCollection& archive, const TVrFile& entry,
                                                            int64_t budgetLeft, bool& overBudget) {
    // A stored entry's plain size is its stored size: known before reading.
    overBudget = entry.Stored && entry.Size > budgetLeft;
    if (overBudget) return std::string();
    std::vector<uint8_t> stored = archive.ReadStored(entry);
    const bool hasCrc = archive.Version > 100;
    if (hasCrc && !entry.CrcOfPlain && Crc32(stored) != entry.Crc)
        return "CRC " + Hex8(Crc32(stored)) + " does not match the stored " + Hex8(entry.Crc);
    std::vector<uint8_t> plain;
    if (entry.Stored) {
        plain = std::move(stored);
    } else if (!stored.empty()) {
        std::optional<std::vector<uint8_t>> inflated = InflateWithin(stored, budgetLeft);
        overBudget = !inflated;
        if (overBudget) return std::string();
        plain = std::move(*inflated);
    }
    if (hasCrc && entry.CrcOfPlain && Crc32(plain) != entry.Crc)
        return "CRC " + Hex8(Crc32(plain)) + " does not match the stored " + Hex8(entry.Crc);
    return plain;
}

}  // namespace

int ExtractArchive(TVrFileCollection& archive, const std::string& hostDir, const TExtractOptions& options,
                   std::ostream& err) {
    std::map<std::string, THostComponents> folders;
    const std::vector<TPlannedFile> files = PlanFiles(archive, folders);
    TConfinedFolder target(hostDir);
    CheckTarget(target, folders, files, hostDir);

    const int64_t budget = options.maxBytes ? *options.maxBytes : target.FreeBytes();
    int64_t written = 0;
    int bad = 0;
    for (const TPlannedFile& file : files) {
        const std::string name = Cp932ToUtf8(file.entry->GetName());
        bool overBudget = false;
        std::variant<std::vector<uint8_t>, std::string> result;
        try {
            result = ReadChecked(archive, *file.entry, budget - written, overBudget);
        } catch (const ETovaError& e) {
            result = Cp932ToUtf8(e.Message());
        }
        if (overBudget)
            throw ETovaError(Utf8ToCp932Lossy(
                "extraction stopped at '" + name + "': the entries inflate to more than " +
                std::to_string(budget) + " bytes (" +
                (options.maxBytes ? "the --max-size limit" : "the free space below '" + hostDir + "'") +
                "); --max-size BYTES sets the limit"));
        if (const auto* reason = std::get_if<std::string>(&result)) {
            err << "tova: " << name << ": " << *reason << "\n";
            ++bad;
            continue;
        }
        const auto& plain = std::get<std::vector<uint8_t>>(result);
        target.WriteFile(file.folders, file.name, plain);
        written += static_cast<int64_t>(plain.size());
    }
    return bad;
}

}  // namespace tova::sdk
