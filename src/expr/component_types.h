// The component type codes (LT_*): what PR_COMPOTYPE answers and what save
// data records before each component, with their identifiers and the display
// labels the project's tools show.
#pragma once

#include <string_view>

namespace tova {

enum : int {
    LT_NONE = 0,
    LT_AUDIO = 1,
    LT_BOX = 2,
    LT_BUTTON = 3,
    LT_CINEMA = 4,
    LT_EDIT = 5,
    LT_FIRE = 6,
    LT_HTTP = 7,
    LT_IMAGES = 8,
    LT_LABEL = 9,
    LT_MAP = 10,
    LT_MEMO = 11,
    LT_MENU = 12,
    LT_MES = 13,
    LT_PARTICLE = 14,
    LT_TIMER = 15,
    LT_VIDEO = 16,
    LT_SOUND = 17,
    LT_MAPIMG = 18,
    LT_WAVE = 19,
    LT_TILE = 20,
    LT_SLIDER = 21,
    LT_SCROLLBAR = 22,
    LT_GAUGE = 23,
    LT_CGLABEL = 24,
    LT_PREVMENU = 25,
    LT_PROPMOTION = 26,
    LT_CABINET = 27,
};

inline constexpr int kComponentTypeCount = 28;  // codes 0 .. 27

// "LT_BOX" for 2 and so on; empty for a code outside 0 .. 27.
std::string_view ComponentTypeName(int code);
// The display label in UTF-8, such as "矩形サーフェス"; empty for a code outside 0 .. 27.
std::string_view ComponentTypeLabel(int code);

}  // namespace tova
