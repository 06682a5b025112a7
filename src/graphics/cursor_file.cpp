// Reading cursor and animated cursor files: the icon directory, the RIFF
// chunks of an animation, each frame's image header when the file is read,
// and a frame's picture when it is decoded.
#include "graphics/cursor_file.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/bmp_file.h"
#include "graphics/brio_image.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

constexpr uint32_t kMaxAniSteps = 4096;
const TDecodeLimits kCursorLimits{.MaxPixels = int64_t{kMaxCursorSide} * kMaxCursorSide,
                                  .MaxSide = kMaxCursorSide};

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged cursor file: " + what);
}

void Need(std::span<const uint8_t> data, uint64_t offset, uint64_t size, const char* what) {
    if (offset > data.size() || size > data.size() - offset) Damaged(std::string(what) + " is cut short");
}

uint32_t LoadBE32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// One image of an icon directory: a PNG, or a bitmap header with the
// doubled height, the colour rows and then the 1-bit mask rows (1:
// transparent). Its layout is what can be known without decoding it.
struct TImageLayout {
    bool Png = false;
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t Bpp = 0;
    uint64_t MaskOffset = 0;
    uint64_t MaskStride = 0;
};

void CheckSides(int64_t width, int64_t height) {
    if (width < 1 || width > kMaxCursorSide || height < 1 || height > kMaxCursorSide)
        Damaged("a cursor image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels");
}

// The layout, with every check that needs no decoding: the size on each
// side, and that a bitmap's colour rows are all there.
TImageLayout ImageLayout(std::span<const uint8_t> image) {
    TImageLayout layout;
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    if (image.size() >= 4 && std::memcmp(image.data(), kPng, 4) == 0) {
        Need(image, 0, 24, "a cursor's PNG header");
        if (std::memcmp(&image[12], "IHDR", 4) != 0) Damaged("a cursor's PNG without its header");
        layout.Png = true;
        layout.Width = static_cast<int32_t>(std::min<uint32_t>(LoadBE32(&image[16]), INT32_MAX));
        layout.Height = static_cast<int32_t>(std::min<uint32_t>(LoadBE32(&image[20]), INT32_MAX));
        CheckSides(layout.Width, layout.Height);
        return layout;
    }
    Need(image, 0, 40, "a cursor's bitmap header");
    const uint64_t headerSize = LoadLE32(&image[0]);
    if (headerSize < 40) Damaged("a cursor's bitmap header is too small");
    const auto width = static_cast<int32_t>(LoadLE32(&image[4]));
    const auto doubled = static_cast<int32_t>(LoadLE32(&image[8]));
    if (doubled % 2 != 0) Damaged("a cursor image of an odd doubled height");
    CheckSides(width, doubled / 2);
    layout.Width = width;
    layout.Height = doubled / 2;
    layout.Bpp = LoadLE16(&image[14]);
    if (layout.Bpp != 1 && layout.Bpp != 4 && layout.Bpp != 8 && layout.Bpp != 24 && layout.Bpp != 32)
        Damaged("a cursor image of " + std::to_string(layout.Bpp) + " bits per pixel");
    // The mask follows the palette the header counts; the bitmap reader
    // takes at most the entries the depth has.
    const uint64_t entries = layout.Bpp <= 8 ? 1u << layout.Bpp : 0;
    const uint32_t usedColours = LoadLE32(&image[32]);
    const uint64_t colourRows =
        (static_cast<uint64_t>(width) * layout.Bpp + 31) / 32 * 4 * static_cast<uint64_t>(layout.Height);
    layout.MaskOffset =
        headerSize + (entries ? 4ull * (usedColours ? usedColours : entries) : 0) + colourRows;
    layout.MaskStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t palette = usedColours == 0 || usedColours > entries ? entries : usedColours;
    Need(image, headerSize + 4 * palette, colourRows, "a cursor's colour rows");
    return layout;
}

