// Field order and version gates of the layered-image records.
#include "graphics/brio_records.h"

#include <cstring>
#include <vector>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/brio_image.h"

namespace tova {

namespace {

// Reads v or writes it, by the direction of the pass.
template <typename T, typename TWritten>
void Visit(bool reading, TStream& s, T& v, T (*read)(TStream&), void (*write)(TStream&, TWritten)) {
    if (reading)
        v = read(s);
    else
        write(s, v);
}

}  // namespace

void TBrioFieldIO::I32(int32_t& v) {
    Visit(Reading(), stream_, v, ReadI32, WriteI32);
}

void TBrioFieldIO::U32(uint32_t& v) {
    Visit(Reading(), stream_, v, ReadU32, WriteU32);
}

void TBrioFieldIO::U8(uint8_t& v) {
    Visit(Reading(), stream_, v, ReadU8, WriteU8);
}

void TBrioFieldIO::Bool(bool& v) {
    uint8_t b = v ? 1 : 0;
    U8(b);
    v = b != 0;
}

void TBrioFieldIO::String(std::string& v) {
    Visit(Reading(), stream_, v, ReadString, WriteString);
}

void TBrioFieldIO::Skip(int count) {
    if (Reading()) {
        ReadBytes(stream_, count);
    } else {
        const std::vector<uint8_t> zeros(static_cast<size_t>(count));
        stream_.WriteBuffer(zeros.data(), count);
    }
}

namespace {

void VisitHeaderRecordFields(TBrioFieldIO& io, TBrioHeaderRecord& h) {
    io.I32(h.Version);
    io.I32(h.Width);
    io.I32(h.Height);
    io.I32(h.Bpp);
    io.I32(h.FrameCount);
    io.U8(h.One);
    io.Bool(h.Scrambled);
    io.U8(h.Compression);
    io.Skip(1);
    io.U32(h.BackgroundColor);
    io.I32(h.TileWidth);
    io.I32(h.TileHeight);
    io.U8(h.Flag);
    io.U8(h.JpegQuality);
    io.Skip(2);
}

}  // namespace

void VisitBrioHeader(TBrioFieldIO& io, TBrioHeaderRecord& h) {
    TStream& s = io.Stream();
    if (io.Reading()) {
        const int64_t start = s.GetPosition();
        char magic[7] = {};
        h = TBrioHeaderRecord{};
        if (s.Read(magic, 7) == 7 && std::memcmp(magic, "Brio", 4) == 0) {
            for (int i = 4; i < 7; ++i)
                if (magic[i] < '0' || magic[i] > '9')
                    throw ETovaError("damaged image: bad version in the magic");
            h.Version = (magic[4] - '0') * 100 + (magic[5] - '0') * 10 + (magic[6] - '0');
        } else {
            s.SetPosition(start);
            h.Version = 0;
        }
    } else if (h.Version > 0) {
        const std::string magic = "Brio" + std::to_string(h.Version);
        s.WriteBuffer(magic.data(), 7);
    }
    const int version = h.Version;
    if (version >= brio::kHeaderRecord) {
        int32_t length = brio::kHeaderRecordSize;
        io.I32(length);
        if (!io.Reading()) {
            VisitHeaderRecordFields(io, h);
            return;
        }
        // A longer record keeps fields we do not know; a shorter one is padded with zeros.
        if (length < 0 || length > 4096 || length > s.Remaining())
            throw ETovaError("damaged image: header of " + std::to_string(length) + " bytes");
        std::vector<uint8_t> bytes = ReadBytes(s, length);
        bytes.resize(std::max<size_t>(bytes.size(), brio::kHeaderRecordSize));
        TTpMemoryStream record(std::move(bytes));
        TBrioFieldIO recordIO(record, TBrioFieldIO::TMode::Read);
        VisitHeaderRecordFields(recordIO, h);
        h.Version = version;
        if (version < brio::kHeaderFlag) h.Flag = 0;
        return;
    }
    io.I32(h.FrameCount);
    io.U8(h.One);
    if (version >= brio::kBackground) io.U32(h.BackgroundColor);
}

void VisitBrioFrame(TBrioFieldIO& io, TBrioFrameRecord& f) {
    io.String(f.Name);
    io.I32(f.TransparentIndex);
    io.I32(f.Delay);
    io.Skip(1);
    io.Skip(4);
    io.I32(f.LayerCount);
    io.I32(f.Width);
    io.I32(f.Height);
    io.I32(f.Bpp);
}

void VisitBrioLayer(TBrioFieldIO& io, int version, TBrioLayerRecord& l) {
    io.Skip(8);
    io.Bool(l.Visible);
    io.I32(l.TransparentColor);
    io.I32(l.Opacity);
    if (version >= brio::kAlphaOnFlag) io.Bool(l.AlphaOn);
    io.String(l.Name);
}

}  // namespace tova
