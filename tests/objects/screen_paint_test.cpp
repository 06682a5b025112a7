// Painting on real pictures: dirty rectangles and their merging, priorities,
// clips, hiding, and the current layer drawing into the composed screen.
#include "objects/clip_list.h"
#include "screen_fixture.h"

namespace tova {
namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;

using ScreenPaintTest = ScreenTest;

TEST(ClipListTest, NearRectanglesMergeAndFarOnesStay) {
    const TRect bounds{0, 0, 500, 500};
    TClipList near;
    near.Add(TRect::FromSize(0, 0, 10, 10), bounds);
    near.Add(TRect::FromSize(25, 0, 10, 10), bounds);  // 15 pixels apart
    ASSERT_EQ(near.Rects().size(), 1u);
    EXPECT_EQ(near.Rects()[0], (TRect{0, 0, 35, 10}));

    TClipList far;
    far.Add(TRect::FromSize(0, 0, 10, 10), bounds);
    far.Add(TRect::FromSize(35, 0, 10, 10), bounds);  // 25 pixels apart
    EXPECT_EQ(far.Rects().size(), 2u);
    // A rectangle joining both merges all three, whatever the order found.
    far.Add(TRect::FromSize(15, 0, 10, 10), bounds);
    ASSERT_EQ(far.Rects().size(), 1u);
    EXPECT_EQ(far.Rects()[0], (TRect{0, 0, 45, 10}));
    // One inside an entry changes nothing; an empty or outside one is dropped.
    far.Add(TRect::FromSize(1, 1, 2, 2), bounds);
    far.Add(TRect::FromSize(600, 600, 5, 5), bounds);
    far.Add(TRect::FromSize(-50, 0, 200, 5), bounds);
    ASSERT_EQ(far.Rects().size(), 1u);
    EXPECT_EQ(far.Rects()[0], (TRect{0, 0, 150, 10}));
}

TEST_F(ScreenPaintTest, PrioritiesDecideWhatIsOnTopAndOnlyDirtyPartsRepaint) {
    Frame();
    EXPECT_EQ(At(0, 0), 0u);  // a new screen is black
    TFillControl& red = Box("red", 10, 10, 40, 40, kRed);
    TFillControl& blue = Box("blue", 30, 30, 40, 40, kBlue);
    Frame();
    EXPECT_EQ(At(20, 20), kRed);
    EXPECT_EQ(At(40, 40), kBlue);  // equal priorities: the later name "red" goes below
    EXPECT_EQ(At(60, 60), kBlue);
    EXPECT_EQ(At(100, 80), 0u);

    Set(red, PR_PRIORITY, 1);
    screen.Paint();
    EXPECT_EQ(At(40, 40), kRed);
    ASSERT_FALSE(screen.PaintedRects().empty());
    screen.ClearDirty();

    // A frame where nothing changed paints nothing.
    const int before = red.PaintCount + blue.PaintCount;
    Frame();
    EXPECT_TRUE(screen.PaintedRects().empty());
    EXPECT_EQ(red.PaintCount + blue.PaintCount, before);

    // Moving one box repaints its old and new places only.
    Set(red, PR_LEFT, 120);
    screen.Paint();
    TRect painted;
    for (const TRect& r : screen.PaintedRects()) painted = painted.Union(r);
    EXPECT_EQ(painted, (TRect{10, 10, 160, 50}));
    EXPECT_EQ(At(20, 20), 0u);
    EXPECT_EQ(At(130, 20), kRed);
    screen.ClearDirty();
}

TEST_F(ScreenPaintTest, ClipRectanglesLimitAControlAndItsChildren) {
    TFillControl& parent = Box("parent", 10, 10, 100, 60, kRed);
    Box("child", 80, 40, 60, 40, kGreen, &parent);  // reaches outside the parent
    Frame();
    EXPECT_EQ(At(130, 70), kGreen);  // children are not clipped to the parent's box

    Set(parent, PR_CLIPLEFT, 10);
    Set(parent, PR_CLIPTOP, 10);
    Set(parent, PR_CLIPWIDTH, 50);
    Set(parent, PR_CLIPHEIGHT, 30);  // screen 20..70 x 20..50
    Frame();
    EXPECT_EQ(At(15, 15), 0u);
    EXPECT_EQ(At(20, 20), kRed);
    EXPECT_EQ(At(69, 49), kRed);
    EXPECT_EQ(At(70, 49), 0u);
    EXPECT_EQ(At(130, 70), 0u);  // the child is clipped too

    Set(parent, PR_CLIPWIDTH, 0);  // a width below 1 lifts the clip
    Frame();
    EXPECT_EQ(At(15, 15), kRed);
    EXPECT_EQ(At(130, 70), kGreen);

    // Hiding the parent clears its children's area as well, even outside it.
    Set(parent, PR_VISIBLE, 0);
    Frame();
    EXPECT_EQ(At(15, 15), 0u);
    EXPECT_EQ(At(130, 70), 0u);
}

TEST_F(ScreenPaintTest, TheCurrentLayerIsTheComposedPictureAndSwaps) {
    TFillControl& front = Box("front", 0, 0, 50, 50, kRed);
    TFillControl& back = Box("back", 0, 0, 50, 50, kBlue);
    Set(back, PR_PARENT, "\x01");  // onto the other layer
    Frame();
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(screen.FindObject(""), &screen.Layer(0));

    screen.StartTransition(1);
    EXPECT_EQ(screen.FindObject(""), &screen.Layer(1));
    EXPECT_EQ(screen.FindObject("\x01"), &screen.Layer(0));
    EXPECT_EQ(front.GetLayer(), &screen.Layer(0));
    Frame();
    EXPECT_EQ(At(10, 10), kBlue);
    EXPECT_EQ(screen.PaintedRects().size(), 1u);  // the whole screen, once

    // The layer's colour fills it; -1 leaves what was drawn.
    Set(screen.Layer(1), PR_COLOR, static_cast<int32_t>(kGreen));
    Frame();
    EXPECT_EQ(At(100, 50), kGreen);

    screen.SetSize(-5, 100000);  // clamped to the limits
    EXPECT_EQ(screen.Width(), 1);
    EXPECT_EQ(screen.Height(), TTovaBaseList::kMaxSide);
    EXPECT_EQ(screen.Surface().Width(), 1);
}

}  // namespace
}  // namespace tova
