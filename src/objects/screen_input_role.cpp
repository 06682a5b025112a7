#include "objects/screen_input_role.h"

#include "objects/tova_base.h"
#include "objects/tova_base_list.h"
#include "objects/tova_control.h"

namespace tova {

bool TScreenInputRole::LClick() {
    return screen_.CurrentLayer().Input.LeftDownNow;
}
void TScreenInputRole::SetLClick(bool value) {
    screen_.CurrentLayer().Input.LeftDownNow = value;
}
bool TScreenInputRole::RClick() {
    return screen_.CurrentLayer().Input.RightDownNow;
}
void TScreenInputRole::SetRClick(bool value) {
    screen_.CurrentLayer().Input.RightDownNow = value;
}
bool TScreenInputRole::LPush() {
    return screen_.CurrentLayer().Input.LeftHeld;
}
bool TScreenInputRole::RPush() {
    return screen_.CurrentLayer().Input.RightHeld;
}
int32_t TScreenInputRole::MouseX() {
    return screen_.MouseX();
}
int32_t TScreenInputRole::MouseY() {
    return screen_.MouseY();
}
void TScreenInputRole::SetMouseX(int32_t x) {
    screen_.MouseMove(x, screen_.MouseY());
}
void TScreenInputRole::SetMouseY(int32_t y) {
    screen_.MouseMove(screen_.MouseX(), y);
}

bool TScreenInputRole::KeyState(TKeyTable table, int virtualKey) {
    const TKeyboardState& keys = screen_.Keyboard();
    switch (table) {
        case TKeyTable::Push:
            return keys.KeyState(virtualKey);
        case TKeyTable::Click:
            // The input stage moved this frame's presses to the "before" table.
            return keys.KeyPressedBefore(virtualKey);
        case TKeyTable::Repeat:
            return keys.RepeatDue(virtualKey);
    }
    return false;
}

bool TScreenInputRole::WheelDown() {
    return screen_.CurrentLayer().Input.WheelDownNow;
}
bool TScreenInputRole::WheelUp() {
    return screen_.CurrentLayer().Input.WheelUpNow;
}

std::string TScreenInputRole::ActiveCompo() {
    const TTovaControl* focus = screen_.Focus();
    return focus ? focus->Name : std::string();
}

void TScreenInputRole::SetActiveCompo(std::string_view name) {
    if (name.empty()) return;
    TTovaControl* control = screen_.FindControl(name);
    if (control && control->HandleKey && control->Visible && control->GetLayer()) screen_.SetFocus(control);
}

}  // namespace tova
