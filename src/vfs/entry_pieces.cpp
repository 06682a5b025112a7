// Reading one archived entry piece by piece: the stored bytes in reads of a
// fixed size, inflated on the way when the entry is deflated, with the CRC
// taken over the bytes the entry's flag names. The tools that extract, print
// and verify entries and the player's reads into files use it, so an entry
// of any size needs no more memory than a small one.
#include <algorithm>
#include <vector>

#include "core/error.h"
#include "vfs/file_collection.h"
#include "vfs/zlib_codec.h"

namespace tova {

namespace {

constexpr int64_t kStoredPiece = int64_t{1} << 20;

// Thrown by the sink wrapper when the plain bytes pass the limit.
struct TOverLimit {};

}  // namespace

TEntryPieces TVrFileCollection::ReadArchivedPieces(const TVrFile& entry, int64_t maxSize,
                                                   const TPieceSink& sink) {
    TEntryPieces result;
    const bool hasCrc = Version > 100;
    const bool crcOfPlain = hasCrc && entry.CrcOfPlain;
    // Without a sink the plain bytes are wanted only where they are checked.
    const bool inflate = !entry.Stored && (sink || crcOfPlain || !hasCrc);
    // What the sink throws is its own failure and passes as it is.
    bool inSink = false;
    const TPieceSink plain = [&](std::span<const uint8_t> piece) {
        if (static_cast<int64_t>(piece.size()) > maxSize - result.PlainSize) throw TOverLimit{};
        result.PlainSize += static_cast<int64_t>(piece.size());
        if (crcOfPlain) result.Crc = Crc32(piece, result.Crc);
        if (!sink) return;
        inSink = true;
        sink(piece);
        inSink = false;
    };
    try {
        // One inflater and one buffer per thread, reused entry after entry:
        // making them anew costs more than a small entry's whole read.
        thread_local TPieceInflater threadInflater;
        thread_local std::vector<uint8_t> buffer;
        TPieceInflater* inflater = nullptr;
        if (inflate && entry.Size > 0) {
            threadInflater.Reset();
            inflater = &threadInflater;
        }
        const auto size = static_cast<size_t>(std::clamp<int64_t>(entry.Size, 0, kStoredPiece));
        if (buffer.size() < size) buffer.resize(size);
        if (entry.Size > 0) ArchiveStream->SetPosition(entry.Offset);
        for (int64_t left = entry.Size; left > 0;) {
            const int64_t chunk = std::min<int64_t>(left, kStoredPiece);
            ArchiveStream->ReadBuffer(buffer.data(), chunk);
            left -= chunk;
            const std::span<const uint8_t> stored(buffer.data(), static_cast<size_t>(chunk));
            if (hasCrc && !crcOfPlain) result.Crc = Crc32(stored, result.Crc);
            if (inflater) {
                inflater->Feed(stored, plain);
            } else if (entry.Stored) {
                plain(stored);
            }
        }
        if (inflater) inflater->Finish();
    } catch (const TOverLimit&) {
        result.Check = TEntryCheck::OverLimit;
        return result;
    } catch (const ETovaError& e) {
        if (inSink) throw;
        throw ETovaError("cannot read entry '" + entry.GetName() + "' of archive '" + FileName +
                         "': " + e.Message());
    }
    if (hasCrc && result.Crc != entry.Crc) result.Check = TEntryCheck::BadCrc;
    return result;
}

}  // namespace tova
