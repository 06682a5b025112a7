// An archive of one deflated entry of many zero bytes, built without ever
// holding them: the entry's zlib stream repeats one fully flushed deflate
// block of 1 MiB of zeros (a full flush makes each block stand alone), so a
// 1 GiB entry takes about a megabyte on disk and a moment to build. Tests of
// entries too large to hold in memory use it.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/binary_io.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/big_stream.h"
#include "vfs/name_scramble.h"

namespace tova::testing {

constexpr int64_t kZeroBlock = int64_t{1} << 20;

// Writes a version 102 archive at hostPath whose one entry, name, holds
// plainSize zero bytes (a multiple of 1 MiB), deflated, its CRC over the
// plain bytes.
inline void WriteZeroArchive(const std::string& hostPath, const std::string& name, int64_t plainSize) {
    if (plainSize % kZeroBlock != 0) throw std::invalid_argument("whole MiB only");
    std::vector<uint8_t> zeros(static_cast<size_t>(kZeroBlock), 0);
    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::vector<uint8_t> block(deflateBound(&zs, kZeroBlock) + 64);
    zs.next_in = zeros.data();
    zs.avail_in = static_cast<uInt>(zeros.size());
    zs.next_out = block.data();
    zs.avail_out = static_cast<uInt>(block.size());
    deflate(&zs, Z_FULL_FLUSH);
    block.resize(block.size() - zs.avail_out);
    deflateEnd(&zs);

    const int64_t blocks = plainSize / kZeroBlock;
    const uLong blockAdler = adler32(adler32(0, nullptr, 0), zeros.data(), static_cast<uInt>(zeros.size()));
    const uLong blockCrc = crc32(0, zeros.data(), static_cast<uInt>(zeros.size()));
    uLong adler = adler32(0, nullptr, 0), crc = 0;
    for (int64_t i = 0; i < blocks; ++i) {
        adler = adler32_combine(adler, blockAdler, kZeroBlock);
        crc = crc32_combine(crc, blockCrc, kZeroBlock);
    }
    const int64_t streamSize = 2 + static_cast<int64_t>(block.size()) * blocks + 2 + 4;

    TTpMemoryStream head;
    head.WriteBuffer("vf", 2);
    WriteI32(head, 102);
    WriteI32(head, 1);
    std::vector<std::string> names{name};
    ScrambleNames(names);
    WriteString(head, names[0]);
    const int64_t tablesEnd = head.GetSize() + 2 * 8 + 1 + 4 + 4 + 1;
    std::vector<int64_t> offsets{tablesEnd, tablesEnd + streamSize};
    ScrambleOffsets64(offsets);
    WriteI64(head, offsets[0]);
    WriteI64(head, offsets[1]);
    WriteBool(head, false);  // deflated
    WriteI32(head, 0);       // age
    WriteU32(head, static_cast<uint32_t>(crc));
    WriteBool(head, true);  // the CRC covers the plain bytes

    TTpBigFileStream out(FromHostPath(hostPath), fmCreate);
    out.WriteBuffer(head.Bytes());
    out.WriteBuffer("\x78\xDA", 2);  // zlib header: deflate, 32 KiB window, best level
    for (int64_t i = 0; i < blocks; ++i)
        out.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
    const uint8_t end[6] = {0x03,
                            0x00,  // an empty final block
                            static_cast<uint8_t>(adler >> 24),
                            static_cast<uint8_t>(adler >> 16),
                            static_cast<uint8_t>(adler >> 8),
                            static_cast<uint8_t>(adler)};
    out.WriteBuffer(end, 6);
}

}  // namespace tova::testing
