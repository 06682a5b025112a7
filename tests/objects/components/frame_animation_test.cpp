// The frame animation of image components run through the screen's Step:
// freeing after the last delay plus the last-frame expression, the play-end
// event, repeat, pause and the short-animation rule.
#include <gtest/gtest.h>

#include "expr/tova_parser.h"
#include "objects/components/component_fixture.h"
#include "objects/components/tova_images.h"
#include "objects/property_ids.h"

namespace tova {
namespace {

using test::BrioFile;
using test::ComponentTest;
using test::Spec;

TPixel32 Flat(int32_t, int32_t) {
    return 0x00808080;
}

class FrameAnimation : public ComponentTest {
protected:
    FrameAnimation() {
        files_.Files["three.brz"] =
            BrioFile({Spec(2, 2, Flat, 100), Spec(3, 3, Flat, 50), Spec(2, 2, Flat, 70)});
        files_.Files["two.brz"] = BrioFile({Spec(2, 2, Flat, 100), Spec(2, 2, Flat, 100)});
    }
    // An image the way ImgNew makes it: the expression first, then the source.
    TTovaImages& Make(const std::string& name, const std::string& source, const std::string& lastFrame = {}) {
        auto& image = Create<TTovaImages>(LT_IMAGES, name);
        if (!lastFrame.empty()) {
            auto expression = std::make_unique<TTovaParser>();
            CompileExpression(lastFrame, *expression);
            image.SetLastFrameExpression(std::move(expression));
        }
        Set(image, PR_SOURCE, source);
        return image;
    }
    int PlayEndEvents() const {
        int n = 0;
        for (size_t i = 0; i < screen_->Events.Count(); ++i)
            n += screen_->Events[i].Kind == PR_ONPLAYEND ? 1 : 0;
        return n;
    }
};

TEST_F(FrameAnimation, AutoScrapFreesAfterTheLastDelayPlusTheExpression) {
    auto& image = Make("img", "three.brz", "20 + 10");
    SetBool(image, PR_AUTOSCRAP, true);
    // 100 + 50 + 70 + 30 ms in steps of 10.
    for (int step = 1; step < 25; ++step) {
        Frame(10, false);
        ASSERT_TRUE(Exists("img")) << step;
        if (step == 10) {
            EXPECT_EQ(Int(image, PR_INDEX), 1);
            EXPECT_EQ(Int(image, PR_WIDTH), 3);  // the frame's own size
        }
        if (step == 15) {
            EXPECT_EQ(Int(image, PR_INDEX), 2);
        }
        if (step == 24) {
            EXPECT_TRUE(Int(image, PR_PLAYING));
        }
    }
    Frame(10, false);
    EXPECT_FALSE(Exists("img"));
}

TEST_F(FrameAnimation, WithoutAutoScrapTheEndIsReportedOnceAndRepeatWraps) {
    auto& once = Make("once", "three.brz");
    Set(once, PR_ONPLAYEND, std::string("end.tsb"));
    auto& looping = Make("loop", "three.brz");
    SetBool(looping, PR_REPEAT, true);
    for (int step = 0; step < 22; ++step)
        Frame(10, false);
    EXPECT_EQ(Int(once, PR_INDEX), 2);
    EXPECT_EQ(Int(looping, PR_INDEX), 0);  // 100 + 50 + 70 ran out at step 22
    EXPECT_EQ(PlayEndEvents(), 1);
    EXPECT_FALSE(Int(once, PR_PLAYING));
    EXPECT_TRUE(Int(looping, PR_PLAYING));
    for (int step = 0; step < 50; ++step)
        Frame(10, false);
    EXPECT_EQ(PlayEndEvents(), 1);
    EXPECT_TRUE(Exists("once"));
    // Showing a frame again starts a new run, which ends with a new event.
    Set(once, PR_INDEX, 2);
    for (int step = 0; step < 8; ++step)
        Frame(10, false);
    EXPECT_EQ(PlayEndEvents(), 2);
}

TEST_F(FrameAnimation, PauseHiddenAndAnimationPauseStopTheClock) {
    auto& image = Make("img", "three.brz");
    SetBool(image, PR_PAUSED, true);
    for (int step = 0; step < 30; ++step)
        Frame(10, false);
    EXPECT_EQ(Int(image, PR_INDEX), 0);
    EXPECT_FALSE(Int(image, PR_PLAYING));
    // Unpausing resets the wait: the next step moves on at once.
    SetBool(image, PR_PAUSED, false);
    Frame(10, false);
    EXPECT_EQ(Int(image, PR_INDEX), 1);
    SetBool(image, PR_ANIPAUSED, true);
    for (int step = 0; step < 30; ++step)
        Frame(10, false);
    EXPECT_EQ(Int(image, PR_INDEX), 1);
    SetBool(image, PR_ANIPAUSED, false);
    SetBool(image, PR_VISIBLE, false);
    for (int step = 0; step < 30; ++step)
        Frame(10, false);
    EXPECT_EQ(Int(image, PR_INDEX), 1);
}

TEST_F(FrameAnimation, TwoFrameAnimationsDropTheOvershootAndNegativeExpressionsCannotSpin) {
    auto& two = Make("two", "two.brz");
    SetBool(two, PR_REPEAT, true);
    // 100 ms in steps of 30: the fourth step overshoots by 20, which a
    // two-frame animation drops, so frame 1 lasts its whole 100 ms.
    for (int step = 0; step < 4; ++step)
        Frame(30, false);
    EXPECT_EQ(Int(two, PR_INDEX), 1);
    EXPECT_EQ(two.Wait, 100);
    // A last frame whose expression makes the wait negative ends at once,
    // and a repeating one goes back to frame 0 once per step.
    auto& spin = Make("spin", "three.brz", "-100000");
    SetBool(spin, PR_REPEAT, true);
    for (int step = 0; step < 16; ++step)
        Frame(10, false);
    EXPECT_EQ(Int(spin, PR_INDEX), 0);
}

}  // namespace
}  // namespace tova
