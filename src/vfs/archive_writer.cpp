// Writing a whole archive (the current version) from a collection: entries
// held in memory, loose files of the same name in the archive's folder, and
// entries that exist only in the archive the collection was read from.
#include <algorithm>
#include <cstring>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "vfs/file_collection.h"
#include "vfs/name_scramble.h"
#include "vfs/packing_rules.h"
#include "vfs/zlib_codec.h"

namespace tova {

namespace {

// How one entry is to be written: versions before 101 deflate everything;
// the CRC covers the plain bytes only where the version records that.
struct TPackRule {
    bool mustDeflate = false;
    bool crcOfPlain = false;
};

struct TPackedEntry {
    bool stored = false;
    int32_t age = 0;
    uint32_t crc = 0;
};

std::span<const uint8_t> BytesOf(const TTpMemoryStream& stream) {
    return stream.Bytes();
}

// Copies count bytes and returns their CRC.
uint32_t CopyWithCrc(TStream& source, TStream& destination, int64_t count) {
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)));
    uint32_t crc = 0;
    for (int64_t done = 0; done < count;) {
        const int64_t chunk = std::min<int64_t>(count - done, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), chunk);
        destination.WriteBuffer(buffer.data(), chunk);
        crc = Crc32(std::span(buffer.data(), static_cast<size_t>(chunk)), crc);
        done += chunk;
    }
    return crc;
}

// Writes plain bytes deflated; the CRC is over the plain bytes when the
// entry says so, else over what was written.
TPackedEntry WriteDeflated(std::span<const uint8_t> plain, bool crcOfPlain, TStream& out) {
    const std::vector<uint8_t> packed = DeflateBytes(plain);
    out.WriteBuffer(packed);
    return {false, 0, crcOfPlain ? Crc32(plain) : Crc32(packed)};
}

TPackedEntry WriteStored(std::span<const uint8_t> plain, TStream& out) {
    out.WriteBuffer(plain);
    return {true, 0, Crc32(plain)};
}

TPackedEntry PackMemoryEntry(const TVrFile& entry, TPackRule rule, TStream& out) {
    TPackedEntry packed = entry.Data->GetSize() > kMaxPackedSize && !rule.mustDeflate
                              ? WriteStored(BytesOf(*entry.Data), out)
                              : WriteDeflated(BytesOf(*entry.Data), rule.crcOfPlain, out);
    packed.age = entry.Age;
    return packed;
}

// The file was opened once; its size and age come from that open.
TPackedEntry PackLooseFile(TFileStream& file, const TVrFile& entry, TPackRule rule, TStream& out) {
    const int64_t size = file.OpenedSize();
    TPackedEntry packed;
    if (rule.mustDeflate || ShouldCompressLooseFile(entry.GetName(), file)) {
        file.SetPosition(0);
        const std::vector<uint8_t> plain = ReadBytes(file, size);
        const std::vector<uint8_t> deflated = DeflateBytes(plain);
        if (!rule.mustDeflate && static_cast<int64_t>(deflated.size()) > size * 9 / 10) {
            packed = WriteStored(plain, out);
        } else {
            out.WriteBuffer(deflated);
            packed = {false, 0, rule.crcOfPlain ? Crc32(plain) : Crc32(deflated)};
        }
    } else {
        file.SetPosition(0);
        packed = {true, 0, CopyWithCrc(file, out, size)};
    }
    packed.age = static_cast<int32_t>(UnixTimeToDos(file.ModifiedTime()));
    return packed;
}

TPackedEntry PackArchivedEntry(TVrFileCollection& collection, const TVrFile& entry, TPackRule rule,
                               TStream& out) {
    TTpMemoryStream plain;
    collection.ReadArchived(plain, entry);
    // The CRC follows the entry's own flag, so that the archive verifies.
    TPackedEntry packed = plain.GetSize() > kMaxPackedSize && !rule.mustDeflate
                              ? WriteStored(BytesOf(plain), out)
                              : WriteDeflated(BytesOf(plain), rule.crcOfPlain, out);
    packed.age = entry.Age;
    return packed;
}

}  // namespace

