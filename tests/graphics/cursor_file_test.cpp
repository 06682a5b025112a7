// Cursor files built here byte by byte: a bitmap cursor with its mask and
// hot spot, a PNG cursor, an animated cursor with rates and a sequence, and
// damaged files that must fail cleanly.
#include "graphics/cursor_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/error.h"
#include "graphics/cursor_bytes.h"
#include "graphics/image_codecs.h"

namespace tova {
namespace {

using TBytes = std::vector<uint8_t>;
using testing::CursorFile;
using testing::Put16;
using testing::Put32;

void PutId(TBytes& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

// A 24-bit bitmap image of w x h: colour (x, y) -> 0xRRGGBB = x * 8 << 16 | y * 8,
// transparent where (x + y) % 3 == 0.
TBytes BitmapImage(int w, int h) {
    TBytes image;
    Put32(image, 40);
    Put32(image, static_cast<uint32_t>(w));
    Put32(image, static_cast<uint32_t>(2 * h));
    Put16(image, 1);
    Put16(image, 24);
    for (int i = 0; i < 6; ++i)
        Put32(image, 0);
    const int colourStride = (w * 24 + 31) / 32 * 4;
    const int maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        TBytes row(static_cast<size_t>(colourStride), 0);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<uint8_t>(y * 8);      // blue
            row[3 * x + 2] = static_cast<uint8_t>(x * 8);  // red
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        TBytes row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x)
            if ((x + y) % 3 == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        image.insert(image.end(), row.begin(), row.end());
    }
    return image;
}

void PutChunk(TBytes& out, const char* id, const TBytes& body) {
    PutId(out, id);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

TBytes AnimatedCursor(const std::vector<TBytes>& frames, const std::vector<uint32_t>& sequence,
                      const std::vector<uint32_t>& rates, uint32_t headerFrames) {
    TBytes header;
    Put32(header, 36);
    Put32(header, headerFrames);
    Put32(header, static_cast<uint32_t>(sequence.size()));
    for (int i = 0; i < 4; ++i)
        Put32(header, 0);
    Put32(header, 10);  // default rate
    Put32(header, 3);   // icon data, sequence present
    TBytes list;
    PutId(list, "fram");
    for (const TBytes& frame : frames)
        PutChunk(list, "icon", frame);
    TBytes seq, rate;
    for (uint32_t v : sequence)
        Put32(seq, v);
    for (uint32_t v : rates)
        Put32(rate, v);
    TBytes body;
    PutId(body, "ACON");
    PutChunk(body, "anih", header);
    if (!rates.empty()) PutChunk(body, "rate", rate);
    PutChunk(body, "seq ", seq);
    PutChunk(body, "LIST", list);
    TBytes file;
    PutId(file, "RIFF");
    Put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST(CursorFile, BitmapCursorKeepsColoursMaskAndHotSpot) {
    const TCursorAnimation cursor = ReadCursorFile(CursorFile(BitmapImage(20, 12), 20, 5, 7));
    ASSERT_EQ(cursor.Frames.size(), 1u);
    const TCursorImage& image = cursor.Frames[0];
    ASSERT_EQ(image.Colour.Width(), 20);
    ASSERT_EQ(image.Colour.Height(), 12);
    EXPECT_EQ(image.HotX, 5);
    EXPECT_EQ(image.HotY, 7);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(image.Colour.Row(y)[x],
                      static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8));
            EXPECT_EQ(image.Alpha.Row(y)[x], (x + y) % 3 == 0 ? 0 : 255) << x << "," << y;
        }
}

TEST(CursorFile, PngCursorAndAnimatedCursor) {
    TSurface32 colour(3, 2);
    TSurface8 alpha(3, 2);
    colour.Row(1)[2] = 0x123456;
    alpha.Row(1)[2] = 200;
    const TConstView8 alphaView = alpha.View();
    const TBytes png = EncodePng(colour.View(), &alphaView);
    const TBytes pngCursor = CursorFile(png, 3, 1, 1);
    const TCursorAnimation still = ReadCursorFile(pngCursor);
    EXPECT_EQ(still.Frames[0].Colour.Row(1)[2], 0x123456u);
    EXPECT_EQ(still.Frames[0].Alpha.Row(1)[2], 200);
    EXPECT_EQ(still.Sequence, std::vector<int32_t>{0});

    const TBytes bitmapCursor = CursorFile(BitmapImage(8, 8), 8, 0, 0);
    const TCursorAnimation animated =
        ReadCursorFile(AnimatedCursor({pngCursor, bitmapCursor}, {1, 0, 1}, {5, 6, 7}, 2));
    ASSERT_EQ(animated.Frames.size(), 2u);
    EXPECT_EQ(animated.Frames[1].Colour.Width(), 8);
    EXPECT_EQ(animated.Sequence, (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(animated.Jiffies, (std::vector<int32_t>{5, 6, 7}));
    // Without rates every step takes the header's rate.
    EXPECT_EQ(ReadCursorFile(AnimatedCursor({bitmapCursor}, {0}, {}, 1)).Jiffies, std::vector<int32_t>{10});
}

TEST(CursorFile, DamagedFilesFailCleanly) {
    const TBytes good = CursorFile(BitmapImage(16, 16), 16, 3, 3);
    std::vector<TBytes> bad;
    for (size_t cut : {0ul, 5ul, 21ul, 30ul, 62ul, good.size() - 70})
        bad.emplace_back(good.begin(), good.begin() + cut);
    TBytes huge = good;
    huge[22 + 8] = 0xFF;  // height 0x..FF doubled
    bad.push_back(huge);
    TBytes lying = good;
    lying[4] = 0xFF;  // 255 directory entries
    bad.push_back(lying);
    bad.push_back(AnimatedCursor({good}, {0, 3}, {}, 1));  // a step names frame 3
    bad.push_back(AnimatedCursor({good}, {0}, {}, 2));     // two frames said, one given
    bad.push_back(AnimatedCursor({}, {0}, {}, 0));         // none at all
    TBytes riff = AnimatedCursor({good}, {0}, {}, 1);
    riff[4] = 0xFF;  // a RIFF size beyond the file
    bad.push_back(riff);
    TBytes tiny = riff;
    tiny[4] = 2;  // a RIFF size too small for its own form type
    tiny[5] = tiny[6] = tiny[7] = 0;
    bad.push_back(tiny);
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(ReadCursorFile(bad[i]), ETovaError) << i;
}

}  // namespace
}  // namespace tova
