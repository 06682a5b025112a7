#include "graphics/cursor_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/binary_io.h"
#include "core/error.h"
#include "graphics/bmp_file.h"
#include "graphics/brio_image.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

// Cursors are small; anything larger is damage, not a picture.
constexpr int32_t kMaxCursorSide = 256;
constexpr uint32_t kMaxAniFrames = 4096;

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged cursor file: " + what);
}

void Need(std::span<const uint8_t> data, uint64_t offset, uint64_t size, const char* what) {
    if (offset > data.size() || size > data.size() - offset) Damaged(std::string(what) + " is cut short");
}

// One image of an icon directory: a PNG, or a bitmap header with the doubled
// height, the colour rows and then the 1-bit mask rows (1: transparent).
TCursorImage ReadDirectoryImage(std::span<const uint8_t> image) {
    TCursorImage cursor;
    static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    if (image.size() >= 4 && std::memcmp(image.data(), kPng, 4) == 0) {
        TDecodedImage png = DecodePng(image, {.MaxPixels = int64_t{kMaxCursorSide} * kMaxCursorSide});
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
    Need(image, 0, 40, "a cursor's bitmap header");
    if (LoadLE32(&image[0]) < 40) Damaged("a cursor's bitmap header is too small");
    const auto width = static_cast<int32_t>(LoadLE32(&image[4]));
    const auto doubled = static_cast<int32_t>(LoadLE32(&image[8]));
    const uint32_t bpp = LoadLE16(&image[14]);
    const uint32_t usedColours = LoadLE32(&image[32]);
    if (width < 1 || width > kMaxCursorSide || doubled < 2 || doubled > 2 * kMaxCursorSide ||
        doubled % 2 != 0)
        Damaged("a cursor image of " + std::to_string(width) + "x" + std::to_string(doubled / 2) + " pixels");
    const int32_t height = doubled / 2;

    // The colour part is an ordinary bitmap once its header says its own height.
    std::vector<uint8_t> colourPart(image.begin(), image.end());
    for (int i = 0; i < 4; ++i)
        colourPart[8 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
    TImageBudget budget;
    TBrioFrame frame;
    ReadBmp(colourPart, frame, {.MaxPixels = int64_t{kMaxCursorSide} * kMaxCursorSide, .Budget = &budget});
    frame.ConvertToColour(budget);
    cursor.Colour = std::move(frame.Picture.Colour);

    const uint64_t headerSize = LoadLE32(&image[0]);
    const uint64_t paletteSize = bpp <= 8 ? 4ull * (usedColours ? usedColours : 1u << bpp) : 0;
    const uint64_t colourStride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    const uint64_t maskOffset = headerSize + paletteSize + colourStride * static_cast<uint64_t>(height);
    const uint64_t maskStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    cursor.Alpha.Resize(width, height);
    const bool hasMask = maskOffset + maskStride * static_cast<uint64_t>(height) <= image.size();
    // A 32-bit image with any alpha byte set uses its alpha; others use the
    // mask (a file without mask rows is opaque).
    if (bpp == 32 && frame.HasMask) {
        cursor.Alpha = std::move(frame.Mask);
        return cursor;
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row =
            hasMask ? &image[maskOffset + maskStride * static_cast<uint64_t>(height - 1 - y)] : nullptr;
        for (int32_t x = 0; x < width; ++x) {
            const bool transparent = row && (row[x / 8] >> (7 - x % 8) & 1) != 0;
            cursor.Alpha.Row(y)[x] = transparent ? 0 : 255;
        }
    }
    return cursor;
}

TCursorImage ReadIconDirectory(std::span<const uint8_t> data) {
    Need(data, 0, 6, "the icon directory");
    const uint32_t type = LoadLE16(&data[2]);
    const uint32_t count = LoadLE16(&data[4]);
    if (LoadLE16(&data[0]) != 0 || (type != 1 && type != 2)) Damaged("no icon directory");
    if (count == 0) Damaged("no image in the cursor");
    Need(data, 6, 16ull * count, "the icon directory");
    // The largest image; its hot spot is in the entry (for cursors).
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
    TCursorImage cursor = ReadDirectoryImage(data.subspan(offset, size));
    if (type == 2) {
        cursor.HotX = std::min<int32_t>(LoadLE16(entry + 4), cursor.Colour.Width() - 1);
        cursor.HotY = std::min<int32_t>(LoadLE16(entry + 6), cursor.Colour.Height() - 1);
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

TCursorAnimation ReadAnimatedCursor(std::span<const uint8_t> data) {
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
    TCursorAnimation animation;
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
                if (animation.Frames.size() >= kMaxAniFrames) Damaged("too many frames");
                animation.Frames.push_back(ReadIconDirectory(icon));
            });
        }
    });
    if (!haveHeader) Damaged("no animation header");
    if (animation.Frames.empty() || frames != animation.Frames.size())
        Damaged("the header names " + std::to_string(frames) + " frames, the file holds " +
                std::to_string(animation.Frames.size()));
    if (steps == 0 || steps > kMaxAniFrames) Damaged("a sequence of " + std::to_string(steps) + " steps");
    const std::vector<uint32_t> order =
        sequence.empty() ? std::vector<uint32_t>() : ReadU32List(sequence, steps, "the sequence");
    const std::vector<uint32_t> jiffies =
        rates.empty() ? std::vector<uint32_t>() : ReadU32List(rates, steps, "the rates");
    if (sequence.empty() && steps != frames) Damaged("steps without a sequence must match the frames");
    for (uint32_t i = 0; i < steps; ++i) {
        const uint32_t frame = order.empty() ? i : order[i];
        if (frame >= frames) Damaged("the sequence names frame " + std::to_string(frame));
        animation.Sequence.push_back(static_cast<int32_t>(frame));
        animation.Jiffies.push_back(
            static_cast<int32_t>(std::clamp<uint32_t>(jiffies.empty() ? rate : jiffies[i], 1, 6000)));
    }
    return animation;
}

}  // namespace

TCursorAnimation ReadCursorFile(std::span<const uint8_t> data) {
    if (data.size() >= 4 && std::memcmp(data.data(), "RIFF", 4) == 0) return ReadAnimatedCursor(data);
    TCursorAnimation still;
    still.Frames.push_back(ReadIconDirectory(data));
    still.Sequence = {0};
    still.Jiffies = {0};
    return still;
}

}  // namespace tova
