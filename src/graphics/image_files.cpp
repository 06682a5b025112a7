// The one entry point that loads an image file into frames: layered images,
// PNG, BMP and DIB, chosen by the file name's extension.
#include <algorithm>
#include <string>

#include "graphics/bmp_file.h"
#include "graphics/brio_image.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

std::string LowerExtension(std::string_view name) {
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of("\\/");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) return {};
    std::string ext(name.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

std::vector<uint8_t> WholeStream(TStream& stream) {
    stream.SetPosition(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.GetSize()));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

}  // namespace

bool TBrioFrameList::LoadFromFileData(std::string_view fileName, TStream& stream) {
    const std::string ext = LowerExtension(fileName);
    if (ext == ".brz") {
        stream.SetPosition(0);
        LoadFromStream(stream);
        return true;
    }
    if (ext != ".png" && ext != ".bmp" && ext != ".dib") return false;
    Clear();
    Version = 0;
    const std::vector<uint8_t> bytes = WholeStream(stream);
    TBrioFrame& frame = AddFrame();
    if (ext == ".png") {
        // Transparent pixels of the file (alpha 0) stay transparent: the
        // alpha goes into the mask as it is.
        TDecodedImage png = DecodePng(bytes, {.MaxPixels = MaxTotalPixels, .Budget = &Budget});
        frame.Bpp = 24;
        frame.Picture.Bpp = 24;
        frame.Picture.Colour = std::move(png.Colour);
        frame.HasMask = png.HasAlpha;
        frame.Mask = std::move(png.Alpha);
    } else {
        ReadBmp(bytes, frame, {.MaxPixels = MaxTotalPixels, .Budget = &Budget});
    }
    return true;
}

}  // namespace tova