TCursorImage DecodeDirectoryImage(std::span<const uint8_t> image, const TImageLayout& layout) {
    TCursorImage cursor;
    if (layout.Png) {
        TDecodedImage png = DecodePng(image, kCursorLimits);
        cursor.Colour = std::move(png.Colour);
        if (png.HasAlpha) {
            cursor.Alpha = std::move(png.Alpha);
        } else {
            cursor.Alpha.Resize(cursor.Colour.Width(), cursor.Colour.Height());
            for (int32_t y = 0; y < cursor.Alpha.Height(); ++y)
                std::fill_n(cursor.Alpha.Row(y), cursor.Alpha.Width(), uint8_t{255});
        }
        return cursor;
    }
    // The colour part is an ordinary bitmap once its header says its own height.
    std::vector<uint8_t> colourPart(image.begin(), image.end());
    for (int i = 0; i < 4; ++i)
        colourPart[8 + i] = static_cast<uint8_t>(static_cast<uint32_t>(layout.Height) >> (8 * i));
    TImageBudget budget;
    TDecodeLimits limits = kCursorLimits;
    limits.Budget = &budget;
    TBrioFrame frame;
    ReadBmp(colourPart, frame, limits);
    frame.ConvertToColour(budget);
    cursor.Colour = std::move(frame.Picture.Colour);
    // A 32-bit image with any alpha byte set uses its alpha; others use the
    // mask (a file without mask rows is opaque).
    if (layout.Bpp == 32 && frame.HasMask) {
        cursor.Alpha = std::move(frame.Mask);
        return cursor;
    }
    const int32_t width = layout.Width, height = layout.Height;
    cursor.Alpha.Resize(width, height);
    const bool hasMask =
        layout.MaskOffset + layout.MaskStride * static_cast<uint64_t>(height) <= image.size();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row =
            hasMask ? &image[layout.MaskOffset + layout.MaskStride * static_cast<uint64_t>(height - 1 - y)]
                    : nullptr;
        for (int32_t x = 0; x < width; ++x) {
            const bool transparent = row && (row[x / 8] >> (7 - x % 8) & 1) != 0;
            cursor.Alpha.Row(y)[x] = transparent ? 0 : 255;
        }
    }
    return cursor;
}

// The chunks of a RIFF list body: id, then the chunk's bytes.
template <typename Visit>
void ForEachChunk(std::span<const uint8_t> body, Visit visit) {
    uint64_t at = 0;
    while (at + 8 <= body.size()) {
        const uint32_t size = LoadLE32(&body[at + 4]);
        Need(body, at + 8, size, "a chunk of the animated cursor");
        visit(std::string_view(reinterpret_cast<const char*>(&body[at]), 4), body.subspan(at + 8, size));
        at += 8 + uint64_t{size} + (size & 1);
    }
}

std::vector<uint32_t> ReadU32List(std::span<const uint8_t> chunk, uint32_t count, const char* what) {
    Need(chunk, 0, 4ull * count, what);
    std::vector<uint32_t> values(count);
    for (uint32_t i = 0; i < count; ++i)
        values[i] = LoadLE32(&chunk[4 * i]);
    return values;
}

}  // namespace

// The reading of one file into an animation's steps and frames.
class TCursorFileReader {
public:
    explicit TCursorFileReader(TCursorAnimation& animation) : a_(animation), file_(animation.data_) {}

