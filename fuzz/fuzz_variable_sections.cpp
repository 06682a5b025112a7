// Feeds arbitrary bytes to the readers of the stored variable sections: the
// game-save section (at a save version taken from the first byte), the
// status section and a pushed set, each into a fresh collection.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "expr/param_collection.h"

namespace {

template <class F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const tova::ETovaError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int32_t version = 100 + data[0] % 45;
    const std::vector<uint8_t> bytes(data + 1, data + size);

    Guarded([&] {
        tova::TParamCollection vars;
        tova::TTpMemoryStream stream(bytes);
        vars.LoadGameVars(stream, version);
        // What was loaded must save and pop without trouble.
        tova::TTpMemoryStream saved;
        vars.SaveGameVars(saved);
        while (!vars.PushedSets.empty())
            vars.PopVars();
    });
    Guarded([&] {
        tova::TParamCollection vars;
        tova::TTpMemoryStream stream(bytes);
        vars.LoadStatusVars(stream);
    });
    Guarded([&] {
        tova::TParamCollection vars;
        vars.PushedSets.emplace_back(bytes);
        vars.PopVars();
    });
    return 0;
}
