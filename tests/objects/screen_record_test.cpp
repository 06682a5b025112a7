// The save records of objects, controls and the screen: round trips,
// the version thresholds and damaged data.
#include <algorithm>

#include "core/binary_io.h"
#include "core/error.h"
#include "screen_fixture.h"

namespace tova {
namespace {

TTovaCabinet& Cabinet(TTovaBaseList& screen, const std::string& name, TTovaControl* parent = nullptr) {
    auto owned = std::make_unique<TTovaCabinet>();
    owned->Name = name;
    auto& cabinet = static_cast<TTovaCabinet&>(screen.AddObject(std::move(owned)));
    if (parent) cabinet.SetParent(parent);
    return cabinet;
}

class ScreenRecordTest : public ScreenTest {
protected:
    // Cabinets nested two deep on both layers, with every control field set,
    // an event and the focus.
    void Build() {
        screen.SetSize(320, 200);
        TTovaCabinet& outer = Cabinet(screen, "outer");
        TTovaCabinet& inner = Cabinet(screen, "inner", &outer);
        Cabinet(screen, "\x01hidden", &outer);  // system objects are not saved
        TTovaCabinet& gone = Cabinet(screen, "gone", &outer);
        screen.DeleteObject(gone);  // nor those about to be deleted
        TTovaCabinet& far = Cabinet(screen, "far");
        Set(far, PR_PARENT, "\x01");
        outer.SetBounds(5, -6, 70, 80);
        Set(outer, PR_OFFSETX, 3);
        Set(outer, PR_OFFSETY, 4);
        Set(outer, PR_POSZOOMED, 1);
        Set(outer, PR_PLUSX, 9);
        Set(outer, PR_PLUSY, -9);
        Set(outer, PR_CLIPLEFT, 1);
        Set(outer, PR_CLIPTOP, 2);
        Set(outer, PR_CLIPWIDTH, 30);
        Set(outer, PR_CLIPHEIGHT, 40);
        Set(outer, PR_ANIPAUSED, 1);
        Set(outer, PR_COLOR, 0x112233);
        outer.Area = {1, 2, 3, 4};
        Set(outer, PR_IGNOREMOUSE, IM_CLICK);
        Set(outer, PR_CURSOR, "hand.cur");
        Set(outer, PR_TAG, "tag");
        Set(outer, PR_PRIORITY, 7);
        outer.SetPriorityBias(2);
        for (int id : {PR_ONMOUSEMOVE, PR_ONMOUSEIN, PR_ONMOUSEOUT, PR_ONLBTNDOWN, PR_ONLBTNUP, PR_ONRBTNDOWN,
                       PR_ONRBTNUP, PR_ONWHEELDOWN, PR_ONWHEELUP, PR_ONKEYDOWN, PR_ONKEYUP, PR_ONKEYREPEAT,
                       PR_ONFOCUSIN, PR_ONFOCUSOUT})
            Set(outer, id, "page" + std::to_string(id) + ".tsb");
        Set(inner, PR_VISIBLE, 0);
        Set(far, PR_HANDLEKEY, 1);
        // Layer 1 current: layers are saved by their names relative to it.
        screen.StartTransition(1);
        screen.SetFocus(&far);
        screen.Events.Clear();
        screen.Events.Add({"click.tsb", outer.Handle(), PR_ONLBTNDOWN, 0, {"1", "2"}});
        screen.Events.Add({"base.tsb", screen.Layer(1).Handle(), PR_ONLBTNUP, 0, {}});
    }
};

TEST_F(ScreenRecordTest, TheScreenComesBackAsItWasSaved) {
    Build();
    const std::vector<uint8_t> bytes = Saved(screen);

    TTovaBaseList loaded;
    loaded.SetSize(320, 200);
    Load(loaded, bytes, bytes.size(), kObjectsSaveVersion);
    EXPECT_EQ(Saved(loaded), bytes);  // every field came back
    EXPECT_EQ(loaded.Width(), 320);

    // A record of another size (a damaged one, or the game's size changed
    // since) loads onto the screen at the size the game gave it.
    TTovaBaseList other;
    other.SetSize(200, 100);
    std::vector<uint8_t> huge = bytes;
    for (size_t i = 0; i < 8; ++i)
        huge[i] = 0x7F;
    Load(other, huge, huge.size(), kObjectsSaveVersion);
    EXPECT_EQ(other.Width(), 200);
    EXPECT_EQ(other.Surface().Width(), 200);
    EXPECT_EQ(other.Layer(1).Height, 100);
    EXPECT_NE(other.FindControl("inner"), nullptr);
    ASSERT_EQ(loaded.ObjectCount(), 3u);
    auto* outer = loaded.FindControl("outer");
    auto* inner = loaded.FindControl("inner");
    auto* far = loaded.FindControl("far");
    ASSERT_TRUE(outer && inner && far);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(far->GetLayer(), &loaded.Layer(1));
    EXPECT_EQ(outer->PriorityBias, 2);
    EXPECT_EQ(outer->Tag, "tag");
    EXPECT_EQ(outer->KeyText(TKeyEvent::FocusOut), "page149.tsb");
    EXPECT_EQ(loaded.Current(), 1);
    EXPECT_EQ(loaded.Focus(), far);
    ASSERT_EQ(loaded.Events.Count(), 2u);  // no focus events on loading
    EXPECT_EQ(loaded.Events[0].Sender, outer->Handle());
    EXPECT_EQ(loaded.Events[1].Sender, loaded.Layer(1).Handle());
    EXPECT_FALSE(loaded.Layer(0).Dirty().Empty());
}

TEST_F(ScreenRecordTest, DamagedOrTruncatedDataIsRefusedClearly) {
    Build();
    const std::vector<uint8_t> bytes = Saved(screen);
    for (size_t length = 0; length < bytes.size(); ++length) {
        TTovaBaseList loaded;
        EXPECT_THROW(Load(loaded, bytes, length, kObjectsSaveVersion), ETovaError) << length;
    }
    // A layer record cut short.
    TTpMemoryStream stream;
    WriteI32(stream, 100);
    WriteI32(stream, 100);
    WriteI32(stream, 0);
    stream.Write(bytes.data() + 12, 200);
    stream.SetPosition(0);
    TTovaBaseList loaded;
    EXPECT_THROW(loaded.LoadFromStream(stream, kObjectsSaveVersion), ETovaError);
    // A component type with no class.
    TTpMemoryStream unknown;
    WriteI32(unknown, 50);
    WriteI32(unknown, 50);
    WriteI32(unknown, 0);
    screen.Reset();
    screen.Layer(0).SaveToStream(unknown);
    screen.Layer(1).SaveToStream(unknown);
    WriteI32(unknown, 1);
    WriteU8(unknown, 99);
    unknown.SetPosition(0);
    EXPECT_THROW(loaded.LoadFromStream(unknown, kObjectsSaveVersion), ETovaError);
}

// A record may hold two components of one name (foreign or damaged data):
// loading the second renames the first aside (name_2), which moves it among
// its siblings; a second save must give the same bytes as the first.
TEST_F(ScreenRecordTest, ANameMovedAsideOnLoadingKeepsTheSiblingOrderForTheNextRoundTrip) {
    // "pairs" is drawn below "other", so its record comes first.
    TTovaCabinet& pairs = Cabinet(screen, "pairs");
    Cabinet(screen, "abcdef", &pairs);
    Cabinet(screen, "abcdef_1", &pairs);  // drawn above "abcdef", below "abcdef_2"
    TTovaCabinet& other = Cabinet(screen, "other");
    Cabinet(screen, "qqqqqq", &other);
    std::vector<uint8_t> bytes = Saved(screen);
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin("qqqqqq"), std::end("qqqqqq") - 1);
    ASSERT_NE(at, bytes.end());
    std::copy_n("abcdef", 6, at);  // in another parent, loaded after both

