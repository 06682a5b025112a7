// The Step stage: the walk over every component that survives components
// freed during it, finished components, the script's deletion and idle
// events.
#include "screen_fixture.h"

namespace tova {
namespace {

using ScreenStepTest = ScreenTest;

TEST_F(ScreenStepTest, ComponentsFreedDuringTheWalkDoNotStopIt) {
    std::vector<std::string> stepped;
    const auto record = [&stepped](TFillControl& c) {
        stepped.push_back(c.Name);
        return true;
    };
    TFillControl& a = Box("a", 0, 0, 1, 1);
    TFillControl& b = Box("b", 0, 0, 1, 1);
    TFillControl& c = Box("c", 0, 0, 1, 1);
    TFillControl& d = Box("d", 0, 0, 1, 1);
    TFillControl& e = Box("e", 0, 0, 1, 1);
    a.OnStep = record;
    c.OnStep = record;
    e.OnStep = record;
    // b frees itself and a (already stepped); d frees e's predecessor... itself.
    b.OnStep = [&](TFillControl& self) {
        stepped.push_back("b");
        screen.RemoveObject(a);
        screen.RemoveObject(self);
        return true;
    };
    d.OnStep = [&](TFillControl&) {
        stepped.push_back("d");
        return false;  // finished: the screen frees it
    };
    screen.Step(16);
    EXPECT_EQ(stepped, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    ASSERT_EQ(screen.ObjectCount(), 2u);
    EXPECT_EQ(&screen.Object(0), &c);
    EXPECT_EQ(&screen.Object(1), &e);

    // A paused component is kept even when its step would end it.
    c.PausedFlag = true;
    c.OnStep = [](TFillControl&) { return false; };
    screen.Step(16);
    EXPECT_EQ(screen.ObjectCount(), 2u);
}

TEST_F(ScreenStepTest, DeletionFreesTheNameAtOnceAndTheComponentAfterTheStep) {
    TFillControl& doomed = Box("dialog", 0, 0, 10, 10);
    Box("child", 0, 0, 5, 5, 0, &doomed);
    Set(doomed, PR_ONLBTNDOWN, "click");
    screen.Events.Add({"click", doomed.Handle(), PR_ONLBTNDOWN, 0, {}});
    const TComponentHandle handle = doomed.Handle();

    screen.DeleteObject(doomed);
    screen.DeleteObject(doomed);  // once is enough
    EXPECT_EQ(screen.FindObject("dialog"), nullptr);
    TFillControl& fresh = Box("dialog", 0, 0, 10, 10);
    EXPECT_EQ(fresh.Name, "dialog");  // nobody was renamed aside
    EXPECT_EQ(screen.ObjectCount(), 3u);

    std::vector<std::string> names;
    screen.Step(16);
    EXPECT_FALSE(screen.Contains(handle));
    EXPECT_EQ(screen.ObjectCount(), 1u);  // its child went with it
    EXPECT_EQ(screen.Events.Count(), 0u);
    EXPECT_EQ(screen.FindObject("dialog"), &fresh);
    screen.DeleteObject(screen.Layer(0));  // the layers stay
    screen.Step(16);
    EXPECT_EQ(screen.Layer(0).Name, "\x01" "BASE0");
}

TEST_F(ScreenStepTest, IdleEventsWaitOneAtATimeAndResetClearsEverything) {
    TFillControl& idle = Box("idle", 0, 0, 10, 10);
    idle.Idle = "tick";
    screen.Step(16);
    screen.Step(16);
    ASSERT_EQ(screen.Events.Count(), 1u);
    EXPECT_EQ(screen.Events[0].Kind, PR_ONIDLE);

    auto cabinet = std::make_unique<TTovaCabinet>();
    TTovaControl& box = screen.AddObject(std::move(cabinet)).AsControl()[0];
    idle.SetParent(&box);  // inside a cabinet: no idle, no step
    screen.Events.Clear();
    screen.Step(16);
    EXPECT_EQ(screen.Events.Count(), 0u);

    screen.MouseMove(7, 8);
    screen.SetSize(320, 240);
    screen.Reset();
    EXPECT_EQ(screen.ObjectCount(), 0u);
    EXPECT_EQ(screen.Layer(0).Children().size(), 0u);
    EXPECT_EQ(screen.Width(), 320);
    EXPECT_EQ(screen.MouseX(), 7);
    EXPECT_EQ(screen.Layer(1).Input.MouseY, 8);
}

}  // namespace
}  // namespace tova
