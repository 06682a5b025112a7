// Reading and writing the host files of `tova img`.
#include "sdk/images/image_files_io.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/encoding.h"
#include "core/error.h"
#include "graphics/bmp_file.h"
#include "sdk/archive_tools.h"
#include "vfs/big_stream.h"

namespace tova::sdk {

std::vector<uint8_t> ReadHostBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ETovaError("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw ETovaError("cannot write " + path);
}

TDecodedImage ReadInputPicture(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadHostBytes(path);
    std::string ext = path.substr(std::min(path.size(), path.find_last_of('.')));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool png =
        ext == ".png" || (bytes.size() > 4 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G');
    const bool jpeg =
        ext == ".jpg" || ext == ".jpeg" || (bytes.size() > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8);
    const bool bmp =
        ext == ".bmp" || ext == ".dib" || (bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M');
    if (png) return DecodePng(bytes);
    if (jpeg) return DecodeJpeg(bytes);
    if (!bmp) throw ETovaError(path + ": not a PNG, BMP or JPEG file");
    TImageBudget budget;
    TBrioFrame frame;
    ReadBmp(bytes, frame, {.Budget = &budget});
    frame.ConvertToColour(budget);
    TDecodedImage image;
    image.Colour = std::move(frame.Picture.Colour);
    image.HasAlpha = frame.HasMask;
    image.Alpha = std::move(frame.Mask);
    return image;
}

std::vector<uint8_t> ReadImageBytes(const std::string& file, const std::string& archive) {
    if (archive.empty()) return ReadHostBytes(file);
    const auto collection = OpenToolArchive(archive, kBigFilePartSize);
    TTpMemoryStream content;
    collection->ReadEntry(content, Utf8ToCp932(file));
    return std::move(content.Bytes());
}

std::optional<uint32_t> ParseKeyOption(const TCommandLine& line) {
    const auto text = line.Value("--key");
    if (!text) return std::nullopt;
    const bool negative = text->starts_with("-");
    long long value = ParseCount("--key", negative ? text->substr(1) : *text);
    if (negative) value = -value;
    if (value < -2147483648LL || value > 4294967295LL) throw EUsage("--key takes a 32-bit number");
    return static_cast<uint32_t>(value);
}

}  // namespace tova::sdk
