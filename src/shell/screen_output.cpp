#include "shell/screen_output.h"

#include <fstream>

#include "core/encoding.h"
#include "core/error.h"
#include "graphics/image_codecs.h"

namespace tova {

std::vector<uint8_t> ScreenPng(const TSurface32& screen) {
    return EncodePng(screen.View(), nullptr);
}

void WriteOutputFile(const std::string& hostPath, std::span<const uint8_t> bytes, std::ostream& standardOut,
                     const std::string& what) {
    if (hostPath == "-") {
        standardOut.write(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<std::streamsize>(bytes.size()));
        standardOut.flush();
        return;
    }
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw ETovaError(Utf8ToCp932Lossy("cannot write the " + what + " '" + hostPath + "'"));
}

}  // namespace tova
