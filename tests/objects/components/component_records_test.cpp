// The save records of boxes and images: every property and the animation
// state survive a round trip onto another screen (and the picture drawn
// from it is the same), and every truncation of a record is refused with
// an error rather than read past.
#include <gtest/gtest.h>

#include "core/error.h"
#include "expr/tova_parser.h"
#include "objects/components/component_fixture.h"
#include "objects/components/tova_box.h"
#include "objects/components/tova_images.h"
#include "objects/property_ids.h"

namespace tova {
namespace {

using test::BrioFile;
using test::ComponentTest;
using test::Spec;

TPixel32 Gradient(int32_t x, int32_t y) {
    return static_cast<TPixel32>(x * 0x100000 + y * 0x1000 + 0x20);
}

class ComponentRecords : public ComponentTest {
protected:
    ComponentRecords() {
        files_.Files["anim.brz"] =
            BrioFile({Spec(5, 4, Gradient, 80), Spec(5, 4, Gradient, 60), Spec(5, 4, Gradient, 40)});
    }
    std::vector<uint8_t> Save(const TTovaObject& object) {
        TTpMemoryStream stream;
        object.SaveToStream(stream);
        return stream.Bytes();
    }
    // The record read into a new component of the type on a second screen.
    TTovaObject& LoadOnOther(int typeCode, const std::vector<uint8_t>& bytes) {
        TTovaObject* object = other_->CreateComponent(typeCode);
        TTpMemoryStream stream(bytes);
        object->LoadFromStream(stream, kObjectsSaveVersion);
        EXPECT_EQ(stream.GetPosition(), static_cast<int64_t>(bytes.size()));
        return *object;
    }
    void ExpectSameProperties(const TTovaObject& a, const TTovaObject& b) {
        for (int id = 0; id < kPropertyCount; ++id) {
            if (!a.AcceptsProperty(id) || id == PR_PARENT) continue;
            EXPECT_EQ(Str(a, id), Str(b, id)) << "property " << id;
        }
    }

    std::unique_ptr<TTovaBaseList> other_ = [this] {
        auto screen = std::make_unique<TTovaBaseList>();
        screen->SetImageCache(&cache_);
        screen->SetEvaluator(&evaluator_);
        screen->SetSize(64, 48);
        return screen;
    }();
};

TEST_F(ComponentRecords, ImageRoundTripKeepsPropertiesAnimationAndPicture) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    auto expression = std::make_unique<TTovaParser>();
    CompileExpression("7 * 3", *expression);
    image.SetLastFrameExpression(std::move(expression));
    Set(image, PR_SOURCE, std::string("anim.brz"));
    Set(image, PR_ZOOMX, 384);
    Set(image, PR_ZOOMY, 128);
    Set(image, PR_LEFT, 9);
    Set(image, PR_TOP, 11);
    Set(image, PR_ALPHA, 200);
    Set(image, PR_BRIGHTNESS, 300);
    Set(image, PR_ANGLE, 64);
    SetBool(image, PR_FLIPV, true);
    SetBool(image, PR_CAPTUREMASK, true);
    SetBool(image, PR_REPEAT, true);
    Set(image, PR_ONPLAYEND, std::string("end.tsb:Label"));
    Set(image, PR_ONIDLE, std::string("idle.tsb"));
    Set(image, PR_ORIGHEIGHT, 6);
    Set(image, PR_INDEX, 1);
    for (int step = 0; step < 3; ++step)
        Frame(10);
    SetBool(image, PR_PAUSED, true);

    TTovaObject& copy = LoadOnOther(LT_IMAGES, Save(image));
    auto& loaded = dynamic_cast<TTovaImages&>(copy);
    ExpectSameProperties(image, loaded);
    EXPECT_EQ(loaded.Wait, image.Wait);
    EXPECT_EQ(loaded.FrameIndex, 1);
    ASSERT_NE(loaded.LastFrameExpression(), nullptr);
    // The same record again: what was read is what is written.
    EXPECT_EQ(Save(loaded), Save(image));

    // Drawn on the other screen at the same place, the same picture.
    loaded.SetParent(&other_->CurrentLayer());
    screen_->CurrentLayer().SetColor(0);
    other_->CurrentLayer().SetColor(0);
    Frame(10);
    other_->Paint();
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x)
            ASSERT_EQ(other_->Surface().Row(y)[x], Pixel(x, y)) << x << "," << y;

    // Unpaused, the loaded copy plays on: frame 2 waits 40 ms + 21.
    SetBool(loaded, PR_PAUSED, false);
    other_->Step(10);
    EXPECT_EQ(loaded.FrameIndex, 2);
    EXPECT_EQ(loaded.Wait, 61);
}

TEST_F(ComponentRecords, BoxRoundTripKeepsItsOwnProperties) {
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_LEFT, -3);
    Set(box, PR_WIDTH, 40);
    Set(box, PR_HEIGHT, 20);
    Set(box, PR_COLOR, 0x123456);
    Set(box, PR_BORDERWIDTH, 3);
    Set(box, PR_BORDERCOLOR, 0x00FF00);
    Set(box, PR_ALPHA, 99);
    Set(box, PR_SOURCE, std::string("anim.brz"));
    SetBool(box, PR_PAUSED, true);
    SetBool(box, PR_AUTOSCRAP, true);
    Set(box, PR_ONIDLE, std::string("idle.tsb"));
    TTovaObject& loaded = LoadOnOther(LT_BOX, Save(box));
    ExpectSameProperties(box, loaded);
    EXPECT_EQ(Save(loaded), Save(box));
}

TEST_F(ComponentRecords, EveryTruncationOrDamageIsAClearError) {
    auto& image = Create<TTovaImages>(LT_IMAGES, "img");
    auto expression = std::make_unique<TTovaParser>();
    CompileExpression("1 + 2", *expression);
    image.SetLastFrameExpression(std::move(expression));
    Set(image, PR_SOURCE, std::string("anim.brz"));
    auto& box = Create<TTovaBox>(LT_BOX, "box");
    Set(box, PR_SOURCE, std::string("anim.brz"));
    for (auto [object, type] : {std::pair<TTovaObject*, int>{&image, LT_IMAGES}, {&box, LT_BOX}}) {
        const std::vector<uint8_t> bytes = Save(*object);
        for (size_t cut = 0; cut < bytes.size(); ++cut) {
            std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut));
            TTovaObject* fresh = other_->CreateComponent(type);
            TTpMemoryStream stream(part);
            EXPECT_THROW(fresh->LoadFromStream(stream, kObjectsSaveVersion), ETovaError)
                << type << " cut " << cut;
            other_->RemoveObject(*fresh);
        }
        // A source name whose length runs past the end.
        std::vector<uint8_t> damaged = bytes;
        const std::string source = "anim.brz";
        auto at = std::search(damaged.begin(), damaged.end(), source.begin(), source.end());
        ASSERT_NE(at, damaged.end());
        *(at - 1) = 0x7F;
        TTovaObject* fresh = other_->CreateComponent(type);
        TTpMemoryStream stream(damaged);
        EXPECT_THROW(fresh->LoadFromStream(stream, kObjectsSaveVersion), ETovaError);
    }
}

}  // namespace
}  // namespace tova
