// Cursor files for tests, built byte by byte: little-endian fields, the
// ".cur" wrapper around one image and the ".ani" RIFF around such cursors.
#pragma once

#include <cstdint>
#include <vector>

namespace tova::testing {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A ".cur" file of one image (a bitmap with its mask, or a PNG) of side x
// side pixels, with its hot spot.
inline std::vector<uint8_t> CursorFile(const std::vector<uint8_t>& image, int side, int hotX, int hotY) {
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.insert(file.end(), {static_cast<uint8_t>(side), static_cast<uint8_t>(side), 0, 0});
    Put16(file, static_cast<uint32_t>(hotX));
    Put16(file, static_cast<uint32_t>(hotY));
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

inline void PutId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
    PutId(out, id);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

// An ".ani" of the cursor files, stepping through sequence (the steps) at
// rates (empty: the header's rate of 10 for every step); headerFrames is
// the frame count its header gives.
inline std::vector<uint8_t> AnimatedCursor(const std::vector<std::vector<uint8_t>>& frames,
                                           const std::vector<uint32_t>& sequence,
                                           const std::vector<uint32_t>& rates, uint32_t headerFrames) {
    std::vector<uint8_t> header;
    Put32(header, 36);
    Put32(header, headerFrames);
    Put32(header, static_cast<uint32_t>(sequence.size()));
    for (int i = 0; i < 4; ++i)
        Put32(header, 0);
    Put32(header, 10);  // default rate
    Put32(header, 3);   // icon data, sequence present
    std::vector<uint8_t> list;
    PutId(list, "fram");
    for (const std::vector<uint8_t>& frame : frames)
        PutChunk(list, "icon", frame);
    std::vector<uint8_t> seq, rate;
    for (uint32_t v : sequence)
        Put32(seq, v);
    for (uint32_t v : rates)
        Put32(rate, v);
    std::vector<uint8_t> body;
    PutId(body, "ACON");
    PutChunk(body, "anih", header);
    if (!rates.empty()) PutChunk(body, "rate", rate);
    PutChunk(body, "seq ", seq);
    PutChunk(body, "LIST", list);
    std::vector<uint8_t> file;
    PutId(file, "RIFF");
    Put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace tova::testing
