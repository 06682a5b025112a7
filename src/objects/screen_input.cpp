// The screen's input: the window's events latched between frames, and the
// Input stage that routes the mouse to the control under the pointer (or to
// the one holding a pressed button) and the keys to the focused control.
#include "objects/tova_base_list.h"

namespace tova {

// --- Latches (called by the window between frames) -------------------------

void TTovaBaseList::KeyDown(int keyCode, bool autoRepeat) {
    if (autoRepeat) return;  // the screen times its own repeats
    keyboard_.SetKey(keyCode, true);
    keyboard_.SetKeyPressed(keyCode, true);
}

void TTovaBaseList::KeyUp(int keyCode) {
    keyboard_.SetKey(keyCode, false);
}

void TTovaBaseList::MouseDown(TMouseButton button) {
    TLayerInput& in = CurrentLayer().Input;
    if (button == TMouseButton::Left) {
        in.LeftDownLatch = true;
        in.LeftHeld = true;
    } else if (button == TMouseButton::Right) {
        in.RightDownLatch = true;
        in.RightHeld = true;
    }
}

void TTovaBaseList::MouseUp(TMouseButton button) {
    for (auto& layer : layers_) {
        if (button == TMouseButton::Left) layer->Input.LeftHeld = false;
        if (button == TMouseButton::Right) layer->Input.RightHeld = false;
    }
}

void TTovaBaseList::MouseMove(int32_t x, int32_t y) {
    for (auto& layer : layers_) {
        TLayerInput& in = layer->Input;
        if (in.MouseX == x && in.MouseY == y) continue;
        in.MouseX = x;
        in.MouseY = y;
        in.Moved = true;
    }
}

void TTovaBaseList::Wheel(int32_t steps) {
    TLayerInput& in = CurrentLayer().Input;
    if (steps > 0) in.WheelUpLatch = true;
    if (steps < 0) in.WheelDownLatch = true;
}

// --- The Input stage ----------------------------------------------------------

void TTovaBaseList::Input(int32_t frameMs) {
    ++layoutEpoch_;  // hit testing computes what the controls inherit afresh
    if (focusDirty_) SetFocus(FirstFocusable(CurrentLayer()));
    keyboard_.BeginFrame();
    RouteMouse(CurrentLayer());
    DeliverKeys();
    keyboard_.ClearEvents();
    keyboard_.Tick(frameMs);
}

void TTovaBaseList::DeliverKeys() {
    TTovaControl* focus = Focus();
    if (!focus || !focus->HandleKey) return;
    const TComponentHandle handle = focus->Handle();
    if (keyboard_.DownFlag()) focus->KeyDown(keyboard_.DownList());
    if (keyboard_.RepeatFlag() && Resolve(handle) == focus) focus->KeyRepeat(keyboard_.RepeatList());
    if (keyboard_.UpFlag() && Resolve(handle) == focus) focus->KeyUp(keyboard_.UpList());
}

namespace {

TTovaControl* LiveControl(const TTovaBaseList& screen, TComponentHandle handle) {
    TTovaObject* object = screen.Resolve(handle);
    return object ? object->AsControl() : nullptr;
}

}  // namespace

void TTovaBaseList::RouteMouse(TTovaBase& layer) {
    TLayerInput& in = layer.Input;
    in.LeftDownNow = std::exchange(in.LeftDownLatch, false);
    in.RightDownNow = std::exchange(in.RightDownLatch, false);
    in.WheelDownNow = std::exchange(in.WheelDownLatch, false);
    in.WheelUpNow = std::exchange(in.WheelUpLatch, false);

    // A right press first closes the first open component that closes on one.
    if (in.RightDownNow)
        for (size_t i = 0; i < registry_.Count(); ++i) {
            TTovaControl* control = registry_.At(i).AsControl();
            if (control && control->RightClickScrap() && control->Visible && control->GetLayer() == &layer &&
                !control->Paused() && !control->InCabinet() &&
                (control->IgnoreMouse == IM_NONE || control->IgnoreMouse == IM_LCLICK) &&
                control->CloseByRightClick()) {
                in.RightDownNow = false;
                break;
            }
        }

    // A button pressed on a control keeps the mouse with it until released.
    TTovaControl* captor = LiveControl(*this, in.HoverControl);
    if ((in.Has(TCapture::LeftHeld) || in.Has(TCapture::RightHeld)) && captor) {
        const TComponentHandle handle = captor->Handle();
        if (in.Has(TCapture::LeftHeld) && !in.LeftHeld) captor->MouseLeftUp();
        if (in.Has(TCapture::RightHeld) && !in.RightHeld && LiveControl(*this, handle))
            captor->MouseRightUp();
        if (in.Moved && LiveControl(*this, handle)) captor->MouseMoved();
        if (LiveControl(*this, handle)) captor->CaptureIdle();
        in.Moved = false;
        return;
    }

    TMouseModes modes = TMouseModes::Of({IM_NONE, IM_CLICK, IM_LCLICK, IM_RCLICK});
    if (in.LeftDownNow)
        modes = TMouseModes::Of({IM_NONE, IM_RCLICK});
    else if (in.RightDownNow)
        modes = TMouseModes::Of({IM_NONE, IM_LCLICK});
    TTovaControl* hit = layer.HitTest(in.MouseX, in.MouseY, modes);
    in.Capture = 0;

    const TComponentHandle hitHandle = hit ? hit->Handle() : TComponentHandle{};
    if (hit) {
        in.CursorFile = hit->CursorAt(in.MouseX, in.MouseY);
        if (in.LeftDownNow) {
            hit->MouseLeftDown();
            if (LiveControl(*this, hitHandle) && !hit->Paused() && hit->HandleKey) SetFocus(hit);
        } else if (in.RightDownNow) {
            hit->MouseRightDown();
        } else if (in.WheelDownNow) {
            hit->WheelDown();
        } else if (in.WheelUpNow) {
            hit->WheelUp();
        }
    } else {
        in.CursorFile.clear();
    }

    TTovaControl* previous = LiveControl(*this, in.HoverControl);
    if (previous && previous != hit) previous->MouseOut();
    hit = LiveControl(*this, hitHandle);
    if (hit && (hit != previous || in.Moved)) {
        if (hit != previous) hit->MouseIn();
        hit->MouseMoved();
    }
    in.HoverControl = hit ? hit->Handle() : TComponentHandle{};
    in.Moved = false;
}

}  // namespace tova
