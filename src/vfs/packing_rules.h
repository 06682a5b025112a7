// Which loose files an archive stores compressed. Media that players stream
// (and anything of 5 MiB or more) stay uncompressed, so that range streams
// can read them in place; layered images are compressed only when their
// own pixel data is not.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/stream.h"

namespace tova {

// Entries larger than this are stored, never deflated: 5 MiB minus one byte.
inline constexpr int64_t kMaxPackedSize = 5242879;

// The extensions that are never compressed, as a substring test of the
// upper-cased extension with its dot.
inline constexpr std::string_view kStoredExtensions = ".WAV.WMA.OGG.MPG.MPEG.M1V.WMV.ASF.DAT.";

// Decides for a loose file of the given virtual name; reads the start of
// the file for the layered-image header test.
bool ShouldCompressLooseFile(std::string_view name, TStream& file);

// The layered-image test alone: "Brio", a version of at least 103 in the
// next three characters, and a header block (after its int32 length) whose
// byte 22 (the compression kind) is 1, "none". A block shorter than 23
// bytes counts as 0 there.
bool IsUncompressedLayeredImage(TStream& file);

}  // namespace tova
