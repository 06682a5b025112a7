// What the creation commands know of each property: the kind its expression
// is read in, the value a present slot gives when its expression yields no
// value, and the fixed order in which a new component receives the
// properties (names first, then the parent, the source, the zoom and size
// before the position, ...).
#pragma once

#include <cstdint>
#include <span>

namespace tova {

inline constexpr int kCreationPropertyCount = 163;

// None: the creation commands never set the property (read-only values,
// the particle appearance expressions the component evaluates itself, the
// displacement and caret values).
enum class TCreationKind { None, Integer, Boolean, Real, String };

struct TCreationProperty {
    TCreationKind Kind = TCreationKind::None;
    int32_t Default = 0;  // integers and booleans; reals default to 0, strings to empty
};

// id in 0 .. 162; throws std::out_of_range otherwise.
const TCreationProperty& CreationProperty(int id);
// Every id once, in the order of application.
std::span<const int> CreationOrder();

}  // namespace tova
