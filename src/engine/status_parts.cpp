#include "engine/status_parts.h"

#include "core/error.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "graphics/image_depth_flag.h"
#include "text/read_list.h"

namespace tova {

void TVariableStatusPart::Save(TStream& stream, int) const {
    variables_.SaveStatusVars(stream);
}

void TVariableStatusPart::Load(TStream& stream, int) {
    try {
        variables_.LoadStatusVars(stream);
    } catch (const ETovaError& e) {
        throw ETovaError(TErrorKind::DamagedSave, "damaged status variables: " + e.Message());
    }
}

void TReadListStatusPart::Save(TStream& stream, int) const {
    readList_.SaveToStream(stream);
}

void TReadListStatusPart::Load(TStream& stream, int version) {
    readList_.LoadFromStream(stream, version);
}

void TImageDepthStatusPart::Save(TStream& stream, int) const {
    flag_.SaveToStream(stream);
}

void TImageDepthStatusPart::Load(TStream& stream, int) {
    flag_.LoadFromStream(stream);
}

// The status record carries the tables of status flag 1; the game saves
// carry the others.
void TDatabaseStatusPart::Save(TStream& stream, int) const {
    database_.SaveSection(stream, 1);
}

void TDatabaseStatusPart::Load(TStream& stream, int version) {
    if (version >= kFirstStoredVersion) database_.LoadSection(stream, 1);
}

}  // namespace tova
