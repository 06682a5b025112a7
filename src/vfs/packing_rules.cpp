#include "vfs/packing_rules.h"

#include <cstring>

#include "core/binary_io.h"
#include "core/path_names.h"
#include "core/sjis.h"

namespace tova {

bool IsUncompressedLayeredImage(TStream& file) {
    file.SetPosition(0);
    char magic[7];
    if (file.Read(magic, 7) != 7 || std::memcmp(magic, "Brio", 4) != 0) return false;
    int version = 0;
    for (int i = 4; i < 7; ++i) {
        if (magic[i] < '0' || magic[i] > '9') return false;
        version = version * 10 + (magic[i] - '0');
    }
    if (version < 103) return false;
    uint8_t lengthBytes[4];
    if (file.Read(lengthBytes, 4) != 4) return false;
    const int32_t length = static_cast<int32_t>(LoadLE32(lengthBytes));
    if (length < 23) return false;
    uint8_t block[23];
    if (file.Read(block, 23) != 23) return false;
    return block[22] == 1;
}

bool ShouldCompressLooseFile(std::string_view name, TStream& file) {
    const std::string ext = SjisUpperCase(ExtractFileExt(name));
    if (ext == ".BRZ") return IsUncompressedLayeredImage(file);
    const bool media = !ext.empty() && kStoredExtensions.find(ext) != std::string_view::npos;
    return !media && file.GetSize() <= kMaxPackedSize;
}

}  // namespace tova
