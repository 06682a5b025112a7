#include "objects/property_support.h"

#include <array>
#include <cstdint>

#include "expr/component_types.h"
#include "expr/custom_param.h"
#include "expr/property_types.h"
#include "objects/property_ids.h"

namespace tova {
namespace {

// Bits 0 .. 27 stand for the LT_ codes that hold a property; the bits above
// for the families the property belongs to whatever the code.
constexpr uint32_t Bit(int code) {
    return uint32_t{1} << code;
}
constexpr uint32_t kObjects = uint32_t{1} << 29;   // every object
constexpr uint32_t kControls = uint32_t{1} << 30;  // every visual component (layers too)
constexpr uint32_t kScreen = uint32_t{1} << 31;    // the screen

// Indexed by property id: who holds it.
constexpr std::array<uint32_t, kPropertyCount> kSupport = {
    kObjects,   // 0 PR_NAME
    kControls,  // 1 PR_PARENT
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_HTTP) | Bit(LT_IMAGES) | Bit(LT_LABEL) |
        Bit(LT_PARTICLE) | Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_MAPIMG) | Bit(LT_TILE) | Bit(LT_SLIDER) |
        Bit(LT_SCROLLBAR) | Bit(LT_GAUGE) | Bit(LT_CGLABEL) | Bit(LT_PREVMENU),  // 2 PR_SOURCE
    kControls,                                                                   // 3 PR_LEFT
    kControls,                                                                   // 4 PR_TOP
    kControls | kScreen,                                                         // 5 PR_WIDTH
    kControls | kScreen,                                                         // 6 PR_HEIGHT
    Bit(LT_BUTTON) | Bit(LT_FIRE) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) |
        Bit(LT_TILE),            // 7 PR_ZOOMX
    kControls | kScreen,         // 8 PR_COLOR
    Bit(LT_BOX) | Bit(LT_MENU),  // 9 PR_BORDERWIDTH
    Bit(LT_BOX) | Bit(LT_MENU),  // 10 PR_BORDERCOLOR
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_MENU) | Bit(LT_MES) |
        Bit(LT_PARTICLE) | Bit(LT_VIDEO) | Bit(LT_MAPIMG) | Bit(LT_TILE) | Bit(LT_SLIDER) |
        Bit(LT_SCROLLBAR) | Bit(LT_GAUGE) | Bit(LT_CGLABEL),  // 11 PR_ALPHA
    kObjects,                                                 // 12 PR_PRIORITY
    kControls,                                                // 13 PR_OFFSETX
    kControls,                                                // 14 PR_OFFSETY
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) |
        Bit(LT_MES),  // 15 PR_FONTNAME
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) |
        Bit(LT_MES),                                                              // 16 PR_FONTHEIGHT
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU),  // 17 PR_FONTSTYLE
    Bit(LT_LABEL) | Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_CGLABEL),                 // 18 PR_LINESPACE
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) |
        Bit(LT_MES),                                              // 19 PR_FONTCOLOR
    Bit(LT_MES),                                                  // 20 PR_FONTLINKCOLOR
    Bit(LT_MENU) | Bit(LT_MES),                                   // 21 PR_FONTBORDERCOLOR
    Bit(LT_MENU) | Bit(LT_MES),                                   // 22 PR_FONTHOVERCOLOR
    Bit(LT_MENU),                                                 // 23 PR_FONTHOVERSTYLE
    Bit(LT_MENU),                                                 // 24 PR_HOVERCOLOR
    Bit(LT_BUTTON) | Bit(LT_LABEL) | Bit(LT_MENU) | Bit(LT_MES),  // 25 PR_ANTIALIAS
    Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_TIMER) | Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_WAVE) |
        Bit(LT_GAUGE),  // 26 PR_DELAY
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_EDIT) | Bit(LT_FIRE) | Bit(LT_IMAGES) |
        Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_PARTICLE) | Bit(LT_TIMER) |
        Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_MAPIMG) | Bit(LT_WAVE) | Bit(LT_TILE) | Bit(LT_SLIDER) |
        Bit(LT_SCROLLBAR) | Bit(LT_GAUGE) | Bit(LT_CGLABEL) | Bit(LT_PREVMENU) |
        Bit(LT_PROPMOTION),                          // 27 PR_PAUSED
    Bit(LT_CINEMA) | Bit(LT_VIDEO) | Bit(LT_SOUND),  // 28 PR_VOLUME
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) |
        Bit(LT_SOUND) | Bit(LT_MAPIMG) | Bit(LT_TILE),                               // 29 PR_REPEAT
    Bit(LT_VIDEO) | Bit(LT_SOUND),                                                   // 30 PR_BALANCE
    Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) | Bit(LT_TILE),  // 31 PR_ANGLE
    Bit(LT_MES),                                                                     // 32 PR_ONPLAYING
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_MEMO) | Bit(LT_MES) | Bit(LT_TIMER) | Bit(LT_SLIDER) |
        Bit(LT_SCROLLBAR),                                            // 33 PR_ONNOTIFY
    kControls,                                                        // 34 PR_ONMOUSEMOVE
    kControls,                                                        // 35 PR_ONMOUSEOUT
    kControls,                                                        // 36 PR_ONLBTNDOWN
    kControls,                                                        // 37 PR_ONLBTNUP
    kControls,                                                        // 38 PR_ONRBTNDOWN
    kControls,                                                        // 39 PR_ONRBTNUP
    kControls,                                                        // 40 PR_ONWHEELDOWN
    kControls,                                                        // 41 PR_ONWHEELUP
    Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_MAPIMG) | Bit(LT_TILE),  // 42 PR_BRIGHTNESS
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_HTTP) | Bit(LT_IMAGES) | Bit(LT_LABEL) |
        Bit(LT_MES) | Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_PREVMENU),  // 43 PR_ONPLAYEND
    Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_IMAGES) | Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_PARTICLE) |
        Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_TILE),  // 44 PR_INDEX
    Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_IMAGES) | Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_VIDEO) |
        Bit(LT_SOUND) | Bit(LT_TILE) | Bit(LT_PREVMENU),  // 45 PR_COUNT
    Bit(LT_MES),                                          // 46 PR_ONLINK
    kControls,                                            // 47 PR_VISIBLE
    0,                                                    // 48 PR_COLCOUNT
    Bit(LT_MENU),                                         // 49 PR_ROWCOUNT
    Bit(LT_BUTTON) | Bit(LT_EDIT) | Bit(LT_HTTP) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) | Bit(LT_MES) |
        Bit(LT_CGLABEL) | Bit(LT_PREVMENU),                         // 50 PR_TEXT
    Bit(LT_MENU),                                                   // 51 PR_MARGINX
    Bit(LT_MENU),                                                   // 52 PR_MARGINY
    Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) | Bit(LT_CGLABEL),  // 53 PR_HALIGN
    Bit(LT_MENU),                                                   // 54 PR_BORDERSOURCETL
    Bit(LT_MENU),                                                   // 55 PR_BORDERSOURCETC
    Bit(LT_MENU),                                                   // 56 PR_BORDERSOURCETR
    Bit(LT_MENU),                                                   // 57 PR_BORDERSOURCECL
    Bit(LT_MENU),                                                   // 58 PR_BORDERSOURCECC
    Bit(LT_MENU),                                                   // 59 PR_BORDERSOURCECR
    Bit(LT_MENU),                                                   // 60 PR_BORDERSOURCEBL
    Bit(LT_MENU),                                                   // 61 PR_BORDERSOURCEBC
    Bit(LT_MENU),                                                   // 62 PR_BORDERSOURCEBR
    Bit(LT_MENU),                                                   // 63 PR_BORDERHALIGNT
    Bit(LT_MENU),                                                   // 64 PR_BORDERHALIGNC
    Bit(LT_MENU),                                                   // 65 PR_BORDERHALIGNB
    Bit(LT_MENU),                                                   // 66 PR_BORDERVALIGNL
    Bit(LT_MENU),                                                   // 67 PR_BORDERVALIGNC
    Bit(LT_MENU),                                                   // 68 PR_BORDERVALIGNR
    Bit(LT_MENU),                                                   // 69 PR_SCROLLSOURCE
    Bit(LT_MENU),                                                   // 70 PR_CHECKSOURCE
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_MENU) |
        Bit(LT_TIMER) | Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_MAPIMG) | Bit(LT_PREVMENU),  // 71 PR_AUTOSCRAP
    Bit(LT_MENU) | Bit(LT_MAPIMG) | Bit(LT_PREVMENU),                                       // 72 PR_ONSELECT
    Bit(LT_MENU) | Bit(LT_MAPIMG) | Bit(LT_PREVMENU),  // 73 PR_RCLICKSCRAP
    Bit(LT_MENU),                                      // 74 PR_ONOPENING
    Bit(LT_MENU),                                      // 75 PR_ONOPENED
    Bit(LT_MENU),                                      // 76 PR_ONCLOSING
    Bit(LT_MENU),                                      // 77 PR_ONCLOSED
    Bit(LT_MES),                                       // 78 PR_CARETX
    Bit(LT_MES),                                       // 79 PR_CARETY
    kControls,                                         // 80 PR_IGNOREMOUSE
    Bit(LT_MES),                                       // 81 PR_TEXTPAUSED
    Bit(LT_MES),                                       // 82 PR_TEXTDELAY
    Bit(LT_BUTTON) | Bit(LT_MAPIMG),                   // 83 PR_HOVERSOURCE
    Bit(LT_BUTTON),                                    // 84 PR_PRESSEDSOURCE
    Bit(LT_BUTTON),                                    // 85 PR_GROUPINDEX
    Bit(LT_BUTTON),                                    // 86 PR_ALLOWALLUP
    Bit(LT_BUTTON),                                    // 87 PR_SELECTED
    Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_VIDEO) | Bit(LT_TILE) | Bit(LT_SLIDER) |
        Bit(LT_SCROLLBAR),  // 88 PR_CAPTUREMASK
    Bit(LT_FIRE),           // 89 PR_POWER
    Bit(LT_BUTTON) | Bit(LT_FIRE) | Bit(LT_IMAGES) | Bit(LT_VIDEO) | Bit(LT_TILE) |
        Bit(LT_CGLABEL),  // 90 PR_ORIGWIDTH
    Bit(LT_BUTTON) | Bit(LT_FIRE) | Bit(LT_IMAGES) | Bit(LT_MENU) | Bit(LT_VIDEO) | Bit(LT_TILE) |
        Bit(LT_CGLABEL),                                                             // 91 PR_ORIGHEIGHT
    0,                                                                               // 92 PR_APPEARX
    0,                                                                               // 93 PR_APPEARY
    Bit(LT_PARTICLE),                                                                // 94 PR_PARTMOTION
    Bit(LT_PARTICLE),                                                                // 95 PR_PARAM1
    Bit(LT_PARTICLE),                                                                // 96 PR_PARAM2
    Bit(LT_MENU),                                                                    // 97 PR_TOPINDEX
    Bit(LT_EDIT) | Bit(LT_MEMO),                                                     // 98 PR_READONLY
    kControls,                                                                       // 99 PR_CURSOR
    kControls,                                                                       // 100 PR_POSZOOMED
    Bit(LT_MES),                                                                     // 101 PR_ONPLAYSTART
    Bit(LT_PARTICLE),                                                                // 102 PR_PARAM3
    kControls,                                                                       // 103 PR_ONMOUSEIN
    Bit(LT_MENU) | Bit(LT_MAPIMG) | Bit(LT_PREVMENU),                                // 104 PR_ONMAPIN
    Bit(LT_MENU) | Bit(LT_MAPIMG) | Bit(LT_PREVMENU),                                // 105 PR_ONMAPOUT
    Bit(LT_MAPIMG),                                                                  // 106 PR_MAPSOURCE
    Bit(LT_WAVE),                                                                    // 107 PR_AMP
    Bit(LT_WAVE),                                                                    // 108 PR_WAVELEN
    Bit(LT_TILE),                                                                    // 109 PR_SCROLLX
    Bit(LT_MES) | Bit(LT_TILE),                                                      // 110 PR_SCROLLY
    Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) | Bit(LT_TILE),  // 111 PR_FLIPH
    Bit(LT_BUTTON) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) | Bit(LT_TILE),  // 112 PR_FLIPV
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_FIRE) | Bit(LT_IMAGES) | Bit(LT_LABEL) |
        Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_PARTICLE) | Bit(LT_VIDEO) | Bit(LT_MAPIMG) | Bit(LT_WAVE) |
        Bit(LT_TILE) | Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE) | Bit(LT_CGLABEL) |
        Bit(LT_PREVMENU),                                // 113 PR_ONIDLE
    Bit(LT_TILE),                                        // 114 PR_DISTANCEX
    Bit(LT_TILE),                                        // 115 PR_DISTANCEY
    kControls,                                           // 116 PR_CLIPLEFT
    kControls,                                           // 117 PR_CLIPTOP
    kControls,                                           // 118 PR_CLIPWIDTH
    kControls,                                           // 119 PR_CLIPHEIGHT
    Bit(LT_PARTICLE) | Bit(LT_GAUGE),                    // 120 PR_DURATION
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR),                  // 121 PR_THUMBSOURCE
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR),                  // 122 PR_BUTTONSOURCE
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE),  // 123 PR_MIN
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE),  // 124 PR_MAX
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE),  // 125 PR_VALUE
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE),  // 126 PR_ORIENTATION
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR),                  // 127 PR_SMALLCHANGE
    Bit(LT_SCROLLBAR),                                   // 128 PR_LARGECHANGE
    Bit(LT_CGLABEL),                                     // 129 PR_MAPTEXT
    Bit(LT_CGLABEL),                                     // 130 PR_GLYPHWIDTH
    Bit(LT_CGLABEL),                                     // 131 PR_GLYPHHEIGHT
    Bit(LT_BUTTON) | Bit(LT_FIRE) | Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_VIDEO) |
        Bit(LT_TILE),                                // 132 PR_ZOOMY
    Bit(LT_BUTTON),                                  // 133 PR_CLICKEDSOURCE
    kControls | Bit(LT_SOUND),                       // 134 PR_ANIPAUSED
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR),              // 135 PR_ONHOLD
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR),              // 136 PR_ONRELEASE
    Bit(LT_GAUGE),                                   // 137 PR_REVERSE
    kControls | Bit(LT_SOUND),                       // 138 PR_PLAYING
    Bit(LT_CINEMA) | Bit(LT_VIDEO) | Bit(LT_SOUND),  // 139 PR_REWINDONLOAD
    Bit(LT_BOX) | Bit(LT_BUTTON) | Bit(LT_CINEMA) | Bit(LT_EDIT) | Bit(LT_FIRE) | Bit(LT_HTTP) |
        Bit(LT_IMAGES) | Bit(LT_LABEL) | Bit(LT_MEMO) | Bit(LT_MENU) | Bit(LT_MES) | Bit(LT_PARTICLE) |
        Bit(LT_TIMER) | Bit(LT_VIDEO) | Bit(LT_SOUND) | Bit(LT_MAPIMG) | Bit(LT_WAVE) | Bit(LT_TILE) |
        Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE) | Bit(LT_CGLABEL) | Bit(LT_PREVMENU) |
        Bit(LT_PROPMOTION) | Bit(LT_CABINET),            // 140 PR_COMPOTYPE
    Bit(LT_MENU) | Bit(LT_MES),                          // 141 PR_FONTSHADOWCOLOR
    Bit(LT_MENU) | Bit(LT_MES),                          // 142 PR_FONTBORDER
    Bit(LT_MENU) | Bit(LT_MES),                          // 143 PR_FONTSHADOW
    kControls,                                           // 144 PR_ONKEYDOWN
    kControls,                                           // 145 PR_ONKEYUP
    kControls,                                           // 146 PR_ONKEYREPEAT
    kControls,                                           // 147 PR_HANDLEKEY
    kControls,                                           // 148 PR_ONFOCUSIN
    kControls,                                           // 149 PR_ONFOCUSOUT
    Bit(LT_VIDEO),                                       // 150 PR_OVERLAY
    kObjects,                                            // 151 PR_TAG
    Bit(LT_MES),                                         // 152 PR_CAPTURELINK
    Bit(LT_MENU),                                        // 153 PR_FONTHOVERBORDER
    Bit(LT_MENU),                                        // 154 PR_FONTHOVERBORDERCOLOR
    Bit(LT_MENU),                                        // 155 PR_FONTHOVERSHADOW
    Bit(LT_MENU),                                        // 156 PR_FONTHOVERSHADOWCOLOR
    Bit(LT_SLIDER) | Bit(LT_SCROLLBAR) | Bit(LT_GAUGE),  // 157 PR_BARSIZE
    Bit(LT_CINEMA) | Bit(LT_VIDEO) | Bit(LT_SOUND),      // 158 PR_MUTEONLOAD
    kControls,                                           // 159 PR_PLUSX
    kControls,                                           // 160 PR_PLUSY
    Bit(LT_MES),                                         // 161 PR_CARETHEIGHT
    Bit(LT_SOUND),                                       // 162 PR_REPEATPOS
};

