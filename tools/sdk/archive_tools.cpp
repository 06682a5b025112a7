#include "sdk/archive_tools.h"

#include <cstdio>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "platform/file_system.h"

namespace tova::sdk {

namespace {

std::string Hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// Splits at '\' and '/' (double-byte aware).
std::vector<std::string> Components(const std::string& name) {
    std::vector<std::string> parts(1);
    ForEachSjisChar(name, [&](uint16_t code, size_t pos, size_t len) {
        if (code == '\\' || code == '/') {
            parts.emplace_back();
        } else {
            parts.back().append(name, pos, len);
        }
    });
    return parts;
}

}  // namespace

std::unique_ptr<TVrFileCollection> OpenToolArchive(const std::string& hostPath, int64_t partSize) {
    const std::string path = FromHostPath(hostPath);
    if (!FileExists(path)) throw ETovaError("no such archive: '" + hostPath + "'");
    auto archive = std::make_unique<TVrFileCollection>(partSize);
    archive->Open(path);
    return archive;
}

void ListArchive(const TVrFileCollection& archive, std::ostream& out) {
    for (int i = 0; i < archive.Count(); ++i) {
        const TVrFile& entry = *archive.Item(i);
        if (entry.GetName() == kEofEntryName) continue;
        out << Cp932ToUtf8(entry.GetName()) << '\t' << entry.Size << '\t'
            << (entry.Stored ? "stored" : "zlib") << '\t' << Hex8(entry.Crc) << '\n';
    }
}

std::optional<std::string> UnsafeNameReason(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name[0] == '\\' || name[0] == '/') return "the name is absolute";
    if (name.size() >= 2 && name[1] == ':') return "the name has a drive letter";
    for (const std::string& part : Components(name)) {
        if (part.empty()) return "the name has an empty component";
        if (part == "..") return "the name has a '..' component";
    }
    return std::nullopt;
}

std::string CrcMismatch(const TVrFile& entry, const TEntryPieces& read) {
    return "CRC " + Hex8(read.Crc) + " does not match the stored " + Hex8(entry.Crc);
}

void CatEntry(TVrFileCollection& archive, const std::string& cp932Name, std::ostream& out) {
    const TVrFile* entry = archive.Find(cp932Name);
    if (!entry || cp932Name == kEofEntryName)
        throw ETovaError::Format("%s:ファイルがありません", {cp932Name});
    archive.ReadArchivedPieces(*entry, INT64_MAX, [&out](std::span<const uint8_t> piece) {
        out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size()));
    });
}

int VerifyArchive(TVrFileCollection& archive, std::ostream& out) {
    int bad = 0;
    for (int i = 0; i < archive.Count(); ++i) {
        const TVrFile& entry = *archive.Item(i);
        if (entry.GetName() == kEofEntryName) continue;
        const std::string name = Cp932ToUtf8(entry.GetName());
        try {
            // Nothing is kept: only the bytes the CRC covers are read.
            const TEntryPieces read = archive.ReadArchivedPieces(entry, INT64_MAX, {});
            if (read.Check == TEntryCheck::BadCrc) {
                out << name << ": " << CrcMismatch(entry, read) << '\n';
                ++bad;
            }
        } catch (const ETovaError& e) {
            out << name << ": " << e.what() << '\n';
            ++bad;
        }
    }
    return bad;
}

}  // namespace tova::sdk
