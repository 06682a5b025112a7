#include "expr/property_types.h"

#include <array>
#include <cstdint>

#include "expr/param_types.h"

namespace tova {
namespace {

constexpr uint8_t I = PT_INT;
constexpr uint8_t F = PT_FLOAT;
constexpr uint8_t B = PT_BOOL;
constexpr uint8_t S = PT_STR;

// Indexed by property id, ten per line.
constexpr std::array<uint8_t, kPropertyCount> kTypes = {
    S, S, S, I, I, I, I, I, I, I,
    I, I, I, I, I, S, I, I, I, I,
    I, I, I, I, I, B, I, B, I, B,
    I, I, S, S, S, S, S, S, S, S,
    S, S, I, S, I, I, S, B, I, I,
    S, I, I, I, S, S, S, S, S, S,
    S, S, S, I, I, I, I, I, I, S,
    S, B, S, B, S, S, S, S, I, I,
    I, B, I, S, S, I, B, B, B, I,
    I, I, I, I, I, F, F, I, B, S,
    B, S, F, S, S, S, S, I, I, I,
    I, B, B, S, I, I, I, I, I, I,
    I, S, S, I, I, I, I, I, I, S,
    I, I, I, S, B, S, S, B, B, B,
    I, I, I, I, S, S, S, B, S, S,
    B, S, B, I, I, I, I, I, B, I,
    I, I, I,
};

}  // namespace

int PropertyValueType(int id) {
    return kTypes[static_cast<size_t>(id)];
}

}  // namespace tova