// The defaults, and how they differ from the creation commands' own.
//
// The creation commands (engine) have a table of their own for a property
// whose expression is present but yields no value: PR_COLOR -1, PR_INDEX 0,
// PR_BRIGHTNESS 0 and so on. That table only feeds the setter in that one
// case. The values below are the other default: what an object answers for
// a property it does not hold (a timer asked for PR_ZOOMX, a box for
// PR_INDEX), and what a component that holds one starts with before any
// command sets it. It is the value that means "nothing special": 256 for
// the zooms and the text delay, 255 for alpha and brightness, -1 (none) for
// PR_INDEX and the optional colours, white for PR_COLOR, 1 for the steps and
// the particle motion, true for the flags that are on unless turned off;
// 0, false or an empty string for the rest. PR_ORIGWIDTH and PR_ORIGHEIGHT
// follow the width and height (the caller's).
struct TDefault {
    int Id;
    int32_t Value;
};
constexpr std::array<TDefault, 14> kDefaults = {{
    {PR_ZOOMX, 256},
    {PR_COLOR, 0xFFFFFF},
    {PR_BORDERCOLOR, -1},
    {PR_ALPHA, 255},
    {PR_HOVERCOLOR, -1},
    {PR_BRIGHTNESS, 255},
    {PR_INDEX, -1},
    {PR_TEXTDELAY, 256},
    {PR_PARTMOTION, 1},
    {PR_SMALLCHANGE, 1},
    {PR_LARGECHANGE, 1},
    {PR_ZOOMY, 256},
    {PR_REWINDONLOAD, 1},
    {PR_OVERLAY, 1},
}};

}  // namespace