    TTovaBaseList first;
    Load(first, bytes, bytes.size(), kObjectsSaveVersion);
    const std::vector<uint8_t> once = Saved(first);
    TTovaBaseList second;
    Load(second, once, once.size(), kObjectsSaveVersion);
    EXPECT_EQ(Saved(second), once);
    const TTovaControl* loadedPairs = first.FindControl("pairs");
    ASSERT_NE(loadedPairs, nullptr);
    ASSERT_EQ(loadedPairs->ChildCount(), 2);
    EXPECT_EQ(loadedPairs->GetChild(0)->Name, "abcdef_2");
    EXPECT_EQ(loadedPairs->GetChild(1)->Name, "abcdef_1");
}

// Chains as deep as components may nest save and load back (the layer's
// record holds them one level deeper); a record whose children would nest
// deeper where it is loaded is refused with a clear error.
TEST_F(ScreenRecordTest, ChainsAsDeepAsTheLimitRoundTripAndDeeperRecordsAreRefused) {
    TTovaControl* parent = &screen.Layer(0);
    for (int depth = 1; depth <= kMaxControlDepth; ++depth)
        parent = &Cabinet(screen, "c" + std::to_string(depth), parent);
    ASSERT_EQ(parent->Depth(), kMaxControlDepth);
    const std::vector<uint8_t> bytes = Saved(screen);
    TTovaBaseList loaded;
    loaded.SetSize(200, 100);
    Load(loaded, bytes, bytes.size(), kObjectsSaveVersion);
    EXPECT_EQ(Saved(loaded), bytes);
    ASSERT_NE(loaded.FindControl("c256"), nullptr);
    EXPECT_EQ(loaded.FindControl("c256")->Depth(), kMaxControlDepth);

    // c1's record (a chain of 256) read into a control 10 deep.
    TTpMemoryStream chain;
    screen.FindControl("c1")->SaveToStream(chain);
    TTovaControl& deep = *loaded.FindControl("c10");
    TTovaCabinet& target = Cabinet(loaded, "target", &deep);
    chain.SetPosition(0);
    try {
        target.LoadFromStream(chain, kObjectsSaveVersion);
        ADD_FAILURE() << "a record nesting too deep was read";
    } catch (const ETovaError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::DamagedSave);
        EXPECT_NE(e.Message().find("nest deeper than 256"), std::string::npos) << e.Message();
    }
}

TEST(ObjectRecordTest, OlderVersionsLackTheBiasAndTheTag) {
    TTpMemoryStream stream;
    WriteString(stream, "old");
    WriteI32(stream, 12);
    WriteString(stream, "next");
    WriteI32(stream, 3);
    WriteI32(stream, 4);
    WriteString(stream, "newest");
    WriteI32(stream, 5);
    WriteI32(stream, 6);
    WriteString(stream, "tagged");
    stream.SetPosition(0);

    TTovaObject before;
    before.LoadFromStream(stream, TTovaObject::kPriorityBiasVersion - 1);
    EXPECT_EQ(before.Name, "old");
    EXPECT_EQ(before.Priority, 12);
    TTovaObject middle;
    middle.LoadFromStream(stream, TTovaObject::kTagVersion - 1);
    EXPECT_EQ(middle.PriorityBias, 4);
    EXPECT_EQ(middle.Tag, "");
    TTovaObject newest;
    newest.LoadFromStream(stream, TTovaObject::kTagVersion);
    EXPECT_EQ(newest.Tag, "tagged");
    EXPECT_EQ(stream.GetPosition(), stream.GetSize());
}

}  // namespace
}  // namespace tova