    void Read() {
        if (file_.size() >= 4 && std::memcmp(file_.data(), "RIFF", 4) == 0) return ReadAnimated();
        AddIconDirectory(file_);
        a_.Sequence = {0};
        a_.Jiffies = {0};
    }

private:
    // The largest image of the directory becomes the next frame; its hot
    // spot is in the entry (for cursors).
    void AddIconDirectory(std::span<const uint8_t> data) {
        Need(data, 0, 6, "the icon directory");
        const uint32_t type = LoadLE16(&data[2]);
        const uint32_t count = LoadLE16(&data[4]);
        if (LoadLE16(&data[0]) != 0 || (type != 1 && type != 2)) Damaged("no icon directory");
        if (count == 0) Damaged("no image in the cursor");
        Need(data, 6, 16ull * count, "the icon directory");
        uint32_t best = 0;
        uint32_t bestSide = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* entry = &data[6 + 16 * i];
            const uint32_t side = std::max<uint32_t>(entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256);
            if (side > bestSide) {
                best = i;
                bestSide = side;
            }
        }
        const uint8_t* entry = &data[6 + 16 * best];
        const uint32_t size = LoadLE32(entry + 8);
        const uint32_t offset = LoadLE32(entry + 12);
        Need(data, offset, size, "a cursor image");
        const std::span<const uint8_t> image = data.subspan(offset, size);
        const TImageLayout layout = ImageLayout(image);
        TCursorAnimation::TFrame frame;
        frame.Offset = static_cast<size_t>(image.data() - file_.data());
        frame.Size = size;
        frame.HasHotSpot = type == 2;
        frame.HotX = std::min<int32_t>(LoadLE16(entry + 4), layout.Width - 1);
        frame.HotY = std::min<int32_t>(LoadLE16(entry + 6), layout.Height - 1);
        a_.frames_.push_back(frame);
    }

    void ReadAnimated() {
        const std::span<const uint8_t> data = file_;
        Need(data, 0, 12, "the RIFF header");
        const uint32_t riffSize = LoadLE32(&data[4]);
        if (riffSize < 4) Damaged("a RIFF file without its form type");
        Need(data, 8, riffSize, "the RIFF data");
        if (std::memcmp(&data[8], "ACON", 4) != 0) Damaged("a RIFF file that is no animated cursor");
        const std::span<const uint8_t> body = data.subspan(12, riffSize - 4);

        uint32_t frames = 0;
        uint32_t steps = 0;
        uint32_t rate = 0;
        bool haveHeader = false;
        std::span<const uint8_t> rates;
        std::span<const uint8_t> sequence;
        ForEachChunk(body, [&](std::string_view id, std::span<const uint8_t> chunk) {
            if (id == "anih") {
                Need(chunk, 0, 36, "the animation header");
                frames = LoadLE32(&chunk[4]);
                steps = LoadLE32(&chunk[8]);
                rate = LoadLE32(&chunk[28]);
                haveHeader = true;
            } else if (id == "rate") {
                rates = chunk;
            } else if (id == "seq ") {
                sequence = chunk;
            } else if (id == "LIST" && chunk.size() >= 4 && std::memcmp(chunk.data(), "fram", 4) == 0) {
                ForEachChunk(chunk.subspan(4), [&](std::string_view frameId, std::span<const uint8_t> icon) {
                    if (frameId != "icon") return;
                    if (a_.FrameCount() >= kMaxCursorFrames)
                        Damaged("more than " + std::to_string(kMaxCursorFrames) + " frames");
                    AddIconDirectory(icon);
                });
            }
        });
        if (!haveHeader) Damaged("no animation header");
        if (a_.frames_.empty() || frames != a_.frames_.size())
            Damaged("the header names " + std::to_string(frames) + " frames, the file holds " +
                    std::to_string(a_.frames_.size()));
        if (steps == 0 || steps > kMaxAniSteps) Damaged("a sequence of " + std::to_string(steps) + " steps");
        const std::vector<uint32_t> order =
            sequence.empty() ? std::vector<uint32_t>() : ReadU32List(sequence, steps, "the sequence");
        const std::vector<uint32_t> jiffies =
            rates.empty() ? std::vector<uint32_t>() : ReadU32List(rates, steps, "the rates");
        if (sequence.empty() && steps != frames) Damaged("steps without a sequence must match the frames");
        for (uint32_t i = 0; i < steps; ++i) {
            const uint32_t frame = order.empty() ? i : order[i];
            if (frame >= frames) Damaged("the sequence names frame " + std::to_string(frame));
            a_.Sequence.push_back(static_cast<int32_t>(frame));
            a_.Jiffies.push_back(
                static_cast<int32_t>(std::clamp<uint32_t>(jiffies.empty() ? rate : jiffies[i], 1, 6000)));
        }
    }

    TCursorAnimation& a_;
    std::span<const uint8_t> file_;
};

TCursorImage TCursorAnimation::DecodeFrame(int32_t index) const {
    if (index < 0 || index >= FrameCount()) Damaged("no frame " + std::to_string(index));
    const TFrame& frame = frames_[static_cast<size_t>(index)];
    const std::span<const uint8_t> image(data_.data() + frame.Offset, frame.Size);
    TCursorImage cursor = DecodeDirectoryImage(image, ImageLayout(image));
    if (frame.HasHotSpot) {
        cursor.HotX = frame.HotX;
        cursor.HotY = frame.HotY;
    }
    return cursor;
}

TCursorAnimation ReadCursorFile(std::span<const uint8_t> data) {
    TCursorAnimation animation;
    animation.data_.assign(data.begin(), data.end());
    TCursorFileReader(animation).Read();
    return animation;
}

}  // namespace tova
