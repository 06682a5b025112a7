// The versioned records of a layered image (header, frame, layer), each
// visited field by field in one function that both reads and writes, so
// that the reader and the writer cannot drift apart.
#pragma once

#include <cstdint>
#include <string>

#include "core/stream.h"

namespace tova {

// One pass over a record's fields, reading them from or writing them to a stream.
class TBrioFieldIO {
public:
    enum class TMode { Read, Write };
    TBrioFieldIO(TStream& stream, TMode mode) : stream_(stream), mode_(mode) {}
    bool Reading() const { return mode_ == TMode::Read; }
    TStream& Stream() { return stream_; }

    void I32(int32_t& v);
    void U32(uint32_t& v);
    void U8(uint8_t& v);
    void Bool(bool& v);
    void String(std::string& v);
    // Bytes the reader skips and the writer writes as zeros.
    void Skip(int count);

private:
    TStream& stream_;
    TMode mode_;
};

// The 40-byte header record (version 103 on), or what older headers hold.
struct TBrioHeaderRecord {
    int32_t Version = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bpp = 0;
    int32_t FrameCount = 0;
    uint8_t One = 1;
    bool Scrambled = false;
    uint8_t Compression = 0;
    uint32_t BackgroundColor = 0;
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    uint8_t Flag = 0;
    uint8_t JpegQuality = 0;
};

struct TBrioFrameRecord {
    std::string Name;
    int32_t TransparentIndex = -1;
    int32_t Delay = 100;
    int32_t LayerCount = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bpp = 0;
};

struct TBrioLayerRecord {
    bool Visible = true;
    int32_t TransparentColor = -1;
    int32_t Opacity = 255;
    bool AlphaOn = false;
    std::string Name;
};

// The magic and header of a file of the given version (0: no magic). The
// reader takes the version from the magic and reads what that version holds.
void VisitBrioHeader(TBrioFieldIO& io, TBrioHeaderRecord& header);
void VisitBrioFrame(TBrioFieldIO& io, TBrioFrameRecord& frame);
void VisitBrioLayer(TBrioFieldIO& io, int version, TBrioLayerRecord& layer);

}  // namespace tova
