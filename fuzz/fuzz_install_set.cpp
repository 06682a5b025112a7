// Feeds arbitrary bytes to the install set reader. Whatever it accepts must
// write out and read back to the same title and flag, and print as JSON.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "engine/install_set.h"
#include "engine/setting_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpMemoryStream input(std::vector<uint8_t>(data, data + size));
    tova::TTovaInstallSet installSet;
    try {
        installSet.LoadFromStream(input);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    tova::InstallSetToJson(installSet);

    tova::TTpMemoryStream written;
    installSet.SaveToStream(written);
    written.SetPosition(0);
    tova::TTovaInstallSet reread;
    reread.LoadFromStream(written);
    if (reread.Version != tova::TTovaInstallSet::CurrentVersion || reread.Title != installSet.Title ||
        reread.DataInstalled != installSet.DataInstalled)
        std::abort();
    return 0;
}
