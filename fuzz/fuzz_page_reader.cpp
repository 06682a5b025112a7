// Feeds arbitrary bytes to the page reader. Whatever it accepts must write
// out, read back and write out again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "engine/page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpMemoryStream input(std::vector<uint8_t>(data, data + size));
    tova::TPage page;
    try {
        page.LoadFromStream(input);
    } catch (const tova::ETovaError&) {
        if (page.Count() != 0) std::abort();
        return 0;
    }
    tova::TTpMemoryStream written;
    page.SaveToStream(written);
    written.SetPosition(0);
    tova::TPage reread;
    reread.LoadFromStream(written);
    tova::TTpMemoryStream again;
    reread.SaveToStream(again);
    if (again.Bytes() != written.Bytes() || reread.Count() != page.Count()) std::abort();
    return 0;
}
