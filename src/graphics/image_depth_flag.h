// The image collection's depth-conversion flag: when set, images are
// converted to the screen's colour depth as they are loaded. The choice is
// the player's, not one saved game's, so it is kept in the status record.
#pragma once

#include "core/stream.h"

namespace tova {

class TImageDepthFlag {
public:
    bool DepthConversion = false;

    // One byte, 0 or 1.
    void SaveToStream(TStream& stream) const;
    // Any non-zero byte sets the flag; a missing byte throws ETovaError.
    void LoadFromStream(TStream& stream);
};

}  // namespace tova
