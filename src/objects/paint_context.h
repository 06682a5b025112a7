// What the screen hands down when a layer paints its controls: the picture
// to draw into, the rectangle drawing is restricted to, and the image cache
// components load their pictures from.
#pragma once

#include "graphics/surface.h"

namespace tova {

class TBrioCollection;

struct TPaintContext {
    // The layer's picture, in screen coordinates (the composed screen for
    // the current layer while no transition runs).
    TSurface32& Target;
    // Drawing stays inside this rectangle (screen coordinates): the dirty
    // rectangle being repainted, narrowed by the clips of the control and
    // its ancestors. Never outside Target's bounds.
    TRect Clip;
    // The player's image cache, or null (tests without pictures).
    TBrioCollection* Images = nullptr;
};

}  // namespace tova
