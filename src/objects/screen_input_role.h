// The system variables' view of input, answered from the screen: the mouse
// state of the current layer in this frame, the keyboard tables and the
// keyboard focus (@LClick, @MouseX, @KeyPush, @ActiveCompo and the rest).
#pragma once

#include "expr/sys_host.h"

namespace tova {

class TTovaBaseList;

class TScreenInputRole final : public TInputHost {
public:
    explicit TScreenInputRole(TTovaBaseList& screen) : screen_(screen) {}

    // A press that arrived for this frame, on the current layer.
    bool LClick() override;
    void SetLClick(bool value) override;
    bool RClick() override;
    void SetRClick(bool value) override;
    bool LPush() override;
    bool RPush() override;
    int32_t MouseX() override;
    int32_t MouseY() override;
    // There is no system pointer to move here: the screen takes the
    // position as if the pointer had moved there.
    void SetMouseX(int32_t x) override;
    void SetMouseY(int32_t y) override;
    // Push: held; Click: pressed for this frame; Repeat: repeated in this frame.
    bool KeyState(TKeyTable table, int virtualKey) override;
    bool WheelDown() override;
    bool WheelUp() override;
    std::string ActiveCompo() override;
    // Only a visible control that handles keys takes the focus.
    void SetActiveCompo(std::string_view name) override;

private:
    TTovaBaseList& screen_;
};

}  // namespace tova
