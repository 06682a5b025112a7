// Feeds arbitrary text to the reader of the project description that
// `tova build` turns into tova.tpb: the INI reader, the quoting rules of its
// values, and the description's sections and keys. Mistakes must end in
// ETovaError; what is accepted must give settings that the player reads back
// to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "core/error.h"
#include "core/stream.h"
#include "engine/project_setting.h"
#include "sdk/build_description.h"
#include "sdk/build_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        for (const tova::sdk::TIniSection& section : tova::sdk::ParseIni(text, "fuzz.ini"))
            for (const tova::sdk::TIniEntry& entry : section.Entries) {
                try {
                    static_cast<void>(tova::sdk::UnquoteIniValue(entry.Value));
                } catch (const std::invalid_argument&) {
                }
            }
    } catch (const tova::ETovaError&) {
    }

    tova::sdk::TProjectDescription description;
    try {
        description = tova::sdk::ParseProjectDescription(text, "project.ini");
    } catch (const tova::ETovaError&) {
        return 0;
    }
    tova::TTpMemoryStream written;
    description.Setting.SaveToStream(written);
    written.SetPosition(0);
    tova::TProjectSetting reread;
    reread.LoadFromStream(written);
    tova::TTpMemoryStream rewritten;
    reread.SaveToStream(rewritten);
    if (rewritten.Bytes() != written.Bytes()) std::abort();
    return 0;
}
