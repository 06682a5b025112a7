// One archive: a hashed collection of entries over a big stream, with the
// directory reader and the writer.
//
// Layout (little-endian): "vf" + int32 version (absent in version 0), int32
// count N, N names (int32 length + bytes), N+1 offsets (int32 in versions 0
// and 100, int64 later), then from version 101 N stored flags, N DOS ages, N
// CRC-32s, and in version 102 N CRC-of-plain flags; the entries' data
// follows. Names and offsets are scrambled from version 100 on; offsets are
// relative to the start of the directory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_collection.h"
#include "core/stream.h"
#include "vfs/big_stream.h"
#include "vfs/range_stream.h"
#include "vfs/resource_locator.h"
#include "vfs/zlib_codec.h"

namespace tova {

class TMessageBoxHost;

// The name of the sentinel entry that follows the entries of a directory
// that was read; its offset is the end of the data.
inline constexpr std::string_view kEofEntryName = "\\EOF\\";

class TVrFile : public THashCollectionItem {
public:
    int64_t Offset = 0;                     // absolute position of the data in the archive stream
    std::unique_ptr<TTpMemoryStream> Data;  // in-memory content; wins over the archive
    int64_t Size = 0;                       // length of the stored data
    bool Stored = false;                    // stored uncompressed
    int32_t Age = 0;                        // DOS date and time of the source file
    uint32_t Crc = 0;
    bool CrcOfPlain = false;  // the CRC covers the uncompressed data
    // The plain size of a compressed entry once it was read (0 before): the
    // next read sizes its output exactly. A remembered fact about the data,
    // so reading, itself a const operation, may note it.
    mutable uint32_t PlainSizeHint = 0;
};

// What reading an entry piece by piece found.
enum class TEntryCheck {
    Good,       // its CRC matches (or the archive has none and it inflated)
    BadCrc,     // every byte was read, but the CRC does not match
    OverLimit,  // it inflates to more than the limit; reading stopped there
};

struct TEntryPieces {
    TEntryCheck Check = TEntryCheck::Good;
    uint32_t Crc = 0;       // as computed, over the bytes the entry's flag names
    int64_t PlainSize = 0;  // the plain bytes handed on
};

class TVrFileCollection : public THashCollectionOf<TVrFile> {
public:
    // Called before (bytes 0) and after (bytes written) each entry that
    // SaveToStream writes; setting abort stops the save.
    using TProgressEvent =
        std::function<void(TVrFileCollection&, TVrFile&, bool& abort, int count, int index, int64_t bytes)>;

    static constexpr int kWrittenVersion = 102;

    explicit TVrFileCollection(int64_t partSize = kBigFilePartSize) : partSize_(partSize) {}

    std::string BaseDir;  // the archive's folder with a trailing delimiter
    std::string FileName;
    std::unique_ptr<TTpBigStream> ArchiveStream;  // null for a memory-only archive
    TProgressEvent OnProgress;
    TMessageBoxHost* MessageBox = nullptr;  // reports an entry that could not be written
    int Version = 0;                        // of the directory that was read

    // Opens a file as an archive (see the layout above and the trailer of
    // executables). A missing file, or an empty name, leaves no entries.
    void Open(std::string_view fileName);
    // Opens a module resource; a module that cannot be read leaves no
    // entries, a missing or empty resource raises "リソースが見つかりません".
    void OpenResource(const TResourceLocator& locator, std::string_view moduleName, std::string_view resName,
                      std::string_view resType);
    // Reads a directory at the stream's position; the data lies in the same stream.
    void ReadDirectory(TTpBigStream& stream);

    // The entry's content, inflated, at position 0: from the archive stream,
    // else from the loose file BaseDir + name. Data is not consulted.
    void ReadEntry(TStream& stream, std::string_view name);
    // The archived content of one entry of this collection's stream,
    // inflated. Into a memory stream at most maxSize bytes (else
    // ETovaError); into any other stream it goes piece by piece, of any size.
    void ReadArchived(TStream& stream, const TVrFile& entry, int64_t maxSize = kMaxInflatedSize);
    // The archived content of one entry handed to sink piece by piece,
    // inflated when it is deflated, its CRC checked on the way as the
    // entry's flag says (archives before version 101 have none: inflating
    // is the check). Memory stays a few fixed buffers whatever the entry's
    // size. Stops with OverLimit before sink gets more than maxSize bytes.
    // An empty sink only checks: a deflated entry whose CRC covers its
    // stored bytes is not inflated then. Throws ETovaError on damaged data.
    // The sink must not read entries itself (the buffers are the thread's).
    TEntryPieces ReadArchivedPieces(const TVrFile& entry, int64_t maxSize, const TPieceSink& sink);
    // The entry's bytes as stored, in one read.
    std::vector<uint8_t> ReadStored(const TVrFile& entry);

    TVrFile* AddFile(std::string name);
    TVrFile* AddMemoryFile(std::string name);
    void RemoveFile(std::string_view name);

    // Writes the whole archive at the stream's position, leaving the stream
    // at the end of the directory's tables. Returns false when OnProgress
    // aborted. Offsets count from the start of the directory, or with
    // separateDirectory from the end of the tables (the data of an archive
    // whose directory is kept in a ".ext" file). Versions 0 and 100 have no
    // stored flags, so every entry is deflated there.
    struct TSaveOptions {
        int version = kWrittenVersion;
        bool separateDirectory = false;
    };
    bool SaveToStream(TTpBigStream& stream) { return SaveToStream(stream, TSaveOptions{}); }
    bool SaveToStream(TTpBigStream& stream, const TSaveOptions& options);

    // A read-only stream over the stored bytes of an entry, or null.
    std::unique_ptr<TRangeStream> OpenRange(std::string_view name);
    // Appends the full names of the entries whose directory part equals dir
    // (ignoring case), skipping those already in list (ignoring case).
    void ListDir(std::string_view dir, std::vector<std::string>& list) const;

    bool IsResource() const { return resource_.has_value(); }
    int64_t PartSize() const { return partSize_; }

private:
    void Reset();
    void ReadDirectoryFrom(TTpBigStream& directory, int64_t dataSize);
    [[noreturn]] void RaiseDamaged(const std::string& detail) const;

    int64_t partSize_;
    std::optional<TResourceLocation> resource_;
};

// The directory part of a virtual name: everything up to and including the
// last '\' (double-byte aware), or "" when there is none. A name starting
// with "\\" or with ':' as its second character also splits at ':'.
std::string ExtractDir(std::string_view name);

}  // namespace tova
