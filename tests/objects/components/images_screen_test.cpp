// Image and box components on a real screen: what Paint composes against
// pictures computed here (position with zoom and flip, alpha, brightness,
// priorities), hit testing through masks, missing and damaged pictures, and
// hostile sizes and zooms.
#include <gtest/gtest.h>

#include "objects/components/component_fixture.h"
#include "objects/components/tova_box.h"
#include "objects/components/tova_images.h"
#include "objects/property_ids.h"

namespace tova {
namespace {

using test::BrioFile;
using test::ComponentTest;
using test::Spec;

TPixel32 PicturePixel(int32_t x, int32_t y) {
    return static_cast<TPixel32>((x * 40 + 20) << 16 | (y * 60 + 30) << 8 | 0x44);
}

uint32_t Mix(uint32_t old, uint32_t now, int32_t k) {
    uint32_t r = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t a = (old >> shift) & 0xFF, b = (now >> shift) & 0xFF;
        r |= ((static_cast<uint32_t>(k) * b + (255u - static_cast<uint32_t>(k)) * a) / 256) << shift;
    }
    return r;
}

class ImagesOnScreen : public ComponentTest {
protected:
    ImagesOnScreen() {
        files_.Files["pic.brz"] = BrioFile({Spec(4, 2, PicturePixel)});
        screen_->CurrentLayer().SetColor(0);
    }
};

TEST_F(ImagesOnScreen, ATurnedPictureBeyondItsBoundsIsRedrawnAndErasedWhole) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    Set(image, PR_SOURCE, std::string("pic.brz"));
    Set(image, PR_ZOOMX, 1024);
    Set(image, PR_ZOOMY, 1024);
    Set(image, PR_LEFT, 20);
    Set(image, PR_TOP, 20);  // 16 x 8, centred on (28, 24)
    Frame(16);
    EXPECT_EQ(Pixel(28, 17), 0u);
    // A quarter turn stands 8 x 16: above and below the bounds.
    Set(image, PR_ANGLE, 64);
    Frame(16);
    EXPECT_NE(Pixel(28, 17), 0u);
    EXPECT_NE(Pixel(28, 30), 0u);
    EXPECT_EQ(Pixel(22, 24), 0u);
    // A box passing over the turned part only: the picture comes back under it.
    const TPixel32 turned = Pixel(27, 17);
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_LEFT, 26);
    Set(box, PR_TOP, 16);
    Set(box, PR_WIDTH, 3);
    Set(box, PR_HEIGHT, 3);
    Frame(16);
    Set(box, PR_VISIBLE, 0);
    Frame(16);
    EXPECT_EQ(Pixel(27, 17), turned);
    // Turned back: nothing stays behind outside the bounds.
    Set(image, PR_ANGLE, 0);
    Frame(16);
    EXPECT_EQ(Pixel(28, 17), 0u);
    EXPECT_EQ(Pixel(28, 30), 0u);
    EXPECT_NE(Pixel(22, 24), 0u);
}

TEST_F(ImagesOnScreen, ZoomedMirroredImageUnderAHalfTransparentFramedBox) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    Set(image, PR_SOURCE, std::string("pic.brz"));
    Set(image, PR_ZOOMX, 512);
    Set(image, PR_ZOOMY, 768);
    SetBool(image, PR_FLIPH, true);
    Set(image, PR_LEFT, 20);
    Set(image, PR_TOP, 7);
    EXPECT_EQ(Int(image, PR_WIDTH), 8);
    EXPECT_EQ(Int(image, PR_HEIGHT), 6);
    EXPECT_EQ(Int(image, PR_ORIGWIDTH), 4);
    EXPECT_EQ(Int(image, PR_COUNT), 1);
    EXPECT_EQ(Int(image, PR_INDEX), 0);

    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_LEFT, 18);
    Set(box, PR_TOP, 10);
    Set(box, PR_WIDTH, 10);
    Set(box, PR_HEIGHT, 8);
    Set(box, PR_COLOR, 0x0000FF);        // red
    Set(box, PR_BORDERCOLOR, 0xFF0000);  // blue
    Set(box, PR_BORDERWIDTH, 2);
    Set(box, PR_ALPHA, 128);
    Set(box, PR_PRIORITY, 1);
    Frame(16);

    // A flipped control is anchored at its right edge: its left column is
    // Left - (Width - 1).
    const TRect imageRect = TRect::FromSize(20 - 7, 7, 8, 6);
    const TRect boxRect = TRect::FromSize(18, 10, 10, 8);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            uint32_t want = 0;
            if (imageRect.Contains(x, y))
                want = PicturePixel(3 - (x - imageRect.Left) / 2, (y - imageRect.Top) / 3);
            if (boxRect.Contains(x, y)) {
                const bool border = x < 20 || x >= 26 || y < 12 || y >= 16;
                want = Mix(want, border ? 0x0000FFu : 0xFF0000u, 128);
            }
            ASSERT_EQ(Pixel(x, y), want) << "at " << x << "," << y;
        }

    // Below the image now: the box's priority drops under it.
    Set(box, PR_PRIORITY, -1);
    Frame(16);
    EXPECT_EQ(Pixel(20, 12), PicturePixel(0, 1));
    EXPECT_EQ(Pixel(27, 12), Mix(0, 0x0000FF, 128));
}

