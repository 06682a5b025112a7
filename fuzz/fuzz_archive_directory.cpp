// Reads arbitrary bytes as an archive directory.
#include <cstddef>
#include <cstdint>

#include "core/error.h"
#include "vfs/file_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpBigMemoryStream stream(std::vector<uint8_t>(data, data + size));
    tova::TVrFileCollection collection;
    try {
        collection.ReadDirectory(stream);
        // A directory that was accepted lies wholly inside the data.
        for (int i = 0; i < collection.Count(); ++i) {
            const tova::TVrFile& entry = *collection.Item(i);
            if (entry.Offset < 0 || entry.Size < 0 || entry.Offset + entry.Size > static_cast<int64_t>(size))
                __builtin_trap();
        }
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
