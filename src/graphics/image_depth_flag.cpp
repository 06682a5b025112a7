#include "graphics/image_depth_flag.h"

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {

void TImageDepthFlag::SaveToStream(TStream& stream) const {
    WriteBool(stream, DepthConversion);
}

void TImageDepthFlag::LoadFromStream(TStream& stream) {
    if (stream.Remaining() < 1) throw ETovaError("damaged image state: the depth-conversion flag is missing");
    DepthConversion = ReadU8(stream) != 0;
}

}  // namespace tova
