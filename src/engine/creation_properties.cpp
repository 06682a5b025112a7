// The property table of the creation commands: the kind each property's
// expression is read in, the value a present slot gives when its expression
// yields none, and the fixed order in which a new component receives them.
#include "engine/creation_properties.h"

#include <array>

#include "objects/property_ids.h"

namespace tova {
namespace {

// Two defaults exist for many properties and they differ on purpose (PR_COLOR
// -1 here and 0xFFFFFF as a read, PR_INDEX 0 here and -1 as a read,
// PR_BRIGHTNESS 0 here and 255 as a read, ...). The rule: the default below
// is what a creation command gives the component when the page carries the
// property's slot but its expression yields no value (for colours -1 means
// "none, the component's own colour"), so it is what a new component starts
// with for that property. The component's accessor default
// (objects/property_support.h, NeutralDefault) is what a component answers
// for a property it does not hold. A slot the page does not carry is never
// applied: the component keeps its own initial value.
constexpr std::array<TCreationProperty, kCreationPropertyCount> kProperties = {{
    {TCreationKind::String, 0},      // PR_NAME
    {TCreationKind::String, 0},      // PR_PARENT
    {TCreationKind::String, 0},      // PR_SOURCE
    {TCreationKind::Integer, 0},     // PR_LEFT
    {TCreationKind::Integer, 0},     // PR_TOP
    {TCreationKind::Integer, 0},     // PR_WIDTH
    {TCreationKind::Integer, 0},     // PR_HEIGHT
    {TCreationKind::Integer, 256},   // PR_ZOOMX
    {TCreationKind::Integer, -1},    // PR_COLOR
    {TCreationKind::Integer, 0},     // PR_BORDERWIDTH
    {TCreationKind::Integer, -1},    // PR_BORDERCOLOR
    {TCreationKind::Integer, 255},   // PR_ALPHA
    {TCreationKind::Integer, 0},     // PR_PRIORITY
    {TCreationKind::Integer, 0},     // PR_OFFSETX
    {TCreationKind::Integer, 0},     // PR_OFFSETY
    {TCreationKind::String, 0},      // PR_FONTNAME
    {TCreationKind::Integer, 16},    // PR_FONTHEIGHT
    {TCreationKind::Integer, 0},     // PR_FONTSTYLE
    {TCreationKind::Integer, 0},     // PR_LINESPACE
    {TCreationKind::Integer, 0},     // PR_FONTCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTLINKCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTBORDERCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTHOVERCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTHOVERSTYLE
    {TCreationKind::Integer, -1},    // PR_HOVERCOLOR
    {TCreationKind::Boolean, 0},     // PR_ANTIALIAS
    {TCreationKind::Integer, 0},     // PR_DELAY
    {TCreationKind::Boolean, 0},     // PR_PAUSED
    {TCreationKind::Integer, 1000},  // PR_VOLUME
    {TCreationKind::Boolean, 0},     // PR_REPEAT
    {TCreationKind::Integer, 0},     // PR_BALANCE
    {TCreationKind::Integer, 0},     // PR_ANGLE
    {TCreationKind::String, 0},      // PR_ONPLAYING
    {TCreationKind::String, 0},      // PR_ONNOTIFY
    {TCreationKind::String, 0},      // PR_ONMOUSEMOVE
    {TCreationKind::String, 0},      // PR_ONMOUSEOUT
    {TCreationKind::String, 0},      // PR_ONLBTNDOWN
    {TCreationKind::String, 0},      // PR_ONLBTNUP
    {TCreationKind::String, 0},      // PR_ONRBTNDOWN
    {TCreationKind::String, 0},      // PR_ONRBTNUP
    {TCreationKind::String, 0},      // PR_ONWHEELDOWN
    {TCreationKind::String, 0},      // PR_ONWHEELUP
    {TCreationKind::Integer, 0},     // PR_BRIGHTNESS
    {TCreationKind::String, 0},      // PR_ONPLAYEND
    {TCreationKind::Integer, 0},     // PR_INDEX
    {TCreationKind::Integer, 0},     // PR_COUNT
    {TCreationKind::String, 0},      // PR_ONLINK
    {TCreationKind::Boolean, 1},     // PR_VISIBLE
    {TCreationKind::Integer, 1},     // PR_COLCOUNT
    {TCreationKind::Integer, 1},     // PR_ROWCOUNT
    {TCreationKind::String, 0},      // PR_TEXT
    {TCreationKind::Integer, 0},     // PR_MARGINX
    {TCreationKind::Integer, 0},     // PR_MARGINY
    {TCreationKind::Integer, 0},     // PR_HALIGN
    {TCreationKind::String, 0},      // PR_BORDERSOURCETL
    {TCreationKind::String, 0},      // PR_BORDERSOURCETC
    {TCreationKind::String, 0},      // PR_BORDERSOURCETR
    {TCreationKind::String, 0},      // PR_BORDERSOURCECL
    {TCreationKind::String, 0},      // PR_BORDERSOURCECC
    {TCreationKind::String, 0},      // PR_BORDERSOURCECR
    {TCreationKind::String, 0},      // PR_BORDERSOURCEBL
    {TCreationKind::String, 0},      // PR_BORDERSOURCEBC
    {TCreationKind::String, 0},      // PR_BORDERSOURCEBR
    {TCreationKind::Integer, 0},     // PR_BORDERHALIGNT
    {TCreationKind::Integer, 0},     // PR_BORDERHALIGNC
    {TCreationKind::Integer, 0},     // PR_BORDERHALIGNB
    {TCreationKind::Integer, 0},     // PR_BORDERVALIGNL
    {TCreationKind::Integer, 0},     // PR_BORDERVALIGNC
    {TCreationKind::Integer, 0},     // PR_BORDERVALIGNR
    {TCreationKind::String, 0},      // PR_SCROLLSOURCE
    {TCreationKind::String, 0},      // PR_CHECKSOURCE
    {TCreationKind::Boolean, 0},     // PR_AUTOSCRAP
    {TCreationKind::String, 0},      // PR_ONSELECT
    {TCreationKind::Boolean, 0},     // PR_RCLICKSCRAP
    {TCreationKind::String, 0},      // PR_ONOPENING
    {TCreationKind::String, 0},      // PR_ONOPENED
    {TCreationKind::String, 0},      // PR_ONCLOSING
    {TCreationKind::String, 0},      // PR_ONCLOSED
    {TCreationKind::None, 0},        // PR_CARETX
    {TCreationKind::None, 0},        // PR_CARETY
    {TCreationKind::Integer, 0},     // PR_IGNOREMOUSE
    {TCreationKind::Boolean, 0},     // PR_TEXTPAUSED
    {TCreationKind::Integer, 256},   // PR_TEXTDELAY
    {TCreationKind::String, 0},      // PR_HOVERSOURCE
    {TCreationKind::String, 0},      // PR_PRESSEDSOURCE
    {TCreationKind::Integer, 0},     // PR_GROUPINDEX
    {TCreationKind::Boolean, 0},     // PR_ALLOWALLUP
    {TCreationKind::Boolean, 0},     // PR_SELECTED
    {TCreationKind::Boolean, 0},     // PR_CAPTUREMASK
    {TCreationKind::Integer, 0},     // PR_POWER
    {TCreationKind::Integer, 0},     // PR_ORIGWIDTH
    {TCreationKind::Integer, 0},     // PR_ORIGHEIGHT
    {TCreationKind::None, 0},        // PR_APPEARX
    {TCreationKind::None, 0},        // PR_APPEARY
    {TCreationKind::Integer, 0},     // PR_PARTMOTION
    {TCreationKind::Real, 0},        // PR_PARAM1
    {TCreationKind::Real, 0},        // PR_PARAM2
    {TCreationKind::Integer, 0},     // PR_TOPINDEX
    {TCreationKind::Boolean, 0},     // PR_READONLY
    {TCreationKind::String, 0},      // PR_CURSOR
    {TCreationKind::Boolean, 0},     // PR_POSZOOMED
    {TCreationKind::String, 0},      // PR_ONPLAYSTART
    {TCreationKind::Real, 0},        // PR_PARAM3
    {TCreationKind::String, 0},      // PR_ONMOUSEIN
    {TCreationKind::String, 0},      // PR_ONMAPIN
    {TCreationKind::String, 0},      // PR_ONMAPOUT
    {TCreationKind::String, 0},      // PR_MAPSOURCE
    {TCreationKind::Integer, 1},     // PR_AMP
    {TCreationKind::Integer, 100},   // PR_WAVELEN
    {TCreationKind::Integer, 0},     // PR_SCROLLX
    {TCreationKind::Integer, 0},     // PR_SCROLLY
    {TCreationKind::Boolean, 0},     // PR_FLIPH
    {TCreationKind::Boolean, 0},     // PR_FLIPV
    {TCreationKind::String, 0},      // PR_ONIDLE
    {TCreationKind::Integer, 0},     // PR_DISTANCEX
    {TCreationKind::Integer, 0},     // PR_DISTANCEY
    {TCreationKind::Integer, 0},     // PR_CLIPLEFT
    {TCreationKind::Integer, 0},     // PR_CLIPTOP
    {TCreationKind::Integer, 0},     // PR_CLIPWIDTH
    {TCreationKind::Integer, 0},     // PR_CLIPHEIGHT
    {TCreationKind::Integer, 0},     // PR_DURATION
    {TCreationKind::String, 0},      // PR_THUMBSOURCE
    {TCreationKind::String, 0},      // PR_BUTTONSOURCE
    {TCreationKind::Integer, 0},     // PR_MIN
    {TCreationKind::Integer, 0},     // PR_MAX
    {TCreationKind::Integer, 0},     // PR_VALUE
    {TCreationKind::Integer, 0},     // PR_ORIENTATION
    {TCreationKind::Integer, 1},     // PR_SMALLCHANGE
    {TCreationKind::Integer, 1},     // PR_LARGECHANGE
    {TCreationKind::String, 0},      // PR_MAPTEXT
    {TCreationKind::Integer, 1},     // PR_GLYPHWIDTH
    {TCreationKind::Integer, 1},     // PR_GLYPHHEIGHT
    {TCreationKind::Integer, 256},   // PR_ZOOMY
    {TCreationKind::String, 0},      // PR_CLICKEDSOURCE
    {TCreationKind::Boolean, 0},     // PR_ANIPAUSED
    {TCreationKind::String, 0},      // PR_ONHOLD
    {TCreationKind::String, 0},      // PR_ONRELEASE
    {TCreationKind::Boolean, 0},     // PR_REVERSE
    {TCreationKind::None, 0},        // PR_PLAYING
    {TCreationKind::Boolean, 0},     // PR_REWINDONLOAD
    {TCreationKind::None, 0},        // PR_COMPOTYPE
    {TCreationKind::Integer, 0},     // PR_FONTSHADOWCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTBORDER
    {TCreationKind::Integer, 0},     // PR_FONTSHADOW
    {TCreationKind::String, 0},      // PR_ONKEYDOWN
    {TCreationKind::String, 0},      // PR_ONKEYUP
    {TCreationKind::String, 0},      // PR_ONKEYREPEAT
    {TCreationKind::Boolean, 0},     // PR_HANDLEKEY
    {TCreationKind::String, 0},      // PR_ONFOCUSIN
    {TCreationKind::String, 0},      // PR_ONFOCUSOUT
    {TCreationKind::Boolean, 1},     // PR_OVERLAY
    {TCreationKind::String, 0},      // PR_TAG
    {TCreationKind::Boolean, 0},     // PR_CAPTURELINK
    {TCreationKind::Integer, 0},     // PR_FONTHOVERBORDER
    {TCreationKind::Integer, 0},     // PR_FONTHOVERBORDERCOLOR
    {TCreationKind::Integer, 0},     // PR_FONTHOVERSHADOW
    {TCreationKind::Integer, 0},     // PR_FONTHOVERSHADOWCOLOR
    {TCreationKind::Integer, 0},     // PR_BARSIZE
    {TCreationKind::Boolean, 0},     // PR_MUTEONLOAD
    {TCreationKind::None, 0},        // PR_PLUSX
    {TCreationKind::None, 0},        // PR_PLUSY
    {TCreationKind::None, 0},        // PR_CARETHEIGHT
    {TCreationKind::Integer, 0},     // PR_REPEATPOS
}};

constexpr std::array<int, kCreationPropertyCount> kOrder = {
    PR_NAME,
    PR_PARENT,
    PR_SOURCE,
    PR_ZOOMX,
    PR_ZOOMY,
    PR_POSZOOMED,
    PR_WIDTH,
    PR_HEIGHT,
    PR_LEFT,
    PR_TOP,
    PR_COLOR,
    PR_BARSIZE,
    PR_BORDERWIDTH,
    PR_BORDERCOLOR,
    PR_ALPHA,
    PR_PRIORITY,
    PR_OFFSETX,
    PR_OFFSETY,
    PR_PLUSX,
    PR_PLUSY,
    PR_FONTNAME,
    PR_FONTHEIGHT,
    PR_FONTSTYLE,
    PR_LINESPACE,
    PR_FONTCOLOR,
    PR_FONTLINKCOLOR,
    PR_FONTBORDERCOLOR,
    PR_FONTHOVERCOLOR,
    PR_FONTHOVERSTYLE,
    PR_HOVERCOLOR,
    PR_FONTHOVERBORDER,
    PR_FONTHOVERBORDERCOLOR,
    PR_FONTHOVERSHADOW,
    PR_FONTHOVERSHADOWCOLOR,
    PR_ANTIALIAS,
    PR_DELAY,
    PR_PAUSED,
    PR_VOLUME,
    PR_REPEAT,
    PR_REPEATPOS,
    PR_BALANCE,
    PR_ANGLE,
    PR_ONPLAYING,
    PR_ONNOTIFY,
    PR_ONMOUSEMOVE,
    PR_ONMOUSEOUT,
    PR_ONLBTNDOWN,
    PR_ONLBTNUP,
    PR_ONRBTNDOWN,
    PR_ONRBTNUP,
    PR_ONWHEELDOWN,
    PR_ONWHEELUP,
    PR_BRIGHTNESS,
    PR_ONPLAYEND,
    PR_INDEX,
    PR_COUNT,
    PR_ONLINK,
    PR_VISIBLE,
    PR_COLCOUNT,
    PR_ROWCOUNT,
    PR_TEXT,
    PR_MARGINX,
    PR_MARGINY,
    PR_HALIGN,
    PR_BORDERSOURCETL,
    PR_BORDERSOURCETC,
    PR_BORDERSOURCETR,
    PR_BORDERSOURCECL,
    PR_BORDERSOURCECC,
    PR_BORDERSOURCECR,
    PR_BORDERSOURCEBL,
    PR_BORDERSOURCEBC,
    PR_BORDERSOURCEBR,
    PR_BORDERHALIGNT,
    PR_BORDERHALIGNC,
    PR_BORDERHALIGNB,
    PR_BORDERVALIGNL,
    PR_BORDERVALIGNC,
    PR_BORDERVALIGNR,
    PR_SCROLLSOURCE,
    PR_CHECKSOURCE,
    PR_AUTOSCRAP,
    PR_ONSELECT,
    PR_RCLICKSCRAP,
    PR_ONOPENING,
    PR_ONOPENED,
    PR_ONCLOSING,
    PR_ONCLOSED,
    PR_CARETX,
    PR_CARETY,
    PR_CARETHEIGHT,
    PR_IGNOREMOUSE,
    PR_TEXTPAUSED,
    PR_TEXTDELAY,
    PR_HOVERSOURCE,
    PR_PRESSEDSOURCE,
    PR_GROUPINDEX,
    PR_ALLOWALLUP,
    PR_SELECTED,
    PR_CAPTUREMASK,
    PR_POWER,
    PR_ORIGWIDTH,
    PR_ORIGHEIGHT,
    PR_APPEARX,
    PR_APPEARY,
    PR_PARTMOTION,
    PR_PARAM1,
    PR_PARAM2,
    PR_TOPINDEX,
    PR_READONLY,
    PR_CURSOR,
    PR_ONPLAYSTART,
    PR_PARAM3,
    PR_ONMOUSEIN,
    PR_ONMAPIN,
    PR_ONMAPOUT,
    PR_MAPSOURCE,
    PR_AMP,
    PR_WAVELEN,
    PR_SCROLLX,
    PR_SCROLLY,
    PR_FLIPH,
    PR_FLIPV,
    PR_ONIDLE,
    PR_DISTANCEX,
    PR_DISTANCEY,
    PR_CLIPLEFT,
    PR_CLIPTOP,
    PR_CLIPWIDTH,
    PR_CLIPHEIGHT,
    PR_DURATION,
    PR_THUMBSOURCE,
    PR_BUTTONSOURCE,
    PR_MIN,
    PR_MAX,
    PR_VALUE,
    PR_ORIENTATION,
    PR_SMALLCHANGE,
    PR_LARGECHANGE,
    PR_MAPTEXT,
    PR_GLYPHWIDTH,
    PR_GLYPHHEIGHT,
    PR_CLICKEDSOURCE,
    PR_ANIPAUSED,
    PR_ONHOLD,
    PR_ONRELEASE,
    PR_REVERSE,
    PR_PLAYING,
    PR_REWINDONLOAD,
    PR_COMPOTYPE,
    PR_FONTSHADOWCOLOR,
    PR_FONTBORDER,
    PR_FONTSHADOW,
    PR_ONKEYDOWN,
    PR_ONKEYUP,
    PR_ONKEYREPEAT,
    PR_HANDLEKEY,
    PR_ONFOCUSIN,
    PR_ONFOCUSOUT,
    PR_OVERLAY,
    PR_TAG,
    PR_CAPTURELINK,
    PR_MUTEONLOAD,
};

}  // namespace

const TCreationProperty& CreationProperty(int id) {
    return kProperties.at(static_cast<size_t>(id));
}

std::span<const int> CreationOrder() {
    return kOrder;
}

}  // namespace tova