bool TVrFileCollection::SaveToStream(TTpBigStream& stream, const TSaveOptions& options) {
    const int version = options.version;
    if (version != 0 && version != 100 && version != 101 && version != 102)
        throw ETovaError("cannot write archive version " + std::to_string(version));
    const bool plainFlags = version >= 102;
    std::vector<TVrFile*> entries;
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->GetName() != kEofEntryName) entries.push_back(Item(i));
    const int count = static_cast<int>(entries.size());
    const int64_t start = stream.GetPosition();

    // The directory is gathered in memory and written in one piece.
    TTpMemoryStream head;
    if (version > 0) {
        head.WriteBuffer("vf", 2);
        WriteI32(head, version);
    }
    WriteI32(head, count);
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const TVrFile* entry : entries)
        names.push_back(entry->GetName());
    if (version > 99) ScrambleNames(names);
    for (const std::string& name : names)
        WriteString(head, name);
    stream.WriteBuffer(head.Bytes());

    const int64_t tables = stream.GetPosition();
    const size_t offsetSize = version > 100 ? 8 : 4;
    size_t tableBytes = (entries.size() + 1) * offsetSize;
    if (version > 100) tableBytes += entries.size() * (plainFlags ? 10 : 9);
    stream.WriteBuffer(std::vector<uint8_t>(tableBytes, 0));
    const int64_t origin = options.separateDirectory ? stream.GetPosition() : start;

    // The entries keep describing the archive they were read from: the
    // values of the new archive go only into its tables.
    std::vector<int64_t> offsets(entries.size() + 1);
    std::vector<TPackedEntry> packed;
    packed.resize(entries.size());
    for (int i = 0; i < count; ++i) {
        TVrFile& entry = *entries[static_cast<size_t>(i)];
        bool abort = false;
        if (OnProgress) {
            OnProgress(*this, entry, abort, count, i, 0);
            if (abort) return false;
        }
        const int64_t before = stream.GetPosition();
        offsets[static_cast<size_t>(i)] = before - origin;
        try {
            const TPackRule rule{version < 101, plainFlags && entry.CrcOfPlain};
            std::unique_ptr<TFileStream> loose;
            if (!entry.Data && !BaseDir.empty())
                loose = TFileStream::OpenExisting(BaseDir + entry.GetName(), fmOpenRead | fmShareDenyWrite);
            if (entry.Data) {
                packed[static_cast<size_t>(i)] = PackMemoryEntry(entry, rule, stream);
            } else if (loose) {
                packed[static_cast<size_t>(i)] = PackLooseFile(*loose, entry, rule, stream);
            } else {
                packed[static_cast<size_t>(i)] = PackArchivedEntry(*this, entry, rule, stream);
            }
        } catch (const ETovaError&) {
            if (MessageBox)
                MessageBox->Show(SysText("エラー"), SysText("エラー:") + entry.GetName(),
                                 TMessageButtons::Ok);
            throw;
        }
        if (OnProgress) {
            OnProgress(*this, entry, abort, count, i, stream.GetPosition() - before);
            if (abort) return false;
        }
    }
    offsets.back() = stream.GetPosition() - origin;
    if (offsetSize == 4 && offsets.back() > INT32_MAX)
        throw ETovaError("archive version " + std::to_string(version) + " cannot hold more than 2 GiB");
    if (version == 100) ScrambleOffsets32(offsets);
    if (version > 100) ScrambleOffsets64(offsets);

    TTpMemoryStream table;
    for (int64_t offset : offsets) {
        if (offsetSize == 4) {
            WriteI32(table, static_cast<int32_t>(offset));
        } else {
            WriteI64(table, offset);
        }
    }
    if (version > 100) {
        for (const TPackedEntry& p : packed)
            WriteBool(table, p.stored);
        for (const TPackedEntry& p : packed)
            WriteI32(table, p.age);
        for (const TPackedEntry& p : packed)
            WriteU32(table, p.crc);
    }
    // Version 101 has no flag table: its CRCs are read as taken over the
    // stored bytes, so they are computed that way.
    if (plainFlags)
        for (const TVrFile* entry : entries)
            WriteBool(table, entry->CrcOfPlain);
    stream.SetPosition(tables);
    stream.WriteBuffer(table.Bytes());
    return true;
}

}  // namespace tova
