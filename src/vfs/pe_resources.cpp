// The resource directory of a PE image, read straight from the file: only the
// headers, the section table and the directory entries on the way to the one
// resource are read, never the resource data itself, which may be large.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/resource_locator.h"

namespace tova {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr int64_t kSectionHeaderSize = 40;
constexpr int64_t kDirectoryHeaderSize = 16;
constexpr int64_t kDirectoryEntrySize = 8;
constexpr int64_t kDataEntrySize = 16;

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct TSection {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawPointer;
};

// A resource key: a numeric id ("#123") or a name.
using TResourceKey = std::variant<uint16_t, std::string>;

TResourceKey ParseKey(std::string_view text) {
    if (text.size() >= 2 && text.size() <= 6 && text[0] == '#' &&
        std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const unsigned long id = std::stoul(std::string(text.substr(1)));
        if (id <= 0xFFFF) return static_cast<uint16_t>(id);
    }
    return std::string(text);
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// UTF-16LE units to code page 932; a lone surrogate becomes U+FFFD.
std::string Utf16ToCp932(const std::vector<uint8_t>& bytes) {
    std::string utf8;
    bool ascii = true;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = U16(bytes, i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = U16(bytes, i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
        ascii = ascii && cp < 0x80;
        AppendUtf8(utf8, cp);
    }
    return ascii ? utf8 : Utf8ToCp932Lossy(utf8);
}

class TPeImage {
public:
    TPeImage(std::string_view path, TFileStream& file)
        : path_(path), file_(file), fileSize_(file.GetSize()) {}

    // False when the file is no PE image or has no resource table.
    bool LocateResources() {
        if (fileSize_ < 0x40) return false;
        const auto dos = ReadAt(0, 0x40);
        if (dos[0] != 'M' || dos[1] != 'Z') return false;
        const int64_t peOffset = U32(dos, 0x3C);
        if (peOffset + 24 > fileSize_) return false;
        const auto coff = ReadAt(peOffset, 24);
        if (coff[0] != 'P' || coff[1] != 'E' || coff[2] != 0 || coff[3] != 0) return false;
        const uint16_t sectionCount = U16(coff, 6);
        const uint16_t optionalSize = U16(coff, 20);
        const auto optional = ReadAt(peOffset + 24, optionalSize);
        if (optionalSize < 2) Damaged();
        const uint16_t magic = U16(optional, 0);
        size_t countAt = 0;
        if (magic == 0x10B) {
            countAt = 92;
        } else if (magic == 0x20B) {
            countAt = 108;
        } else {
            return false;
        }
        if (optional.size() < countAt + 4) Damaged();
        if (U32(optional, countAt) < 3) return false;
        const size_t resourceEntryAt = countAt + 4 + 2 * 8;
        if (optional.size() < resourceEntryAt + 8) Damaged();
        const uint32_t resourceRva = U32(optional, resourceEntryAt);
        if (resourceRva == 0 || U32(optional, resourceEntryAt + 4) == 0) return false;

        const auto table = ReadAt(peOffset + 24 + optionalSize, sectionCount * kSectionHeaderSize);
        for (size_t i = 0; i < sectionCount; ++i) {
            const size_t at = i * kSectionHeaderSize;
            sections_.push_back({U32(table, at + 12), U32(table, at + 16), U32(table, at + 20)});
        }
        const auto region = MapRva(resourceRva);
        if (!region) Damaged();
        resourceStart_ = region->first;
        resourceLength_ = region->second;
        return true;
    }

    std::optional<TResourceLocation> Find(const TResourceKey& name, const TResourceKey& type) {
        // Three levels: type, name, language. Only matching subdirectories
        // are entered, so the walk ends after three directories whatever the
        // offsets point at.
        const auto typeDir = FindEntry(0, type);
        if (!typeDir) return std::nullopt;
        const auto nameDir = FindEntry(SubdirectoryOffset(*typeDir), name);
        if (!nameDir) return std::nullopt;
        const auto languages = ReadDirectory(SubdirectoryOffset(*nameDir));
        if (languages.empty()) return std::nullopt;
        const uint32_t dataOffset = languages.front().second;
        if ((dataOffset & kHighBit) != 0) Damaged();
        const auto entry = ReadResource(dataOffset, kDataEntrySize);
        const uint32_t dataRva = U32(entry, 0);
        const uint32_t dataSize = U32(entry, 4);
        const auto data = MapRva(dataRva);
        if (!data || data->second < dataSize) Damaged();
        TResourceLocation location;
        location.fileName = path_;
        location.offset = data->first;
        location.size = dataSize;
        return location;
    }

private:
    using TEntry = std::pair<uint32_t, uint32_t>;  // name field, offset field

    [[noreturn]] void Damaged() const { throw ETovaError::Format("%s: damaged resource directory", {path_}); }

    std::vector<uint8_t> ReadAt(int64_t offset, int64_t count) {
        if (offset < 0 || count < 0 || offset > fileSize_ || count > fileSize_ - offset) Damaged();
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        file_.Seek(offset, TSeekOrigin::Beginning);
        file_.ReadBuffer(bytes.data(), count);
        return bytes;
    }

    // Offsets inside the resource directory are relative to its start.
    std::vector<uint8_t> ReadResource(int64_t offset, int64_t count) {
        if (offset > resourceLength_ || count > resourceLength_ - offset) Damaged();
        return ReadAt(resourceStart_ + offset, count);
    }

    // The file offset of an RVA and the bytes of its section's raw data
    // that follow it in the file.
    std::optional<std::pair<int64_t, int64_t>> MapRva(uint32_t rva) const {
        for (const TSection& s : sections_) {
            if (rva < s.virtualAddress || rva - s.virtualAddress >= s.rawSize) continue;
            const int64_t offset = int64_t{s.rawPointer} + (rva - s.virtualAddress);
            if (offset >= fileSize_) return std::nullopt;
            return std::pair{offset,
                             std::min<int64_t>(s.rawSize - (rva - s.virtualAddress), fileSize_ - offset)};
        }
        return std::nullopt;
    }

    std::vector<TEntry> ReadDirectory(uint32_t offset) {
        const auto header = ReadResource(offset, kDirectoryHeaderSize);
        const int64_t count = int64_t{U16(header, 12)} + U16(header, 14);
        const auto raw = ReadResource(int64_t{offset} + kDirectoryHeaderSize, count * kDirectoryEntrySize);
        std::vector<TEntry> entries;
        for (size_t at = 0; at < raw.size(); at += kDirectoryEntrySize)
            entries.emplace_back(U32(raw, at), U32(raw, at + 4));
        return entries;
    }

    uint32_t SubdirectoryOffset(const TEntry& entry) const {
        if ((entry.second & kHighBit) == 0) Damaged();
        return entry.second & ~kHighBit;
    }

    bool Matches(uint32_t nameField, const TResourceKey& key) {
        if ((nameField & kHighBit) == 0)
            return std::holds_alternative<uint16_t>(key) && std::get<uint16_t>(key) == nameField;
        if (!std::holds_alternative<std::string>(key)) return false;
        const int64_t at = nameField & ~kHighBit;
        const uint16_t length = U16(ReadResource(at, 2), 0);
        return SjisSameText(Utf16ToCp932(ReadResource(at + 2, int64_t{length} * 2)),
                            std::get<std::string>(key));
    }

    std::optional<TEntry> FindEntry(uint32_t directoryOffset, const TResourceKey& key) {
        for (const TEntry& entry : ReadDirectory(directoryOffset))
            if (Matches(entry.first, key)) return entry;
        return std::nullopt;
    }

    std::string path_;
    TFileStream& file_;
    int64_t fileSize_;
    std::vector<TSection> sections_;
    int64_t resourceStart_ = 0;
    int64_t resourceLength_ = 0;
};

}  // namespace

std::optional<TResourceLocation> FindPeResource(std::string_view programPath, std::string_view name,
                                                std::string_view type) {
    if (!FileExists(programPath)) return std::nullopt;
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(programPath, fmOpenRead | fmShareDenyNone);
    } catch (const ETovaError&) {
        return std::nullopt;  // a module that cannot be read has no resources to give
    }
    TPeImage image(programPath, *file);
    if (!image.LocateResources()) return std::nullopt;
    return image.Find(ParseKey(name), ParseKey(type));
}

}  // namespace tova
