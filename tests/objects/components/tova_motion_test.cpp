// The motion driver on a control of a real screen, over a film made here:
// the wrap to the loop start after 1000 ms, the end without repeat, a
// relative film following a control the script moved, the animation pause,
// and what freeing a motion leaves on the control.
#include "objects/components/tova_motion.h"

#include <gtest/gtest.h>

#include "objects/components/component_fixture.h"
#include "objects/components/tova_box.h"
#include "objects/components/tova_images.h"
#include "objects/property_ids.h"

namespace tova {
namespace {

using test::ComponentTest;

// Frame n moves the control n pixels right and 2n down from the origin and
// raises it by n over its own priority.
class TTestFilm : public TMotionFilm {
public:
    TTestFilm(int32_t frames, int32_t loopStart, bool relative)
        : frames_(frames), loopStart_(loopStart), relative_(relative) {}
    int32_t BasePriority() const { return basePriority_; }
    int32_t FrameCount() const override { return frames_; }
    int32_t LoopStart() const override { return loopStart_; }
    bool Relative() const override { return relative_; }
    void SetOrigin(int32_t x, int32_t y) override {
        originX_ = x;
        originY_ = y;
    }
    void SetBasePriority(int32_t priority) override { basePriority_ = priority; }
    void ApplyFrame(int32_t frame, TTovaControl& control) override {
        ++Applied;
        control.Invalidate();
        control.MotionX = originX_ + frame;
        control.MotionY = originY_ + 2 * frame;
        control.SetPriorityBias(frame);
        control.Invalidate();
    }
    int Applied = 0;

private:
    int32_t frames_, loopStart_;
    bool relative_;
    int32_t originX_ = 0, originY_ = 0, basePriority_ = 0;
};

class MotionTest : public ComponentTest {
protected:
    TTovaMotion& Start(TTovaControl& box, int32_t frames, int32_t loopStart, bool relative) {
        auto film = std::make_unique<TTestFilm>(frames, loopStart, relative);
        film_ = film.get();
        auto motion = std::make_unique<TTovaMotion>(box, std::move(film),
                                                    [this, &box] { return Int(box, PR_REPEAT) != 0; });
        TTovaMotion& result = *motion;
        box.SetMotion(std::move(motion));
        return result;
    }
    TTestFilm* film_ = nullptr;
};

TEST_F(MotionTest, SixtyFramesWithRepeatWrapToTheLoopStartAfterOneSecond) {
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    SetBool(box, PR_REPEAT, true);
    TTovaMotion& motion = Start(box, 60, 20, false);
    Frame(10, false);  // the first two steps place the film and count no time
    Frame(10, false);
    EXPECT_EQ(motion.Elapsed, 0);
    EXPECT_EQ(box.MotionX, 0);
    for (int step = 0; step < 99; ++step)
        Frame(10, false);
    EXPECT_EQ(motion.Frame, 59);  // 990 ms
    EXPECT_EQ(box.MotionX, 59);
    Frame(10, false);  // 1000 ms: frame 60 wraps to 0 + the loop start
    EXPECT_EQ(motion.Frame, 20);
    EXPECT_EQ(motion.Elapsed, 333);
    EXPECT_EQ(box.MotionX, 20);
    EXPECT_EQ(box.MotionY, 40);
    EXPECT_TRUE(Int(box, PR_PLAYING));
    EXPECT_TRUE(Exists("box"));
}

TEST_F(MotionTest, WithoutRepeatTheMotionEndsOnceAndARelativeFilmFollowsTheControl) {
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_LEFT, 100);
    Set(box, PR_TOP, 50);
    TTovaMotion& motion = Start(box, 6, 0, true);
    int finished = 0;
    for (int step = 0; step < 20; ++step)
        finished += motion.Step(17) ? 0 : 1;
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(motion.Done);
    EXPECT_FALSE(Int(box, PR_PLAYING));
    EXPECT_EQ(box.MotionX, 105);  // the last frame, about where the control stood
    EXPECT_EQ(box.MotionY, 60);
    const int applied = film_->Applied;
    motion.Step(17);
    EXPECT_EQ(film_->Applied, applied);  // a done motion leaves the control alone
    // The script moves the control: the film's end pose is put where the
    // control now stands, and the motion reports its end again.
    Set(box, PR_LEFT, 10);
    EXPECT_FALSE(motion.Step(17));
    EXPECT_EQ(box.MotionX, 15);
    EXPECT_EQ(box.MotionY, 60);
    EXPECT_EQ(film_->Applied, applied + 1);
}

TEST_F(MotionTest, AnimationPauseHoldsTheClockAndFreeingClearsWhatTheMotionGave) {
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    SetBool(box, PR_REPEAT, true);
    Set(box, PR_PRIORITY, 3);
    TTovaMotion& motion = Start(box, 60, 0, false);
    for (int step = 0; step < 12; ++step)
        Frame(10, false);
    EXPECT_EQ(motion.Elapsed, 100);
    EXPECT_EQ(film_->BasePriority(), 3);
    SetBool(box, PR_ANIPAUSED, true);
    for (int step = 0; step < 12; ++step)
        Frame(10, false);
    EXPECT_EQ(motion.Elapsed, 100);
    EXPECT_EQ(box.PriorityBias, 6);
    box.SetMotion(nullptr);
    EXPECT_EQ(box.MotionX, 0);
    EXPECT_EQ(box.MotionY, 0);
    EXPECT_EQ(box.PriorityBias, 0);
    EXPECT_FALSE(Int(box, PR_PLAYING));
}

TEST_F(MotionTest, AFilmStandsInForTheFramesOfAnImageItDrives) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    TTovaMotion& motion = Start(image, 60, 0, false);
    EXPECT_EQ(Int(image, PR_COUNT), 60);
    for (int step = 0; step < 4; ++step)
        Frame(17, false);
    EXPECT_EQ(Int(image, PR_INDEX), 2);
    Set(image, PR_INDEX, 30);
    EXPECT_EQ(motion.Elapsed, 500);
    Frame(17, false);
    EXPECT_EQ(Int(image, PR_INDEX), 31);
    EXPECT_TRUE(Int(image, PR_PLAYING));
    for (int step = 0; step < 40; ++step)
        Frame(17, false);
    EXPECT_FALSE(Int(image, PR_PLAYING));
    EXPECT_EQ(Int(image, PR_INDEX), 59);
    EXPECT_TRUE(Exists("img"));
}

TEST_F(MotionTest, EmptyAndOddFilmsNeverApplyAFrameOutsideThem) {
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    SetBool(box, PR_REPEAT, true);
    TTovaMotion& motion = Start(box, 0, 5, false);
    for (int step = 0; step < 5; ++step)
        motion.Step(1000);
    EXPECT_EQ(film_->Applied, 0);
    auto& other = Create<TTovaBox>(LT_BOX, "other");
    TTovaMotion& seek = Start(other, 3, 99, false);
    seek.SeekFrame(-50);
    seek.Step(INT32_MAX);
    seek.Step(INT32_MAX);
    seek.Step(INT32_MAX);
    EXPECT_GE(seek.Frame, 0);
    EXPECT_LE(seek.Frame, 2);
    EXPECT_EQ(motion.Frame, 0);
}

}  // namespace
}  // namespace tova
