// Mouse routing and the keyboard: which control a press reaches, the
// capture while a button is held, key repeat timing and the focus.
#include "screen_fixture.h"

namespace tova {
namespace {

class ScreenInputTest : public ScreenTest {
protected:
    void Click(int32_t x, int32_t y) {
        screen.MouseMove(x, y);
        screen.MouseDown(TMouseButton::Left);
        screen.Input(16);
        screen.MouseUp(TMouseButton::Left);
        screen.Input(16);
    }
    // The handler and kind of every queued event, and the queue emptied, as
    // the interpreter would.
    std::vector<std::string> Take() {
        std::vector<std::string> seen;
        for (size_t i = 0; i < screen.Events.Count(); ++i)
            seen.push_back(screen.Events[i].Handler + ":" + std::to_string(screen.Events[i].Kind));
        screen.Events.Clear();
        return seen;
    }
};

using Events = std::vector<std::string>;

TEST_F(ScreenInputTest, PressesPassThroughTheIgnoreMouseModes) {
    TFillControl& below = Box("below", 0, 0, 100, 100);
    TFillControl& above = Box("above", 20, 20, 40, 40);
    Set(below, PR_ONLBTNDOWN, "below");
    Set(above, PR_ONLBTNDOWN, "above");
    Set(below, PR_ONRBTNDOWN, "belowR");
    Set(above, PR_ONRBTNDOWN, "aboveR");
    Set(above, PR_ONMOUSEIN, "in");

    Set(above, PR_IGNOREMOUSE, IM_LCLICK);  // the left button passes to the control below
    Click(30, 30);
    EXPECT_EQ(Take(), (Events{"below:36"}));
    screen.MouseDown(TMouseButton::Right);  // the right one does not
    screen.Input(16);
    screen.MouseUp(TMouseButton::Right);
    screen.Input(16);
    EXPECT_EQ(Take(), (Events{"aboveR:38", "in:103"}));

    Set(above, PR_IGNOREMOUSE, IM_RCLICK);
    Click(31, 30);
    EXPECT_EQ(Take(), (Events{"above:36"}));

    // IM_CLICK: moves, ins and outs, but no presses.
    Set(above, PR_IGNOREMOUSE, IM_CLICK);
    Set(above, PR_ONMOUSEMOVE, "move");
    Set(above, PR_ONMOUSEOUT, "out");
    screen.MouseMove(35, 35);
    screen.Input(16);
    EXPECT_EQ(Take(), (Events{"move:34"}));
    Click(36, 36);  // the press finds the control below, so the pointer left
    EXPECT_EQ(Take(), (Events{"below:36", "out:35"}));
    screen.MouseMove(37, 37);
    screen.Input(16);
    EXPECT_EQ(Take(), (Events{"in:103", "move:34"}));

    // IM_ALL: the control is never hit.
    Set(above, PR_IGNOREMOUSE, IM_ALL);
    Click(30, 30);
    EXPECT_EQ(Take(), (Events{"below:36", "out:35"}));
    screen.MouseMove(31, 31);
    screen.Input(16);
    EXPECT_EQ(Take(), Events{});
}

TEST_F(ScreenInputTest, AHeldButtonKeepsTheMouseWithThePressedControl) {
    TFillControl& left = Box("left", 0, 0, 50, 50);
    TFillControl& right = Box("right", 100, 0, 50, 50);
    Set(left, PR_ONLBTNDOWN, "down");
    Set(left, PR_ONLBTNUP, "up");
    Set(left, PR_ONMOUSEMOVE, "drag");
    Set(right, PR_ONMOUSEIN, "rightIn");
    Set(right, PR_ONLBTNUP, "rightUp");

    screen.MouseMove(10, 10);
    screen.MouseDown(TMouseButton::Left);
    screen.Input(16);
    ASSERT_EQ(screen.Events.Count(), 2u);
    EXPECT_EQ(screen.Events[1].Args, (std::vector<std::string>{"10", "10"}));
    Take();
    screen.MouseMove(120, 20);  // over the other control, button still down
    screen.Input(16);
    ASSERT_EQ(screen.Events.Count(), 1u);
    EXPECT_EQ(screen.Events[0].Handler, "drag");
    EXPECT_EQ(screen.Events[0].Args, (std::vector<std::string>{"120", "20"}));
    Take();
    screen.MouseUp(TMouseButton::Left);
    screen.Input(16);
    EXPECT_EQ(Take(), (Events{"up:37"}));
    screen.Input(16);  // released: the pointer is the other control's now
    EXPECT_EQ(Take(), (Events{"rightIn:103"}));

    // A second press while the first press event still waits queues nothing.
    screen.MouseMove(10, 10);
    screen.MouseDown(TMouseButton::Left);
    screen.Input(16);
    screen.MouseUp(TMouseButton::Left);
    screen.Input(16);
    screen.MouseDown(TMouseButton::Left);
    screen.Input(16);
    int presses = 0;
    for (size_t i = 0; i < screen.Events.Count(); ++i) presses += screen.Events[i].Kind == PR_ONLBTNDOWN;
    EXPECT_EQ(presses, 1);
}

TEST_F(ScreenInputTest, ChildrenOutsideTheirParentAndHiddenControlsAreNotHit) {
    TFillControl& parent = Box("parent", 10, 10, 30, 30);
    TFillControl& child = Box("child", 50, 0, 20, 20, 0, &parent);  // at 60..80 on screen
    Set(child, PR_ONLBTNDOWN, "child");
    Set(parent, PR_ONLBTNDOWN, "parent");
    Click(65, 15);
    EXPECT_EQ(Take(), Events{});
    Set(child, PR_LEFT, 5);
    Click(20, 15);
    EXPECT_EQ(Take(), (Events{"child:36"}));
    Set(parent, PR_VISIBLE, 0);
    Click(21, 15);
    EXPECT_EQ(Take(), Events{});
    // A paused control takes the press but queues nothing.
    Set(parent, PR_VISIBLE, 1);
    child.PausedFlag = true;
    Click(22, 15);
    EXPECT_EQ(Take(), Events{});
}

TEST_F(ScreenInputTest, KeyRepeatFollowsTheFrameClock) {
    TFillControl& field = Box("field", 0, 0, 10, 10);
    Set(field, PR_HANDLEKEY, 1);
    Set(field, PR_ONKEYDOWN, "down");
    Set(field, PR_ONKEYUP, "up");
    Set(field, PR_ONKEYREPEAT, "repeat");
    screen.Input(10);
    EXPECT_EQ(screen.Focus(), &field);
    Take();

    // Held for 390 ms in 10 ms frames. A key going down counts as a repeat
    // too, then the repeats come at 300 ms and 350 ms.
    screen.KeyDown(13, false);
    std::map<std::string, int> counts;
    std::vector<std::string> args;
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == 39) screen.KeyUp(13);
        screen.KeyDown(13, true);  // the window's own auto-repeat is ignored
        screen.Input(10);
        for (size_t i = 0; i < screen.Events.Count(); ++i) {
            ++counts[screen.Events[i].Handler];
            args.insert(args.end(), screen.Events[i].Args.begin(), screen.Events[i].Args.end());
        }
        screen.Events.Clear();
    }
    EXPECT_EQ(counts["down"], 1);
    EXPECT_EQ(counts["repeat"], 3);
    EXPECT_EQ(counts["up"], 1);
    EXPECT_EQ(args, std::vector<std::string>(5, "13"));
    EXPECT_FALSE(screen.KeyState(13));
}