TEST_F(ImagesOnScreen, BrightnessAlphaAndFlipsRedrawWhatChanged) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    Set(image, PR_SOURCE, std::string("pic.brz"));
    Set(image, PR_LEFT, 2);
    Set(image, PR_TOP, 3);
    Frame(16);
    EXPECT_EQ(Pixel(2, 3), PicturePixel(0, 0));
    Set(image, PR_BRIGHTNESS, 255 + 100);
    Frame(16);
    auto lit = [](uint32_t c, int32_t by) {
        uint32_t r = 0;
        for (int shift = 0; shift < 24; shift += 8)
            r |= static_cast<uint32_t>(std::clamp(static_cast<int32_t>((c >> shift) & 0xFF) + by, 0, 255))
                 << shift;
        return r;
    };
    EXPECT_EQ(Pixel(2, 3), lit(PicturePixel(0, 0), 100));
    EXPECT_EQ(Pixel(5, 4), lit(PicturePixel(3, 1), 100));
    Set(image, PR_BRIGHTNESS, 55);
    Set(image, PR_ALPHA, 64);
    Frame(16);
    EXPECT_EQ(Pixel(5, 4), Mix(0, lit(PicturePixel(3, 1), -200), 64));
    Set(image, PR_ALPHA, 0);
    Frame(16);
    EXPECT_EQ(Pixel(5, 4), 0u);
    EXPECT_EQ(Int(image, PR_BRIGHTNESS), 55);
}

TEST_F(ImagesOnScreen, CaptureMaskLetsClicksThroughTransparentPixels) {
    files_.Files["ring.brz"] = BrioFile({Spec(4, 4, PicturePixel, 100, [](int32_t x, int32_t y) {
        return uint8_t((x == 0 && y == 0) ? 0 : 255);
    })});
    auto& image = Create<TTovaImages>(LT_IMAGES, "ring");
    Set(image, PR_SOURCE, std::string("ring.brz"));
    Set(image, PR_LEFT, 10);
    Set(image, PR_TOP, 10);
    const TMouseModes modes = TMouseModes::Of({0, 2, 3, 4});
    TTovaBase& layer = screen_->CurrentLayer();
    EXPECT_EQ(layer.HitTest(10, 10, modes), &image);  // the whole rectangle without the mask
    SetBool(image, PR_CAPTUREMASK, true);
    EXPECT_NE(layer.HitTest(10, 10, modes), &image);
    EXPECT_EQ(layer.HitTest(11, 10, modes), &image);
    SetBool(image, PR_FLIPH, true);  // the transparent corner moves to the right
    const int32_t left = image.ScreenX();
    EXPECT_EQ(layer.HitTest(left, 10, modes), &image);
    EXPECT_NE(layer.HitTest(left + 3, 10, modes), &image);
}

TEST_F(ImagesOnScreen, MissingDamagedAndHostilePicturesNeverCrash) {
    std::vector<std::string> reports;
    cache_.OnLoadError = [&](const std::string& m) { reports.push_back(m); };
    files_.Files["bad.brz"] = {'B', 'r', 'i', 'o', '1', '0', '6', 40, 0, 0, 0, 1, 2, 3};
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_WIDTH, 64);
    Set(box, PR_HEIGHT, 48);
    Set(box, PR_COLOR, 0xFFFFFF);
    Set(box, PR_PRIORITY, -5);
    for (const char* name : {"nothing.brz", "bad.brz"}) {
        auto& image = Create<TTovaImages>(LT_IMAGES, name);
        Set(image, PR_SOURCE, std::string(name));
        Set(image, PR_LEFT, 30);
        Set(image, PR_TOP, 30);
        // The missing-image frame: 8 x 8 of the transparent colour, so the
        // box shows through.
        EXPECT_EQ(Int(image, PR_WIDTH), 8) << name;
        EXPECT_EQ(Int(image, PR_COUNT), 1) << name;
        Frame(16);
        EXPECT_EQ(Pixel(30, 30), 0xFFFFFFu) << name;
        EXPECT_EQ(Pixel(37, 37), 0xFFFFFFu) << name;
        screen_->RemoveObject(image);
    }
    EXPECT_EQ(reports.size(), 2u);  // the missing one and the damaged one

    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    Set(image, PR_SOURCE, std::string("pic.brz"));
    for (int32_t zoom : {0, -256, 1 << 30, INT32_MAX, INT32_MIN}) {
        Set(image, PR_ZOOMX, zoom);
        Set(image, PR_ZOOMY, zoom);
        Set(image, PR_ANGLE, 37);
        EXPECT_GE(Int(image, PR_WIDTH), 0);
        Frame(16);
    }
    Set(image, PR_ZOOMX, 256);
    Set(image, PR_ZOOMY, 256);
    for (int32_t v : {-5, INT32_MIN, INT32_MAX}) {
        Set(image, PR_ORIGWIDTH, v);
        Set(image, PR_INDEX, v);
        Set(image, PR_WIDTH, v);
        Set(image, PR_LEFT, v);
        Set(box, PR_BORDERWIDTH, v);
        Set(box, PR_WIDTH, v);
        Frame(16);
    }
    // An index outside the frames shows nothing and the animation stops.
    Set(image, PR_INDEX, 7);
    EXPECT_EQ(Int(image, PR_INDEX), 7);
    Frame(1000);
    EXPECT_TRUE(Exists("img"));
}

}  // namespace
}  // namespace tova
