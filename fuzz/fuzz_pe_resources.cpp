// Reads arbitrary bytes as a PE image and looks up the resources the player
// asks for (the archive resource and the splash); a resource that is found
// must lie inside the file, and it is then read as an archive.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/error.h"
#include "vfs/file_collection.h"
#include "vfs/resource_locator.h"

namespace {

const std::string& ImagePath() {
    static const std::string path = [] {
        const auto dir =
            std::filesystem::temp_directory_path() / ("tova-fuzz-pe-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return (dir / "image.exe").string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = ImagePath();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    for (const auto& [name, type] : {std::pair{"DUMMY", "BINTYPE"}, std::pair{"MADEWITH", "DATA"}}) {
        try {
            const auto location = tova::FindPeResource(path, name, type);
            if (!location) continue;
            if (location->offset < 0 || location->size < 0 ||
                location->offset + location->size > static_cast<int64_t>(size))
                __builtin_trap();
            tova::TTpBigResourceStream stream(*location, name, type);
            tova::TVrFileCollection collection;
            collection.ReadDirectory(stream);
        } catch (const tova::ETovaError&) {
        }
    }
    return 0;
}
