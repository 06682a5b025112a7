// The properties every visual component holds, read and written through the
// control's accessors (the setters redraw what they change).
#include <array>
#include <utility>

#include "expr/custom_param.h"
#include "objects/property_ids.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {
namespace {

// Event property ids and the control's text they stand for.
constexpr std::array<std::pair<int, TMouseEvent>, kMouseEventCount> kMouseIds = {{
    {PR_ONMOUSEMOVE, TMouseEvent::Move},
    {PR_ONMOUSEIN, TMouseEvent::In},
    {PR_ONMOUSEOUT, TMouseEvent::Out},
    {PR_ONLBTNDOWN, TMouseEvent::LeftDown},
    {PR_ONLBTNUP, TMouseEvent::LeftUp},
    {PR_ONRBTNDOWN, TMouseEvent::RightDown},
    {PR_ONRBTNUP, TMouseEvent::RightUp},
    {PR_ONWHEELDOWN, TMouseEvent::WheelDown},
    {PR_ONWHEELUP, TMouseEvent::WheelUp},
}};
constexpr std::array<std::pair<int, TKeyEvent>, kKeyEventCount> kKeyIds = {{
    {PR_ONKEYDOWN, TKeyEvent::Down},
    {PR_ONKEYUP, TKeyEvent::Up},
    {PR_ONKEYREPEAT, TKeyEvent::Repeat},
    {PR_ONFOCUSIN, TKeyEvent::FocusIn},
    {PR_ONFOCUSOUT, TKeyEvent::FocusOut},
}};

}  // namespace

void TTovaControl::GetProp(int id, TCustomParam& result) const {
    for (const auto& [eventId, event] : kMouseIds)
        if (eventId == id) return result.SetStr(MouseText(event));
    for (const auto& [eventId, event] : kKeyIds)
        if (eventId == id) return result.SetStr(KeyText(event));
    switch (id) {
        case PR_LEFT:
            return result.SetInt(Left);
        case PR_TOP:
            return result.SetInt(Top);
        case PR_WIDTH:
        case PR_ORIGWIDTH:
            return result.SetInt(Width);
        case PR_HEIGHT:
        case PR_ORIGHEIGHT:
            return result.SetInt(Height);
        case PR_ZOOMX:
            return result.SetInt(ZoomX());
        case PR_ZOOMY:
            return result.SetInt(ZoomY());
        case PR_FLIPH:
            return result.SetBool(FlipH());
        case PR_FLIPV:
            return result.SetBool(FlipV());
        case PR_SCROLLX:
            return result.SetInt(ScrollX());
        case PR_SCROLLY:
            return result.SetInt(ScrollY());
        case PR_COLOR:
            return result.SetInt(Color);
        case PR_OFFSETX:
            return result.SetInt(OffsetX);
        case PR_OFFSETY:
            return result.SetInt(OffsetY);
        case PR_VISIBLE:
            return result.SetBool(Visible);
        case PR_IGNOREMOUSE:
            return result.SetInt(IgnoreMouse);
        case PR_CURSOR:
            return result.SetStr(Cursor);
        case PR_POSZOOMED:
            return result.SetBool(PosZoomed);
        case PR_CLIPLEFT:
            return result.SetInt(ClipLeft);
        case PR_CLIPTOP:
            return result.SetInt(ClipTop);
        case PR_CLIPWIDTH:
            return result.SetInt(ClipWidth);
        case PR_CLIPHEIGHT:
            return result.SetInt(ClipHeight);
        case PR_PLUSX:
            return result.SetInt(PlusX);
        case PR_PLUSY:
            return result.SetInt(PlusY);
        case PR_ANIPAUSED:
            return result.SetBool(AniPaused);
        case PR_HANDLEKEY:
            return result.SetBool(HandleKey);
        case PR_PLAYING:
            return result.SetBool(MotionRunning());
        case PR_PARENT: {
            // A layer parent is named as lookups understand it: relative to the
            // current layer.
            if (!parent_) return result.SetStr({});
            const TTovaBase* layer = parent_->GetLayer();
            if (layer == parent_ && Screen)
                return result.SetStr(layer == &Screen->CurrentLayer() ? "\x01"
                                                                        "BASE0"
                                                                      : "\x01"
                                                                        "BASE1");
            return result.SetStr(parent_->Name);
        }
        default:
            return TTovaObject::GetProp(id, result);
    }
}

void TTovaControl::SetProp(int id, const TCustomParam& value) {
    for (const auto& [eventId, event] : kMouseIds)
        if (eventId == id) {
            MouseText(event) = value.GetStr();
            return;
        }
    for (const auto& [eventId, event] : kKeyIds)
        if (eventId == id) {
            KeyText(event) = value.GetStr();
            return;
        }
    switch (id) {
        case PR_LEFT:
            return SetLeft(value.GetInt());
        case PR_TOP:
            return SetTop(value.GetInt());
        case PR_WIDTH:
            return SetWidth(value.GetInt());
        case PR_HEIGHT:
            return SetHeight(value.GetInt());
        case PR_COLOR:
            return SetColor(value.GetInt());
        case PR_OFFSETX:
            return SetOffset(value.GetInt(), OffsetY);
        case PR_OFFSETY:
            return SetOffset(OffsetX, value.GetInt());
        case PR_VISIBLE:
            return SetVisible(value.GetBool());
        case PR_IGNOREMOUSE:
            IgnoreMouse = static_cast<uint8_t>(value.GetInt());
            return;
        case PR_CURSOR:
            Cursor = value.GetStr();
            return;
        case PR_POSZOOMED:
            if (value.GetBool() == PosZoomed) return;
            Invalidate();
            PosZoomed = value.GetBool();
            Invalidate();
            return;
        case PR_CLIPLEFT:
            return SetClip(value.GetInt(), ClipTop, ClipWidth, ClipHeight);
        case PR_CLIPTOP:
            return SetClip(ClipLeft, value.GetInt(), ClipWidth, ClipHeight);
        case PR_CLIPWIDTH:
            return SetClip(ClipLeft, ClipTop, value.GetInt(), ClipHeight);
        case PR_CLIPHEIGHT:
            return SetClip(ClipLeft, ClipTop, ClipWidth, value.GetInt());
        case PR_PLUSX:
            return SetPlus(value.GetInt(), PlusY);
        case PR_PLUSY:
            return SetPlus(PlusX, value.GetInt());
        case PR_ANIPAUSED:
            AniPaused = value.GetBool();
            return;
        case PR_HANDLEKEY:
            HandleKey = value.GetBool();
            if (Screen) Screen->MarkFocusDirty();
            return;
        default:
            return TTovaObject::SetProp(id, value);
    }
}

}  // namespace tova
