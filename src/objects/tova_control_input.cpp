// Hit testing and the control's mouse and key handlers, which queue the
// events whose texts are set.
#include <string>

#include "objects/property_ids.h"
#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {

TTovaControl* TTovaControl::HitTest(int32_t x, int32_t y, TMouseModes modes) {
    if (!Visible || !GetBoundsRect().Contains(x, y)) return nullptr;
    TTovaControl* result = modes.Has(IgnoreMouse) ? this : nullptr;
    const auto children = Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if (TTovaControl* hit = (*child)->HitTest(x, y, modes)) return hit;
    return result;
}

TTovaControl* TTovaCabinet::HitTest(int32_t x, int32_t y, TMouseModes modes) {
    if (!Visible) return nullptr;
    const auto children = Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if (TTovaControl* hit = (*child)->HitTest(x, y, modes)) return hit;
    return nullptr;
}

std::string TTovaControl::CursorAt(int32_t, int32_t) const {
    return Cursor;
}

bool TTovaControl::QueueEvent(const std::string& handler, int kind, std::vector<std::string> args) {
    if (handler.empty() || !Screen) return false;
    TTimerData event;
    event.Handler = handler;
    event.Sender = Handle();
    event.Kind = static_cast<uint8_t>(kind);
    event.Args = std::move(args);
    Screen->Events.Add(std::move(event));
    return true;
}

bool TTovaControl::EventWaiting(int kind) const {
    return Screen && Screen->Events.HasPending(Handle(), static_cast<uint8_t>(kind));
}

std::vector<std::string> TTovaControl::PointerArgs() const {
    const TTovaBase* layer = GetLayer();
    if (!layer) return {"0", "0"};
    return {std::to_string(int64_t{layer->Input.MouseX} - ScreenX()),
            std::to_string(int64_t{layer->Input.MouseY} - ScreenY())};
}

void TTovaControl::MouseLeftDown() {
    TTovaBase* layer = GetLayer();
    if (!layer || layer == this) return;
    if (IgnoreMouse != IM_NONE && IgnoreMouse != IM_RCLICK) return;
    if (!Paused() && !EventWaiting(PR_ONLBTNDOWN) && !HandlesMouse()) {
        QueueEvent(MouseText(TMouseEvent::LeftDown), PR_ONLBTNDOWN, PointerArgs());
        layer->Input.Set(TCapture::LeftHeld);
    }
    layer->Input.LeftDownNow = false;
}

void TTovaControl::MouseRightDown() {
    TTovaBase* layer = GetLayer();
    if (!layer || layer == this) return;
    if (IgnoreMouse != IM_NONE && IgnoreMouse != IM_LCLICK) return;
    if (!Paused() && !EventWaiting(PR_ONRBTNDOWN) && !HandlesMouse()) {
        QueueEvent(MouseText(TMouseEvent::RightDown), PR_ONRBTNDOWN, PointerArgs());
        layer->Input.Set(TCapture::RightHeld);
    }
    layer->Input.RightDownNow = false;
}

void TTovaControl::MouseLeftUp() {
    if (!HandlesMouse()) QueueEvent(MouseText(TMouseEvent::LeftUp), PR_ONLBTNUP, PointerArgs());
    if (TTovaBase* layer = GetLayer()) layer->Input.Drop(TCapture::LeftHeld);
}

void TTovaControl::MouseRightUp() {
    if (!HandlesMouse()) QueueEvent(MouseText(TMouseEvent::RightUp), PR_ONRBTNUP, PointerArgs());
    if (TTovaBase* layer = GetLayer()) layer->Input.Drop(TCapture::RightHeld);
}

void TTovaControl::MouseMoved() {
    if (!HandlesMouse() && !EventWaiting(PR_ONMOUSEMOVE))
        QueueEvent(MouseText(TMouseEvent::Move), PR_ONMOUSEMOVE, PointerArgs());
}

void TTovaControl::MouseIn() {
    if (!HandlesMouse() && !EventWaiting(PR_ONMOUSEIN)) QueueEvent(MouseText(TMouseEvent::In), PR_ONMOUSEIN);
}

void TTovaControl::MouseOut() {
    if (!HandlesMouse() && !EventWaiting(PR_ONMOUSEOUT))
        QueueEvent(MouseText(TMouseEvent::Out), PR_ONMOUSEOUT);
}

void TTovaControl::WheelDown() {
    if (!HandlesMouse() && !EventWaiting(PR_ONWHEELDOWN))
        QueueEvent(MouseText(TMouseEvent::WheelDown), PR_ONWHEELDOWN);
}

void TTovaControl::WheelUp() {
    if (!HandlesMouse() && !EventWaiting(PR_ONWHEELUP))
        QueueEvent(MouseText(TMouseEvent::WheelUp), PR_ONWHEELUP);
}

namespace {

std::vector<std::string> KeyArgs(std::span<const int> keys) {
    std::vector<std::string> args;
    args.reserve(keys.size());
    for (int key : keys)
        args.push_back(std::to_string(key));
    return args;
}

}  // namespace

void TTovaControl::KeyDown(std::span<const int> keys) {
    if (Paused() || GetLayer() == this || HandlesMouse() || EventWaiting(PR_ONKEYDOWN)) return;
    QueueEvent(KeyText(TKeyEvent::Down), PR_ONKEYDOWN, KeyArgs(keys));
}

void TTovaControl::KeyUp(std::span<const int> keys) {
    if (Paused() || GetLayer() == this || HandlesMouse() || EventWaiting(PR_ONKEYUP)) return;
    QueueEvent(KeyText(TKeyEvent::Up), PR_ONKEYUP, KeyArgs(keys));
}

void TTovaControl::KeyRepeat(std::span<const int> keys) {
    if (Paused() || GetLayer() == this || HandlesMouse() || EventWaiting(PR_ONKEYREPEAT)) return;
    QueueEvent(KeyText(TKeyEvent::Repeat), PR_ONKEYREPEAT, KeyArgs(keys));
}

}  // namespace tova
