// Reads every entry of arbitrary bytes taken as an archive, whole and piece
// by piece (the two must agree), and writes the archive again from what was
// read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "vfs/file_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TVrFileCollection collection;
    collection.ArchiveStream =
        std::make_unique<tova::TTpBigMemoryStream>(std::vector<uint8_t>(data, data + size));
    try {
        collection.ReadDirectory(*collection.ArchiveStream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    bool allRead = true;
    for (int i = 0; i < collection.Count(); ++i) {
        const tova::TVrFile& entry = *collection.Item(i);
        tova::TTpMemoryStream out;
        bool whole = true;
        try {
            collection.ReadArchived(out, entry);
        } catch (const tova::ETovaError&) {
            allRead = whole = false;
        }
        std::vector<uint8_t> pieces;
        try {
            collection.ReadArchivedPieces(entry, tova::kMaxInflatedSize, [&](std::span<const uint8_t> piece) {
                pieces.insert(pieces.end(), piece.begin(), piece.end());
            });
            if (whole && pieces != out.Bytes()) std::abort();
        } catch (const tova::ETovaError&) {
            if (whole) std::abort();
        }
    }
    if (allRead) {
        tova::TTpBigMemoryStream copy;
        collection.SaveToStream(copy);
    }
    return 0;
}
