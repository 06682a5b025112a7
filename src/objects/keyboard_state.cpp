#include "objects/keyboard_state.h"

namespace tova {

void TKeyboardState::SetKey(int code, bool down) {
    if (!Valid(code) || down_[Index(code)] == down) return;
    down_[Index(code)] = down;
    if (down) {
        // A key going down is both a down and a repeat for the focus.
        countdown_[Index(code)] = kFirstRepeatMs;
        downFlag_ = true;
        repeatFlag_ = true;
        downList_.push_back(code);
        repeatList_.push_back(code);
    } else {
        upFlag_ = true;
        upList_.push_back(code);
    }
}

void TKeyboardState::SetKeyPressed(int code, bool value) {
    if (Valid(code)) pressed_[Index(code)] = value;
}

void TKeyboardState::ClearKeys() {
    down_ = {};
    pressed_ = {};
    pressedBefore_ = {};
    repeat_ = {};
    repeatBefore_ = {};
    countdown_ = {};
    ClearEvents();
}

void TKeyboardState::BeginFrame() {
    pressedBefore_ = pressed_;
    pressed_ = {};
    repeatBefore_ = repeat_;
    repeat_ = {};
}

void TKeyboardState::ClearEvents() {
    downFlag_ = upFlag_ = repeatFlag_ = false;
    downList_.clear();
    upList_.clear();
    repeatList_.clear();
}

void TKeyboardState::Tick(int32_t frameMs) {
    for (int code = 0; code < kKeyCount; ++code) {
        if (!down_[Index(code)]) continue;
        int32_t& countdown = countdown_[Index(code)];
        countdown -= frameMs;
        if (countdown > 0) continue;
        countdown = countdown < -kFirstRepeatMs ? kRepeatMs : countdown + kRepeatMs;
        repeat_[Index(code)] = true;
        repeatFlag_ = true;
        repeatList_.push_back(code);
    }
}

}  // namespace tova
