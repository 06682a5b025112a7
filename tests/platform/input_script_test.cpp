// Scripted input: every event kind, the pointer a click takes, malformed
// lines named by number, and recordings that read back as they were.
#include "platform/input_script.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

TEST(InputScript, EveryKindReadsWithThePointerOfTheLastMove) {
    const TInputScript script = ParseInputScript(
        "# a session\n"
        "1 move 100 80\n"
        "1 down left   # pressed\n"
        "2 up left\r\n"
        "\n"
        "3 wheel down\n"
        "4 key down VK_RETURN\n"
        "4 key up 13\n"
        "5 text こんにちは #1\n"
        "5 tick 16\n"
        "9 close\n",
        "in.txt");
    ASSERT_EQ(script.Events.size(), 8u);
    EXPECT_EQ(script.Events[7].Event.Kind, TInputKind::Close);
    EXPECT_EQ(script.Events[1].Frame, 1);
    EXPECT_EQ(script.Events[1].Event.Kind, TInputKind::MouseDown);
    EXPECT_EQ(script.Events[1].Event.X, 100);
    EXPECT_EQ(script.Events[1].Event.Y, 80);
    EXPECT_EQ(script.Events[3].Event.WheelSteps, -1);
    EXPECT_EQ(script.Events[4].Event.Key, VK_RETURN);
    EXPECT_EQ(script.Events[5].Event.Kind, TInputKind::KeyUp);
    EXPECT_EQ(script.Events[5].Event.Key, VK_RETURN);
    EXPECT_EQ(script.Events[6].Event.Text, "こんにちは #1");
    EXPECT_EQ(script.FrameTicks.at(5), 16);
}

TEST(InputScript, MalformedLinesAreNamedByNumber) {
    const char* bad[] = {
        "move 1 2",     "0 close",       "2 close\n1 close", "1 move 1", "1 move a b", "1 down both",
        "1 wheel left", "1 key press A", "1 key down Q1",    "1 jump",   "1 tick -5",  "1",
        "1 text",
    };
    for (const char* text : bad) {
        try {
            ParseInputScript(std::string("# first\n") + text + "\n", "in.txt");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ETovaError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("in.txt:2: ") ||
                        std::string(e.what()).starts_with("in.txt:3: "))
                << e.what();
        }
    }
}

TEST(InputScript, RecordingsReadBackAsTheyWere) {
    std::vector<TScriptedEvent> events;
    const auto add = [&](int64_t frame, TInputEvent event) { events.push_back({frame, std::move(event)}); };
    TInputEvent move = TInputEvent::Of(TInputKind::MouseMove);
    move.X = -3;
    move.Y = 700;
    add(1, move);
    TInputEvent down = TInputEvent::Of(TInputKind::MouseDown);
    down.Button = TMouseButton::Right;
    down.X = -3;
    down.Y = 700;
    add(2, down);
    add(2, TInputEvent::OfKey(TInputKind::KeyDown, '7'));
    add(3, TInputEvent::OfKey(TInputKind::KeyUp, 200));
    add(3, TInputEvent::OfText("漢字 # x"));
    std::string text = TickLine(1, 15) + "\n";
    for (const TScriptedEvent& e : events)
        text += InputScriptLine(e.Frame, e.Event) + "\n";
    TInputEvent wheel = TInputEvent::Of(TInputKind::Wheel);
    wheel.WheelSteps = 2;
    text += InputScriptLine(4, wheel) + "\n";
    const TInputScript back = ParseInputScript(text, "rec");
    ASSERT_EQ(back.Events.size(), events.size() + 2);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(back.Events[i].Frame, events[i].Frame);
        EXPECT_EQ(back.Events[i].Event.Kind, events[i].Event.Kind);
        EXPECT_EQ(back.Events[i].Event.Key, events[i].Event.Key);
        EXPECT_EQ(back.Events[i].Event.Text, events[i].Event.Text);
        if (i < 2) {
            EXPECT_EQ(back.Events[i].Event.X, events[i].Event.X) << i;
        }
    }
    EXPECT_EQ(back.Events[1].Event.Button, TMouseButton::Right);
    EXPECT_EQ(back.Events.back().Event.WheelSteps, 1);
    EXPECT_EQ(back.FrameTicks.at(1), 15);
}

}  // namespace
}  // namespace tova
