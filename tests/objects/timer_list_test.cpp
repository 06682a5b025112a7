// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "core/error.h"
#include "objects/tova_base_list.h"

namespace tova {
namespace {

TTimerData Event(std::string handler, int32_t state = 0, TComponentHandle sender = {}) {
    TTimerData event;
    event.Handler = std::move(handler);
    event.State = state;
    event.Sender = sender;
    event.Kind = 36;
    event.Args = {"3", "4"};
    return event;
}

TEST(TimerListTest, PendingAndRemovalByLevel) {
    TTimerList list;
    list.Add(Event("a.tsb", 1));
    list.Add(Event("b.tsb"));
    list.Add(Event("c.tsb", 2));
    list.Add(Event("d.tsb"));
    ASSERT_NE(list.NextPending(), nullptr);
    EXPECT_EQ(list.NextPending()->Handler, "b.tsb");
    list.RemoveLevel(2);
    EXPECT_EQ(list.Count(), 3u);
    list.RemoveTaken();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0].Handler, "b.tsb");
    EXPECT_EQ(list[1].Handler, "d.tsb");
}

TEST(TimerListTest, SavedFormRoundTripResolvesSendersByName) {
    TTovaBaseList screen;
    auto button = std::make_unique<TTovaObject>();
    button->Name = "button";
    TTovaObject& sender = screen.AddObject(std::move(button));
    screen.Events.Add(Event("click.tsb:Start", 0, sender.Handle()));
    screen.Events.Add(Event("timer.tsb", 3));

    TTpMemoryStream stream;
    screen.Events.SaveToStream(stream, [&](TComponentHandle o) { return screen.NameOf(o); });
    stream.SetPosition(0);
    TTimerList loaded;
    loaded.LoadFromStream(stream, 139, [&](std::string_view n) { return screen.FindHandle(n); });
    ASSERT_EQ(loaded.Count(), 2u);
    EXPECT_EQ(loaded[0].Handler, "click.tsb:Start");
    EXPECT_EQ(loaded[0].Sender, sender.Handle());
    EXPECT_EQ(loaded[0].Kind, 36);
    EXPECT_EQ(loaded[0].Args, (std::vector<std::string>{"3", "4"}));
    EXPECT_FALSE(loaded[1].Sender);
    EXPECT_EQ(loaded[1].State, 3);
}

TEST(TimerListTest, OldSavesKeepStateInOneByte) {
    TTpMemoryStream stream;
    WriteI32(stream, 1);
    WriteString(stream, "h.tsb");
    WriteString(stream, "gone");
    WriteU8(stream, 36);
    WriteU8(stream, 7);  // non-zero: being handled
    WriteI32(stream, 0);
    stream.SetPosition(0);
    TTimerList list;
    list.LoadFromStream(stream, 113, [](std::string_view) { return TComponentHandle{}; });
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0].State, 1);
    EXPECT_FALSE(list[0].Sender);  // the sender no longer exists
}

TEST(TimerListTest, DamagedQueueIsRefusedAndLeavesTheQueue) {
    TTimerList list;
    list.Add(Event("keep.tsb"));
    TTpMemoryStream huge;
    WriteI32(huge, 100000);
    huge.SetPosition(0);
    EXPECT_THROW(list.LoadFromStream(huge, 139, [](std::string_view) { return TComponentHandle{}; }),
                 ETovaError);

    TTpMemoryStream truncated;
    WriteI32(truncated, 1);
    WriteString(truncated, "h.tsb");
    WriteString(truncated, "");
    WriteU8(truncated, 36);
    truncated.SetPosition(0);
    EXPECT_THROW(list.LoadFromStream(truncated, 139, [](std::string_view) { return TComponentHandle{}; }),
                 ETovaError);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0].Handler, "keep.tsb");
}

TEST(TovaBaseListTest, RemovingAComponentDropsItsEvents) {
    TTovaBaseList screen;
    auto a = std::make_unique<TTovaObject>();
    a->Name = "a";
    TTovaObject& first = screen.AddObject(std::move(a));
    screen.Events.Add(Event("x.tsb", 0, first.Handle()));
    screen.Events.Add(Event("y.tsb"));
    EXPECT_TRUE(screen.Contains(first.Handle()));
    screen.RemoveObject(first);
    EXPECT_EQ(screen.FindObject("a"), nullptr);
    ASSERT_EQ(screen.Events.Count(), 1u);
    EXPECT_EQ(screen.Events[0].Handler, "y.tsb");
}

}  // namespace
}  // namespace tova
