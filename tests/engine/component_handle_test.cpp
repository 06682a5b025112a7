// Components are referred to across frames by handles: a component freed
// while its event waits, or while its handler runs, is never mistaken for
// the one created in its place.
#include <gtest/gtest.h>

#include "engine/interpreter_fixture.h"
#include "expr/param_types.h"

namespace tova {
namespace {

using testing::TPageBuilder;

class ComponentHandleTest : public testing::InterpreterTest {
protected:
    ComponentHandleTest() {
        TPageBuilder main("main.tsb");
        main.VarNew("ran", PT_INT, "0");
        main.VarNew("sender", PT_STR, "\"\"");
        main.VarNew("senderAfter", PT_STR, "\"?\"");
        main.Wait("", "TRUE");
        Store(main);
        TPageBuilder handler("ev.tsb");
        handler.Calc("ran = ran + 1");
        handler.Calc("sender = @Sender");
        handler.Wait("30");
        handler.Calc("senderAfter = @Sender");
        Store(handler);
        callMan->Start("main.tsb");
        Frames(1);
    }
    TTovaObject& Add(const std::string& name) {
        auto object = std::make_unique<TTovaObject>();
        object->Name = name;
        return screen.AddObject(std::move(object));
    }
};

TEST_F(ComponentHandleTest, AFreedComponentIsNeverTakenForTheOneInItsPlace) {
    // Deleted while its event waits; another takes its slot at once.
    TTovaObject& first = Add("first");
    const TComponentHandle gone = first.Handle();
    Queue("ev.tsc", {}, gone);
    screen.RemoveObject(first);
    TTovaObject& second = Add("second");
    EXPECT_EQ(second.Handle().Slot, gone.Slot);
    EXPECT_NE(second.Handle(), gone);
    EXPECT_FALSE(screen.Contains(gone));
    EXPECT_EQ(screen.NameOf(gone), "");
    EXPECT_EQ(screen.Events.Count(), 0u);
    Frames(3);
    EXPECT_EQ(Int("ran"), 0);

    // Deleted while its handler waits: the handler's sender is gone, and
    // the component made in its place is not the sender.
    Queue("ev.tsc", {}, second.Handle());
    Frames(1);
    EXPECT_EQ(Int("ran"), 1);
    EXPECT_EQ(Str("sender"), "second");
    screen.RemoveObject(second);
    TTovaObject& third = Add("third");
    Frames(3);
    EXPECT_EQ(Str("senderAfter"), "");
    EXPECT_FALSE(screen.Events.HasPending(third.Handle(), 0));
    EXPECT_EQ(screen.NameOf(third.Handle()), "third");
}

}  // namespace
}  // namespace tova
