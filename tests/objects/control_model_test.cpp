// The component model as scripts see it: names and renaming, sibling order,
// screen positions, reparenting and the property contract.
#include "core/error.h"
#include "expr/component_types.h"
#include "objects/property_labels.h"
#include "screen_fixture.h"

namespace tova {
namespace {

// An image-like control with zoom and flips, as image components have them.
class TZoomControl : public TFillControl {
public:
    int32_t ZoomX() const override { return Zoom; }
    int32_t ZoomY() const override { return Zoom; }
    bool FlipH() const override { return Flip; }
    int32_t Zoom = 256;
    bool Flip = false;
};

using ControlModelTest = ScreenTest;

TEST_F(ControlModelTest, NamingLikeAnExistingObjectRenamesTheOlderHolder) {
    TFillControl& first = Box("title", 0, 0, 1, 1);
    TFillControl& second = Box("title", 0, 0, 1, 1);
    EXPECT_EQ(first.Name, "title_2");
    EXPECT_EQ(screen.FindObject("title"), &second);
    TFillControl& third = Box("other", 0, 0, 1, 1);
    Set(third, PR_NAME, "title");  // counting starts at 2 and skips names in use
    EXPECT_EQ(second.Name, "title_3");
    EXPECT_EQ(screen.FindObject("title"), &third);
    EXPECT_EQ(screen.FindObject("title_2"), &first);
    EXPECT_EQ(screen.FindObject("other"), nullptr);

    // A holder already numbered counts on from its number.
    TFillControl& numbered = Box("shot_5", 0, 0, 1, 1);
    Box("shot_6", 0, 0, 1, 1);
    Box("shot_5", 0, 0, 1, 1);
    EXPECT_EQ(numbered.Name, "shot_7");
    // Renaming to the own name changes nothing.
    Set(third, PR_NAME, "title");
    EXPECT_EQ(third.Name, "title");
}

TEST_F(ControlModelTest, GeneratedNamesAndSpecialNames) {
    TFillControl& a = static_cast<TFillControl&>(screen.AddObject(std::make_unique<TFillControl>()));
    TFillControl& b = static_cast<TFillControl&>(screen.AddObject(std::make_unique<TFillControl>()));
    EXPECT_EQ(a.Name, "object0");
    EXPECT_EQ(b.Name, "object1");
    EXPECT_EQ(screen.MakeName("object"), "object2");
    // The first free number, also once a lower one is free again.
    TTovaObject& c = screen.AddObject(std::make_unique<TFillControl>());
    screen.AddObject(std::make_unique<TFillControl>());
    Set(a, PR_NAME, "a");
    EXPECT_EQ(screen.MakeName("object"), "object0");
    Set(a, PR_NAME, "object0");
    screen.RemoveObject(c);
    EXPECT_EQ(screen.MakeName("object"), "object2");
    screen.RemoveObject(*screen.FindObject("object3"));
    EXPECT_EQ(screen.IndexOfName("object1"), 1);
    EXPECT_EQ(screen.IndexOfName("nothing"), -1);

    EXPECT_EQ(screen.FindObject(""), &screen.Layer(0));
    EXPECT_EQ(screen.FindObject("\x01"
                                "BASE0"),
              &screen.Layer(0));
    EXPECT_EQ(screen.FindObject("\x01"), &screen.Layer(1));
    EXPECT_EQ(screen.FindControl("\x01"
                                 "BASE1"),
              &screen.Layer(1));
    EXPECT_EQ(screen.FindObject("Object0"), nullptr);  // case-sensitive

    // Non-controls may share a name: the first registered is found.
    auto timer1 = std::make_unique<TQuietComponent>();
    timer1->Name = "t";
    TTovaObject& t1 = screen.AddObject(std::move(timer1));
    auto timer2 = std::make_unique<TQuietComponent>();
    timer2->Name = "t";
    screen.AddObject(std::move(timer2));
    EXPECT_EQ(screen.FindObject("t"), &t1);
    EXPECT_EQ(screen.FindControl("t"), nullptr);

    std::vector<std::string> names;
    EXPECT_EQ(screen.ListNames(names, LT_TIMER, nullptr), 2);
    EXPECT_EQ(screen.ListNames(names, 0, &screen.Layer(0)), 2);
    EXPECT_EQ(screen.ListNames(names, 0, &screen), 4);
}

TEST_F(ControlModelTest, SiblingOrderByPriorityNameAndSystemNames) {
    TFillControl& a = Box("a", 0, 0, 1, 1);
    TFillControl& b = Box("b", 0, 0, 1, 1);
    const auto order = [&] {
        std::string s;
        for (const TTovaControl* c : screen.Layer(0).Children())
            s += c->Name == "\x01\x01" ? "!" : c->Name[0] == '\x01' ? "^" : c->Name;
        return s;
    };
    EXPECT_EQ(order(), "ba");  // equal priorities: b below a
    Set(b, PR_PRIORITY, 5);
    EXPECT_EQ(order(), "ab");
    TFillControl& system = Box("\x01sys", 0, 0, 1, 1);
    Set(system, PR_PRIORITY, 1000);
    TFillControl& snapshot = Box("\x01\x01", 0, 0, 1, 1);
    Set(snapshot, PR_PRIORITY, -1000);
    EXPECT_EQ(order(), "^ab!");
    a.SetPriorityBias(10);
    EXPECT_EQ(order(), "^ba!");
    Set(a, PR_PRIORITY, 0);  // setting the priority clears the bias
    EXPECT_EQ(a.PriorityBias, 0);
    EXPECT_EQ(order(), "^ab!");
}

TEST_F(ControlModelTest, ScreenPositionsWithOffsetsZoomFlipsAndPlus) {
    TFillControl& parent = Box("parent", 30, 20, 100, 50);
    auto owned = std::make_unique<TZoomControl>();
    owned->Name = "img";
    auto& img = static_cast<TZoomControl&>(screen.AddObject(std::move(owned)));
    img.SetParent(&parent);
    img.SetBounds(10, 5, 40, 20);
    EXPECT_EQ(img.ScreenX(), 40);
    EXPECT_EQ(img.ScreenY(), 25);

    Set(img, PR_OFFSETX, 8);  // the anchor point inside the control
    EXPECT_EQ(img.ScreenX(), 32);
    img.Zoom = 512;  // the anchor scales with the zoom
    EXPECT_EQ(img.ScreenX(), 24);
    img.Flip = true;  // mirrored: Width - Z * OffsetX / 256 - 1
    EXPECT_EQ(img.ScreenX(), 40 - (40 - 16 - 1));
    img.Flip = false;
    Set(img, PR_POSZOOMED, 1);  // the position scales too
    EXPECT_EQ(img.LocalX(), 20 - 16);
    EXPECT_EQ(img.ScreenX(), 30 + 20 - 16);
    Set(img, PR_PLUSX, -3);  // added after every other rule
    EXPECT_EQ(img.ScreenX(), 30 + 20 - 16 - 3);
    img.Zoom = 0;  // a zero zoom must not divide anything
    EXPECT_EQ(img.ScreenX(), 30 + 0 - 0 - 3);
    // Huge values saturate instead of overflowing.
    Set(img, PR_LEFT, 2147483647);
    Set(img, PR_WIDTH, 2147483647);
    img.Zoom = 256;
    const TRect bounds = img.GetBoundsRect();
    EXPECT_LE(bounds.Left, bounds.Right);
    Set(img, PR_WIDTH, -50);
    EXPECT_EQ(GetInt(img, PR_WIDTH), 0);
}

TEST_F(ControlModelTest, ReparentingRefusesCyclesSelfAndLayers) {
    TFillControl& a = Box("a", 0, 0, 50, 50);
    TFillControl& b = Box("b", 0, 0, 10, 10);
    TFillControl& c = Box("c", 0, 0, 10, 10);
    Set(b, PR_PARENT, "a");
    Set(c, PR_PARENT, "b");
    EXPECT_EQ(GetStr(c, PR_PARENT), "b");
    Set(a, PR_PARENT, "c");  // a cycle: refused, the parent stays
    Set(a, PR_PARENT, "a");  // itself
    Set(b, PR_PARENT, "nobody");
    EXPECT_EQ(a.Parent(), &screen.Layer(0));
    EXPECT_EQ(b.Parent(), &a);
    Set(screen.Layer(0), PR_PARENT, "a");  // a layer ignores it
    EXPECT_EQ(screen.Layer(0).Parent(), nullptr);

    // A layer parent is named as lookups understand it, relative to the
    // current layer, so that reading and writing it back is stable.
    EXPECT_EQ(GetStr(a, PR_PARENT),
              "\x01"
              "BASE0");
    Set(a, PR_PARENT, "\x01");
    EXPECT_EQ(a.GetLayer(), &screen.Layer(1));
    EXPECT_EQ(c.GetLayer(), &screen.Layer(1));
    EXPECT_EQ(GetStr(a, PR_PARENT),
              "\x01"
              "BASE1");
    Set(a, PR_PARENT, GetStr(a, PR_PARENT));
    EXPECT_EQ(a.GetLayer(), &screen.Layer(1));

    // Freeing a parent frees its children.
    screen.RemoveObject(a);
    EXPECT_EQ(screen.ObjectCount(), 0u);
}

TEST_F(ControlModelTest, PropertyContractDefaultsErrorsAndReadOnlyIds) {
    TFillControl& box = Box("box", 4, 5, 60, 30, 0x123456);
    auto timerOwned = std::make_unique<TQuietComponent>();
    TTovaObject& timer = screen.AddObject(std::move(timerOwned));

    EXPECT_EQ(GetInt(box, PR_COMPOTYPE), LT_BOX);
    EXPECT_EQ(GetInt(box, PR_COLOR), 0x123456);
    EXPECT_EQ(GetInt(box, PR_COLCOUNT), 0);  // accepted by no component
    EXPECT_EQ(GetInt(box, PR_INDEX), -1);    // a box holds no index
    EXPECT_EQ(GetInt(box, PR_ORIGWIDTH), 60);
    EXPECT_EQ(GetInt(timer, PR_ZOOMX), 256);
    EXPECT_EQ(GetInt(timer, PR_COLOR), 0xFFFFFF);
    EXPECT_EQ(GetInt(timer, PR_LEFT), 0);
    EXPECT_EQ(GetInt(timer, PR_APPEARX), 0);

    Set(timer, PR_LEFT, 99);  // not held: ignored
    EXPECT_EQ(GetInt(timer, PR_LEFT), 0);
    Set(box, PR_COMPOTYPE, 7);  // read-only: ignored
    EXPECT_EQ(GetInt(box, PR_COMPOTYPE), LT_BOX);
    Set(box, PR_TAG, "note");
    EXPECT_EQ(GetStr(box, PR_TAG), "note");
    Set(box, PR_ONLBTNDOWN, "click.tsb");
    EXPECT_EQ(GetStr(box, PR_ONLBTNDOWN), "click.tsb");
    Set(box, PR_LEFT, "17");  // converted to the property's type
    EXPECT_EQ(box.Left, 17);

    auto value = CreateParam(PT_INT);
    EXPECT_THROW(GetProperty(box, 163, *value), ETovaError);
    EXPECT_THROW(GetProperty(box, -1, *value), ETovaError);
    EXPECT_THROW(SetProperty(box, PR_APPEARY, *IntValue(1)), ETovaError);
    EXPECT_THROW(SetProperty(box, 200, *IntValue(1)), ETovaError);

    EXPECT_EQ(ComponentTypeName(LT_CABINET), "LT_CABINET");
    EXPECT_EQ(ComponentTypeLabel(LT_BOX), "矩形サーフェス");
    EXPECT_EQ(PropertyLabel(PR_NAME), "名前");
    EXPECT_EQ(PropertyLabel(163), "");
}

}  // namespace
}  // namespace tova
