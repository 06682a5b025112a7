// Reads arbitrary bytes as the save record of a box or an image component
// (the first byte chooses which), then steps, paints and writes it again.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "graphics/brio_collection.h"
#include "objects/property_ids.h"
#include "objects/tova_base_list.h"

namespace {

// No image file exists: every source gives the missing-image frame.
class TNoImages : public tova::TImageFileSource {
public:
    bool Exists(std::string_view) override { return false; }
    void Load(tova::TStream&, std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    TNoImages files;
    tova::TBrioCollection cache(files);
    tova::TTovaBaseList screen;
    screen.SetImageCache(&cache);
    screen.SetSize(64, 48);
    tova::TTovaObject* component = screen.CreateComponent(data[0] & 1 ? tova::LT_IMAGES : tova::LT_BOX);
    const tova::TComponentHandle handle = component->Handle();
    tova::TTpMemoryStream stream(std::vector<uint8_t>(data + 1, data + size));
    try {
        component->LoadFromStream(stream, tova::kObjectsSaveVersion);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    screen.Step(16);  // may free it (PR_AUTOSCRAP)
    screen.Paint();
    tova::TTpMemoryStream out;
    if (tova::TTovaObject* still = screen.Resolve(handle)) still->SaveToStream(out);
    return 0;
}
