// Reads every entry of arbitrary bytes taken as an archive, and writes the
// archive again from what was read.
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "vfs/file_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TVrFileCollection collection;
    collection.ArchiveStream = std::make_unique<tova::TTpBigMemoryStream>(std::vector<uint8_t>(data, data + size));
    try {
        collection.ReadDirectory(*collection.ArchiveStream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    bool allRead = true;
    for (int i = 0; i < collection.Count(); ++i) {
        tova::TTpMemoryStream out;
        try {
            collection.ReadArchived(out, *collection.Item(i));
        } catch (const tova::ETovaError&) {
            allRead = false;
        }
    }
    if (allRead) {
        tova::TTpBigMemoryStream copy;
        collection.SaveToStream(copy);
    }
    return 0;
}