bool PropertySupported(int id, int typeCode, TObjectKind kind) {
    if (id < 0 || id >= kPropertyCount) return false;
    const uint32_t holders = kSupport[static_cast<size_t>(id)];
    if (holders & kObjects) return true;
    if ((holders & kControls) && kind == TObjectKind::Control) return true;
    if ((holders & kScreen) && kind == TObjectKind::Screen) return true;
    return typeCode > 0 && typeCode < kComponentTypeCount && (holders & Bit(typeCode)) != 0;
}

void NeutralDefault(int id, TCustomParam& result) {
    int32_t value = 0;
    for (const TDefault& d : kDefaults)
        if (d.Id == id) value = d.Value;
    switch (id >= 0 && id < kPropertyCount ? PropertyValueType(id) : PT_INT) {
        case PT_STR:
            result.SetStr({});
            break;
        case PT_BOOL:
            result.SetBool(value != 0);
            break;
        case PT_FLOAT:
            result.SetFloat(value);
            break;
        default:
            result.SetInt(value);
            break;
    }
}

bool IsReadOnlyProperty(int id) {
    return id == PR_CARETX || id == PR_CARETY || id == PR_PLAYING || id == PR_COMPOTYPE ||
           id == PR_CARETHEIGHT;
}

}  // namespace tova
