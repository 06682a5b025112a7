// Host files for `tova img`: reading input pictures (PNG, BMP, DIB, JPEG),
// reading an image by host path or by virtual name inside an archive, and
// writing output files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <optional>

#include "graphics/image_codecs.h"
#include "sdk/command_line.h"

namespace tova::sdk {

std::vector<uint8_t> ReadHostBytes(const std::string& path);
void WriteHostBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// A picture to encode; the format is taken from the extension, else the content.
TDecodedImage ReadInputPicture(const std::string& path);
// The bytes of an image: a host file, or with an archive a virtual name (UTF-8) in it.
std::vector<uint8_t> ReadImageBytes(const std::string& file, const std::string& archive);
// The image key of --key: a 32-bit number, signed or not.
std::optional<uint32_t> ParseKeyOption(const TCommandLine& line);

}  // namespace tova::sdk
