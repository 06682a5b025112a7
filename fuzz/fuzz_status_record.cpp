// The status record as a player reads it from save.dat: the frame, the
// status variables, the read marks, the image flag and the status tables.
// Damaged input must end in ETovaError, never in a crash or a read out of
// bounds; what loads must save again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "engine/status_parts.h"
#include "engine/status_record.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "graphics/image_depth_flag.h"
#include "text/read_list.h"

namespace {

// The record's parts over state of their own.
struct TStatusState {
    tova::TParamCollection variables;
    tova::TTovaReadList readList;
    tova::TImageDepthFlag depth;
    tova::TDBManager database;
    tova::TVariableStatusPart variablesPart{variables};
    tova::TReadListStatusPart readListPart{readList};
    tova::TImageDepthStatusPart depthPart{depth};
    tova::TDatabaseStatusPart databasePart{database};
    tova::TStatusRecord record;

    TStatusState() {
        record.AddPart(variablesPart);
        record.AddPart(readListPart);
        record.AddPart(depthPart);
        record.AddPart(databasePart);
    }
};

// Loads a record that was written by the player (it must load) and saves it again.
std::vector<uint8_t> SavedAgain(const std::vector<uint8_t>& written) {
    tova::TTpMemoryStream input(written);
    TStatusState state;
    state.record.Load(input);
    tova::TTpMemoryStream result;
    state.record.Save(result);
    return result.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TStatusState loaded;
    tova::TTpMemoryStream input(std::vector<uint8_t>(data, data + size));
    try {
        loaded.record.Load(input);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    // What was accepted writes out and reads back. Variables are written last
    // to first, so each save and load reverses their order: the second and
    // the fourth generation of bytes must be equal.
    tova::TTpMemoryStream second;
    loaded.record.Save(second);
    const std::vector<uint8_t> fourth = SavedAgain(SavedAgain(second.Bytes()));
    if (fourth != second.Bytes()) std::abort();
    return 0;
}
