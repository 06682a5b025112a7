// How events, call frames and queue entries refer to a component across
// frames: the slot the screen gave it and that slot's generation. A slot is
// used again after its component is freed, but with the next generation, so
// a handle to a freed component never finds the one that takes its place.
#pragma once

#include <cstdint>

namespace tova {

struct TComponentHandle {
    uint32_t Slot = 0;  // 0: no component
    uint32_t Generation = 0;

    explicit operator bool() const { return Slot != 0; }
    friend bool operator==(const TComponentHandle&, const TComponentHandle&) = default;
};

}  // namespace tova
