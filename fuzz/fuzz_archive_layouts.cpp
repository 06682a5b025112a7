// Opens arbitrary bytes the ways an archive file can be laid out: an
// executable with the archive in front of its trailer, a data file with its
// directory in a ".ext" file beside it, and a split archive in small parts.
// The first byte picks the layout (and for ".ext" where the bytes are cut).
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/error.h"
#include "vfs/file_collection.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path dir = [] {
        const auto path = fs::temp_directory_path() / ("tova-fuzz-layouts-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return dir;
}

void Write(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

constexpr int64_t kPartSize = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t layout = data[0] % 3;
    const uint8_t* bytes = data + 1;
    const size_t count = size - 1;
    for (const auto& entry : fs::directory_iterator(Folder()))
        fs::remove(entry.path());

    fs::path archive;
    int64_t partSize = tova::kBigFilePartSize;
    if (layout == 0) {
        archive = Folder() / "game.exe";
        Write(archive, bytes, count);
    } else if (layout == 1) {
        const size_t cut = data[0] / 3 % (count + 1);
        archive = Folder() / "game.dat";
        Write(Folder() / "game.ext", bytes, cut);
        Write(archive, bytes + cut, count - cut);
    } else {
        archive = Folder() / "game.dat";
        partSize = kPartSize;
        for (size_t part = 0; part * kPartSize < count; ++part) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".%03zu", part);
            const fs::path name = part == 0 ? archive : Folder() / ("game" + std::string(suffix));
            Write(name, bytes + part * kPartSize, std::min<size_t>(kPartSize, count - part * kPartSize));
        }
    }
    tova::TVrFileCollection collection(partSize);
    try {
        collection.Open(archive.string());
        for (int i = 0; i < collection.Count(); ++i) {
            const tova::TVrFile& entry = *collection.Item(i);
            if (entry.GetName() == tova::kEofEntryName) continue;
            if (entry.Offset < 0 || entry.Size < 0 ||
                entry.Offset + entry.Size > collection.ArchiveStream->GetSize())
                __builtin_trap();
            tova::TTpMemoryStream content;
            collection.ReadArchived(content, entry, 1 << 20);
        }
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
