#include "vfs/file_collection.h"

#include <cstring>
#include <unordered_set>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/name_scramble.h"
#include "vfs/zlib_codec.h"

namespace tova {

namespace {

// Names are at least their int32 length; offsets 4 or 8 bytes; the tables
// of version 101 and later 10 bytes an entry, 11 in version 102.
int64_t MinimumDirectoryBytes(int version, int64_t count) {
    const int64_t offsetSize = version > 100 ? 8 : 4;
    int64_t bytes = count * 4 + (count + 1) * offsetSize;
    if (version > 100) bytes += count * (version >= 102 ? 10 : 9);
    return bytes;
}

// Executables carry their archive in front of a trailer. Windows ones are
// known by their extension; a player for this system has none, so an
// executable header at the start of the file counts too ("MZ" or ELF, which
// no directory can start with when it ends in the trailer).
bool IsExecutable(std::string_view fileName, TTpBigStream& file) {
    const std::string ext = SjisUpperCase(ExtractFileExt(fileName));
    if (ext == ".EXE" || ext == ".SCR") return true;
    char magic[4] = {};
    file.SetPosition(0);
    const int64_t got = file.Read(magic, 4);
    return (got >= 2 && std::memcmp(magic, "MZ", 2) == 0) || (got == 4 && std::memcmp(magic,
                                                                                      "\x7F"
                                                                                      "ELF",
                                                                                      4) == 0);
}

}  // namespace

void TVrFileCollection::Reset() {
    Clear();
    ArchiveStream.reset();
    resource_.reset();
}

void TVrFileCollection::RaiseDamaged(const std::string& detail) const {
    throw ETovaError(TErrorKind::DamagedArchive, "damaged archive '" + FileName + "': " + detail);
}

void TVrFileCollection::Open(std::string_view fileName) {
    Reset();
    FileName = std::string(fileName);
    if (fileName.empty()) return;
    const bool exists = FileExists(fileName);
    BaseDir = IncludeTrailingDelimiter(exists ? ExtractFilePath(fileName) : std::string(fileName));
    if (!exists) return;

    ArchiveStream = std::make_unique<TTpBigFileStream>(fileName, fmOpenRead | fmShareDenyWrite, partSize_);
    TTpBigStream& archive = *ArchiveStream;
    const int64_t size = archive.GetSize();
    try {
        if (IsExecutable(fileName, archive)) {
            // An executable carries its archive in front of a trailer: int32
            // start of the archive, then "tz". Without the trailer it has none.
            if (size < 6) return;
            archive.SetPosition(size - 6);
            const int32_t start = ReadI32(archive);
            char tag[2];
            archive.ReadBuffer(tag, 2);
            if (std::memcmp(tag, "tz", 2) != 0) return;
            if (start < 0 || start > size - 6) RaiseDamaged("the trailer points outside the file");
            archive.SetPosition(start);
            ReadDirectoryFrom(archive, size - 6);
            return;
        }
        const std::string extName = ChangeFileExt(fileName, ".ext");
        if (FileExists(extName)) {
            // The directory lives in its own file; offsets count from the
            // start of the data file.
            TTpBigMemoryStream directory;
            directory.LoadFromFile(extName);
            ReadDirectoryFrom(directory, size);
            return;
        }
        archive.SetPosition(0);
        ReadDirectoryFrom(archive, size);
    } catch (const ETovaError& e) {
        Clear();
        if (e.Kind() == TErrorKind::DamagedArchive) throw;
        RaiseDamaged(e.Message());
    }
}

void TVrFileCollection::OpenResource(const TResourceLocator& locator, std::string_view moduleName,
                                     std::string_view resName, std::string_view resType) {
    Reset();
    FileName = std::string(moduleName) + ":" + std::string(resName);
    // A module other than the player that cannot be read gives no entries.
    if (!locator.IsOwnModule(moduleName) && !FileExists(moduleName)) return;
    const std::optional<TResourceLocation> location = locator.Find(moduleName, resName, resType);
    if (!location || location->size == 0) throw ETovaError(SysText("リソースが見つかりません"));
    resource_ = *location;
    ArchiveStream =
        std::make_unique<TTpBigResourceStream>(*location, std::string(resName), std::string(resType));
    try {
        ArchiveStream->SetPosition(0);
        ReadDirectoryFrom(*ArchiveStream, ArchiveStream->GetSize());
    } catch (const ETovaError& e) {
        Clear();
        if (e.Kind() == TErrorKind::DamagedArchive) throw;
        RaiseDamaged(e.Message());
    }
}

void TVrFileCollection::ReadDirectory(TTpBigStream& stream) {
    try {
        ReadDirectoryFrom(stream, stream.GetSize());
    } catch (const ETovaError& e) {
        Clear();
        if (e.Kind() == TErrorKind::DamagedArchive) throw;
        RaiseDamaged(e.Message());
    }
}

void TVrFileCollection::ReadDirectoryFrom(TTpBigStream& directory, int64_t dataSize) {
    const int64_t base = directory.GetPosition();
    int version = 0;
    char magic[2] = {};
    if (directory.Read(magic, 2) == 2 && std::memcmp(magic, "vf", 2) == 0) {
        version = ReadI32(directory);
        if (version != 100 && version != 101 && version != 102)
            RaiseDamaged("unknown directory version " + std::to_string(version));
    } else {
        directory.SetPosition(base);
    }
    Version = version;
    const int32_t count = ReadI32(directory);
    if (count < 0 || MinimumDirectoryBytes(version, count) > directory.Remaining())
        RaiseDamaged("the directory declares " + std::to_string(count) +
                     " entries but ends before their tables");

    // Each name goes straight into its entry: a directory of millions of
    // names is never held twice.
    Clear();
    {
        TTpBuffBigStream buffered(directory);
        TNameScrambler scrambler;
        for (int32_t i = 0; i < count; ++i) {
            std::string name = ReadString(buffered);
            if (version > 99) scrambler.Apply(name);
            AddFile(std::move(name));
        }
    }
    TVrFile* eof = AddFile(std::string(kEofEntryName));

    std::vector<int64_t> offsets(static_cast<size_t>(count) + 1);
    if (MinimumDirectoryBytes(version, count) - count * 4 > directory.Remaining())
        RaiseDamaged("the directory ends before its offset tables");
    const int64_t offsetSize = version > 100 ? 8 : 4;
    const std::vector<uint8_t> offsetBytes = ReadBytes(directory, (int64_t{count} + 1) * offsetSize);
    for (size_t i = 0; i < offsets.size(); ++i) {
        const uint8_t* p = &offsetBytes[i * static_cast<size_t>(offsetSize)];
        offsets[i] = version > 100 ? static_cast<int64_t>(LoadLE64(p)) : static_cast<int32_t>(LoadLE32(p));
    }
    if (version == 100) ScrambleOffsets32(offsets);
    if (version > 100) ScrambleOffsets64(offsets);

    if (version > 100) {
        const std::vector<uint8_t> stored = ReadBytes(directory, count);
        const std::vector<uint8_t> ages = ReadBytes(directory, int64_t{count} * 4);
        const std::vector<uint8_t> crcs = ReadBytes(directory, int64_t{count} * 4);
        std::vector<uint8_t> crcOfPlain(static_cast<size_t>(count), 0);
        if (version >= 102) crcOfPlain = ReadBytes(directory, count);
        for (int i = 0; i < count; ++i) {
            TVrFile& entry = *Item(i);
            const size_t k = static_cast<size_t>(i);
            entry.Stored = stored[k] != 0;
            entry.Age = static_cast<int32_t>(LoadLE32(&ages[k * 4]));
            entry.Crc = LoadLE32(&crcs[k * 4]);
            entry.CrcOfPlain = crcOfPlain[k] != 0;
        }
    }

    // Every entry must lie inside the data, in directory order.
    const int64_t limit = dataSize - base;
    for (size_t i = 0; i <= static_cast<size_t>(count); ++i) {
        const int64_t offset = offsets[i];
        if (offset < 0 || offset > limit)
            RaiseDamaged("the offset of entry " + std::to_string(i) + " lies outside the archive");
        if (i > 0 && offset < offsets[i - 1])
            RaiseDamaged("the offsets of entries " + std::to_string(i - 1) + " and " + std::to_string(i) +
                         " are out of order");
    }
    for (int i = 0; i < count; ++i) {
        TVrFile& entry = *Item(i);
        entry.Offset = offsets[static_cast<size_t>(i)] + base;
        entry.Size = offsets[static_cast<size_t>(i) + 1] - offsets[static_cast<size_t>(i)];
    }
    eof->Offset = offsets.back() + base;
}

std::vector<uint8_t> TVrFileCollection::ReadStored(const TVrFile& entry) {
    std::vector<uint8_t> bytes(static_cast<size_t>(entry.Size));
    if (entry.Size > 0) {
        ArchiveStream->SetPosition(entry.Offset);
        ArchiveStream->ReadBuffer(bytes.data(), entry.Size);
    }
    return bytes;
}

void TVrFileCollection::ReadArchived(TStream& stream, const TVrFile& entry, int64_t maxSize) {
    auto* memory = dynamic_cast<TTpMemoryStream*>(&stream);
    if (!memory) {
        // Not held in memory: piece by piece, so any size goes (large media
        // are stored and only copied through a buffer).
        ReadArchivedPieces(entry, INT64_MAX, [&stream](std::span<const uint8_t> piece) {
            stream.WriteBuffer(piece.data(), static_cast<int64_t>(piece.size()));
        });
        stream.SetPosition(0);
        return;
    }
    std::vector<uint8_t>& bytes = memory->Bytes();
    bytes.clear();
    memory->SetPosition(0);
    if (entry.Size == 0) return;
    try {
        // A mapped archive gives the stored bytes without a copy or a
        // system call, which is most of the cost of a small entry.
        std::vector<uint8_t> copied;
        std::span<const uint8_t> stored = ArchiveStream->ViewAt(entry.Offset, entry.Size);
        if (stored.empty()) {
            copied = ReadStored(entry);
            stored = copied;
        }
        // Into the stream's own buffer, reusing what it holds.
        if (entry.Stored) {
            bytes.assign(stored.begin(), stored.end());
        } else {
            const size_t plain = InflateInto(stored, bytes, entry.PlainSizeHint, maxSize);
            if (plain <= UINT32_MAX) entry.PlainSizeHint = static_cast<uint32_t>(plain);
        }
    } catch (const ETovaError& e) {
        bytes.clear();  // nothing half-inflated stays behind
        throw ETovaError("cannot read entry '" + entry.GetName() + "' of archive '" + FileName +
                         "': " + e.Message());
    }
}

void TVrFileCollection::ReadEntry(TStream& stream, std::string_view name) {
    if (ArchiveStream) {
        if (const TVrFile* entry = Find(name)) {
            ReadArchived(stream, *entry);
            return;
        }
    }
    const std::string loose = BaseDir + std::string(name);
    if (!BaseDir.empty() && FileExistsWithin(BaseDir, name) && !SjisSameText(loose, FileName)) {
        auto* memory = dynamic_cast<TTpMemoryStream*>(&stream);
        if (memory) memory->Clear();
        TFileStream file(loose, fmOpenRead | fmShareDenyWrite);
        stream.CopyFrom(file, 0);
        stream.SetPosition(0);
        return;
    }
    throw ETovaError::Format("%s:ファイルがありません", {name});
}

TVrFile* TVrFileCollection::AddFile(std::string name) {
    auto entry = std::make_unique<TVrFile>();
    entry->SetName(std::move(name));
    return Add(std::move(entry));
}

TVrFile* TVrFileCollection::AddMemoryFile(std::string name) {
    TVrFile* entry = AddFile(std::move(name));
    entry->Data = std::make_unique<TTpMemoryStream>();
    return entry;
}

void TVrFileCollection::RemoveFile(std::string_view name) {
    const int index = IndexOf(name);
    if (index >= 0) Delete(index);
}

std::unique_ptr<TRangeStream> TVrFileCollection::OpenRange(std::string_view name) {
    const TVrFile* entry = Find(name);
    if (!entry || !ArchiveStream) return nullptr;
    // A range of length 0 would mean "the whole stream", so an empty entry
    // gets a stream of its own with nothing in it.
    if (entry->Size == 0) return std::make_unique<TRangeStream>(std::make_unique<TTpBigMemoryStream>(), 0, 0);
    if (resource_) return std::make_unique<TResourceRangeStream>(*resource_, entry->Offset, entry->Size);
    return std::make_unique<TFileRangeStream>(FileName, entry->Offset, entry->Size, partSize_);
}

void TVrFileCollection::ListDir(std::string_view dir, std::vector<std::string>& list) const {
    std::unordered_set<std::string> seen;
    for (const std::string& name : list)
        seen.insert(SjisLowerCase(name));
    for (int i = 0; i < Count(); ++i) {
        const std::string& name = Item(i)->GetName();
        if (name == kEofEntryName || !SjisSameText(ExtractDir(name), dir)) continue;
        if (seen.insert(SjisLowerCase(name)).second) list.push_back(name);
    }
}

std::string ExtractDir(std::string_view name) {
    const bool qualified = name.starts_with("\\\\") || (name.size() >= 2 && name[1] == ':');
    const size_t pos = SjisLastDelimiter(name, qualified ? "\\:" : "\\");
    return pos == std::string_view::npos ? std::string() : std::string(name.substr(0, pos + 1));
}

}  // namespace tova
