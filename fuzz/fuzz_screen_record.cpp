// The screen's part of a saved game: both layers with their nested
// children, the non-visual components, the event queue and the focus.
// Damaged input must end in ETovaError, never in a crash, a hang or a read
// out of bounds; what loads must save again and load to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "objects/tova_base_list.h"

namespace {

std::vector<uint8_t> Saved(const tova::TTovaBaseList& screen) {
    tova::TTpMemoryStream stream;
    screen.SaveToStream(stream);
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.GetSize()));
    stream.SetPosition(0);
    stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpMemoryStream stream;
    stream.Write(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    tova::TTovaBaseList screen;
    try {
        screen.LoadFromStream(stream, tova::kObjectsSaveVersion);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    const std::vector<uint8_t> first = Saved(screen);
    tova::TTpMemoryStream again;
    again.Write(first.data(), static_cast<int64_t>(first.size()));
    again.SetPosition(0);
    tova::TTovaBaseList reloaded;
    reloaded.LoadFromStream(again, tova::kObjectsSaveVersion);
    if (Saved(reloaded) != first) std::abort();
    return 0;
}
