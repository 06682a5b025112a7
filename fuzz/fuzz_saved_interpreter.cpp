// Feeds arbitrary bytes to the readers of the interpreter's part of a saved
// game: the call stack and the event queue. What they accept must write out
// and read back to the same bytes; what they refuse leaves them empty.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "engine/call_stack.h"
#include "expr/param_collection.h"
#include "objects/timer_list.h"

namespace {

const tova::TEventSourceNames kNoSources{[](tova::TComponentHandle) { return std::string(); },
                                         [](std::string_view) { return tova::TComponentHandle{}; }};

void StackRoundTrip(const std::vector<uint8_t>& bytes) {
    tova::TParamCollection vars;
    tova::TStackList stack(vars);
    tova::TTpMemoryStream input(bytes);
    try {
        stack.LoadFromStream(input, kNoSources);
    } catch (const tova::ETovaError&) {
        if (!stack.Empty() || vars.CurrentDepth != 0) std::abort();
        return;
    }
    tova::TTpMemoryStream written;
    stack.SaveToStream(written, kNoSources);
    written.SetPosition(0);
    tova::TStackList reread(vars);
    reread.LoadFromStream(written, kNoSources);
    tova::TTpMemoryStream again;
    reread.SaveToStream(again, kNoSources);
    if (again.Bytes() != written.Bytes()) std::abort();
}

void QueueRoundTrip(const std::vector<uint8_t>& bytes, int32_t version) {
    tova::TTimerList queue;
    tova::TTpMemoryStream input(bytes);
    try {
        queue.LoadFromStream(input, version, kNoSources.Find);
    } catch (const tova::ETovaError&) {
        if (queue.Count() != 0) std::abort();
        return;
    }
    tova::TTpMemoryStream written;
    queue.SaveToStream(written, kNoSources.NameOf);
    written.SetPosition(0);
    tova::TTimerList reread;
    reread.LoadFromStream(written, 139, kNoSources.Find);
    if (reread.Count() != queue.Count()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    StackRoundTrip(bytes);
    QueueRoundTrip(bytes, 113);
    QueueRoundTrip(bytes, 139);
    return 0;
}