TEST_F(ScreenInputTest, FocusMovesByClicksAndIsDroppedByHidingAndFreeing) {
    TFillControl& first = Box("first", 0, 0, 20, 20);
    TFillControl& second = Box("second", 50, 0, 20, 20);
    TFillControl& plain = Box("plain", 100, 0, 20, 20);
    for (TFillControl* c : {&first, &second}) {
        Set(*c, PR_HANDLEKEY, 1);
        Set(*c, PR_ONFOCUSIN, c->Name + "In");
        Set(*c, PR_ONFOCUSOUT, c->Name + "Out");
    }
    screen.Input(16);
    // The first focusable searching from the topmost: equal priorities put
    // "first" on top.
    EXPECT_EQ(screen.Focus(), &first);
    Take();
    Click(55, 5);
    EXPECT_EQ(screen.Focus(), &second);
    EXPECT_EQ(Take(), (Events{"firstOut:149", "secondIn:148"}));
    Click(105, 5);  // no HandleKey: the focus stays
    EXPECT_EQ(screen.Focus(), &second);
    (void)plain;

    Set(second, PR_VISIBLE, 0);
    EXPECT_EQ(screen.Focus(), nullptr);
    screen.Input(16);
    EXPECT_EQ(screen.Focus(), &first);
    screen.RemoveObject(first);
    EXPECT_EQ(screen.Focus(), nullptr);
    Take();
    screen.Input(16);
    EXPECT_EQ(screen.Focus(), nullptr);
}

}  // namespace
}  // namespace tova
