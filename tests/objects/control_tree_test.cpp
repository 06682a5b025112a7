// Large trees of controls: nesting stops at the depth limit and every walk
// over a tree that deep copes, positions that descendants inherit follow
// every change of an ancestor, and many siblings keep the order rule.
#include <algorithm>
#include <random>
#include <tuple>

#include "screen_fixture.h"
#include "support/bounded_child.h"

namespace tova {
namespace {

using ControlTreeTest = ScreenTest;

// The sibling order rule, written out on its own: one leading character 1
// first, two characters 1 last; then Priority + PriorityBias ascending; then
// the name that sorts later first.
std::vector<const TTovaControl*> ByTheRule(std::span<TTovaControl* const> children) {
    std::vector<const TTovaControl*> order(children.begin(), children.end());
    const auto key = [](const TTovaControl* c) {
        const int rank = c->Name == "\x01\x01" ? 2 : (!c->Name.empty() && c->Name[0] == '\x01') ? 0 : 1;
        return std::tuple(rank, int64_t{c->Priority} + c->PriorityBias);
    };
    std::stable_sort(order.begin(), order.end(), [&](const TTovaControl* a, const TTovaControl* b) {
        if (key(a) != key(b)) return key(a) < key(b);
        return a->Name > b->Name;
    });
    return order;
}

TEST_F(ControlTreeTest, ManySiblingsFollowTheOrderRuleThroughInsertsRenamesAndPriorities) {
    std::mt19937 random(7);
    std::vector<TFillControl*> boxes;
    const auto any = [&]() -> TFillControl& { return *boxes[random() % boxes.size()]; };
    for (int i = 0; i < 3000; ++i) {
        // Names collide often: the older holder moves aside to name_2, ...
        boxes.push_back(&Box("n" + std::to_string(random() % 400), 0, 0, 1, 1));
        Set(*boxes.back(), PR_PRIORITY, static_cast<int32_t>(random() % 5));
        if (i % 7 == 0) Set(any(), PR_PRIORITY, static_cast<int32_t>(random() % 5));
        if (i % 11 == 0) any().SetPriorityBias(static_cast<int32_t>(random() % 3));
        if (i % 13 == 0) Set(any(), PR_NAME, "r" + std::to_string(random() % 400));
        if (i % 500 == 0) {
            const auto children = screen.Layer(0).Children();
            ASSERT_EQ(std::vector<const TTovaControl*>(children.begin(), children.end()),
                      ByTheRule(children));
        }
    }
    Box("\x01sys", 0, 0, 1, 1);
    Box("\x01\x01", 0, 0, 1, 1);
    screen.DeleteObject(*boxes[5]);  // its name is cleared at once; freed after the step
    const auto children = screen.Layer(0).Children();
    ASSERT_EQ(children.size(), 3002u);
    EXPECT_EQ(std::vector<const TTovaControl*>(children.begin(), children.end()), ByTheRule(children));
    Frame();
    EXPECT_EQ(screen.Layer(0).ChildCount(), 3001);
}

TEST_F(ControlTreeTest, PositionsAndClipsFollowEveryChangeOfAnAncestor) {
    TFillControl& root = Box("root", 10, 10, 180, 80, 0x202020);
    TTovaControl* parent = &root;
    std::vector<TFillControl*> chain;
    for (int i = 0; i < 20; ++i) {
        chain.push_back(&Box("c" + std::to_string(i), 1, 1, 150, 60, 0x404040, parent));
        parent = chain.back();
    }
    TFillControl& leaf = Box("leaf", 2, 3, 4, 4, 0x00FF00, parent);
    const auto at = [&] { return std::pair(leaf.ScreenX(), leaf.ScreenY()); };
    EXPECT_EQ(at(), std::pair(10 + 20 + 2, 10 + 20 + 3));

    Set(root, PR_LEFT, 30);
    EXPECT_EQ(at().first, 52);
    Set(root, PR_OFFSETX, 5);
    Set(*chain[4], PR_PLUSY, 7);
    EXPECT_EQ(at(), std::pair(47, 40));
    Set(*chain[9], PR_POSZOOMED, 1);  // 256: no change
    EXPECT_EQ(at(), std::pair(47, 40));
    Frame();
    EXPECT_EQ(At(47, 40), 0x00FF00u);
    screen.MouseMove(48, 41);
    screen.Input(16);
    EXPECT_EQ(screen.Layer(0).HitTest(48, 41, TMouseModes::Of({IM_NONE})), &leaf);

    // A clip on an ancestor narrows the leaf; moving the middle of the chain
    // onto the layer takes the leaf with it.
    Set(*chain[2], PR_CLIPWIDTH, 19);
    Set(*chain[2], PR_CLIPHEIGHT, 100);
    EXPECT_EQ(leaf.VisibleClip().Right, 47);  // where the leaf begins
    Frame();
    EXPECT_EQ(At(47, 40), 0x404040u);
    chain[10]->SetParent(&screen.Layer(0));
    EXPECT_EQ(at(), std::pair(1 + 9 + 2, 1 + 9 + 3));
    EXPECT_EQ(leaf.Depth(), 11);
    Frame();
    EXPECT_EQ(At(12, 13), 0x00FF00u);
    // The layer's size bounds what its controls inherit.
    screen.SetSize(12, 100);
    EXPECT_EQ(leaf.VisibleClip().Right, 12);
}

// Every new component is parented to the deepest one so far, a hundred
// thousand times: beyond the limit the parent is refused (and the refused
// component freed again), and painting, hit testing, focus, saving, loading
// and freeing walk the chain at the limit without trouble. In a child
// process: a chain nesting without a limit overflows the stack.
TEST(ControlDepthTest, AHundredThousandLevelsStopAtTheLimitAndEveryWalkCopes) {
    const testing::TChildResult result = testing::RunBounded(
        [] {
            TTovaBaseList screen;
            screen.SetSize(64, 48);
            TTovaControl* deepest = &screen.CurrentLayer();
            int refused = 0;
            for (int i = 0; i < 100000; ++i) {
                TTovaControl& box = *screen.CreateComponent(LT_BOX)->AsControl();
                box.SetBounds(0, 0, 60, 40);
                // (A new component stands on the layer already.)
                const TReparent placed = box.SetParent(deepest);
                if (placed == TReparent::Moved || placed == TReparent::Unchanged) {
                    deepest = &box;
                } else {
                    if (placed != TReparent::TooDeep) return false;
                    ++refused;
                    screen.RemoveObject(box);
                }
            }
            if (deepest->Depth() != kMaxControlDepth || refused != 100000 - kMaxControlDepth) return false;
            // A chain under a control of another chain is refused as well.
            TTovaControl& other = *screen.CreateComponent(LT_BOX)->AsControl();
            if (screen.FindControl("object0")->SetParent(&other) != TReparent::TooDeep) return false;

            deepest->SetColor(0x0000FF);
            deepest->HandleKey = true;
            screen.MarkFocusDirty();
            screen.MouseMove(5, 5);
            screen.MouseDown(TMouseButton::Left);
            screen.Input(16);
            screen.Step(16);
            screen.Paint();
            if (screen.Focus() != deepest || ColorRefFromPixel(screen.Surface().Row(5)[5]) != 0x0000FF)
                return false;

            const std::vector<uint8_t> bytes = Saved(screen);
            TTovaBaseList loaded;
            loaded.SetSize(64, 48);
            Load(loaded, bytes, bytes.size(), kObjectsSaveVersion);
            if (Saved(loaded) != bytes || loaded.ObjectCount() != kMaxControlDepth + 1u) return false;
            loaded.RemoveObject(*loaded.FindControl("object0"));  // the whole chain
            return loaded.ObjectCount() == 1;
        },
        {.MaxResidentBytes = 1ll << 30, .MaxTime = std::chrono::milliseconds(30000)});
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

}  // namespace
}  // namespace tova
