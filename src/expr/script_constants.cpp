#include "expr/script_constants.h"

#include <array>
#include <string>

#include "expr/component_types.h"
#include "expr/property_names.h"
#include "expr/property_types.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

constexpr std::array<std::string_view, kTransitionCount> kTransitions = {
    "WP_NONE",    "WP_FADE",      "WP_BLINDH",      "WP_BLINDV",    "WP_CURTAINH", "WP_CURTAINV",
    "WP_SCROLLH", "WP_SCROLLV",   "WP_GRID",        "WP_GRIDH",     "WP_GRIDV",    "WP_DITHER",
    "WP_WHITE",   "WP_BLACK",     "WP_FLASH",       "WP_MOSAIC",    "WP_SUDAREH",  "WP_SUDAREV",
    "WP_SPOT",    "WP_MASKFADE",  "WP_MASKWHITE",   "WP_MASKBLACK", "WP_SMALL",    "WP_BIG",
    "WP_RIPPLE",  "WP_BLURWHITE", "WP_BLURBLACK",   "WP_TWISTH",    "WP_TWISTV",   "WP_CRACK",
    "WP_ZOOMIN",  "WP_CLOCKHAND", "WP_RUBBERH",     "WP_RUBBERV",   "WP_FAN",      "WP_WFAN",
    "WP_CIRCLE",  "WP_BLOCKCOIL", "WP_BLOCKRANDOM",
};

struct TNamedValue {
    std::string_view Name;
    int32_t Value;
};

// PR_HALIGN's alignments, PR_ORIENTATION's orientations, PR_PARTMOTION's patterns.
constexpr std::array<TNamedValue, 10> kSmallFamilies = {{
    {"HA_LEFT", 0},
    {"HA_CENTER", 1},
    {"HA_RIGHT", 2},
    {"OT_HORIZONTAL", 0},
    {"OT_VERTICAL", 1},
    {"PM_NONE", 0},
    {"PM_SNOW", 1},
    {"PM_STAR", 2},
    {"PM_FLUFF", 3},
    {"PM_TWISTER", 4},
}};

bool IsUpperName(std::string_view name) {
    for (const char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

}  // namespace

std::optional<int32_t> ScriptConstant(std::string_view name) {
    if (name.size() < 4 || name[2] != '_' || !IsUpperName(name)) return std::nullopt;
    const std::string_view family = name.substr(0, 3);
    if (family == "PR_") return PropertyIdOfName(name);
    if (family == "LT_") {
        for (int code = 0; code < kComponentTypeCount; ++code)
            if (ComponentTypeName(code) == name) return code;
        return std::nullopt;
    }
    if (family == "WP_") {
        for (int id = 0; id < kTransitionCount; ++id)
            if (kTransitions[static_cast<size_t>(id)] == name) return id;
        return std::nullopt;
    }
    if (family == "VK_") {
        if (const std::optional<uint8_t> code = VirtualKeyFromName(name)) return *code;
        return std::nullopt;
    }
    for (const TNamedValue& entry : kSmallFamilies)
        if (entry.Name == name) return entry.Value;
    return std::nullopt;
}

std::string_view TransitionName(int id) {
    return id >= 0 && id < kTransitionCount ? kTransitions[static_cast<size_t>(id)] : std::string_view();
}

void ForEachScriptConstant(const std::function<void(std::string_view name, int32_t value)>& visit) {
    for (int id = 0; id < kPropertyCount; ++id)
        visit(PropertyName(id), id);
    for (int code = 0; code < kComponentTypeCount; ++code)
        visit(ComponentTypeName(code), code);
    for (int id = 0; id < kTransitionCount; ++id)
        visit(kTransitions[static_cast<size_t>(id)], id);
    for (const TNamedValue& entry : kSmallFamilies)
        visit(entry.Name, entry.Value);
    for (int code = 1; code < 256; ++code) {
        // Letter keys are named by their letter alone elsewhere; scripts write VK_A.
        std::string name = VirtualKeyName(static_cast<uint8_t>(code));
        if (code >= 'A' && code <= 'Z') name = "VK_" + name;
        if (name.starts_with("VK_")) visit(name, code);
    }
}

}  // namespace tova
