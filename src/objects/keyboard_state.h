// The keyboard as the screen keeps it, per virtual-key code 0 .. 255: down,
// pressed this frame, repeat due (300 ms after the key went down, then every
// 50 ms), and the codes that went down, up or repeat since the focused
// control last heard of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tova {

class TKeyboardState {
public:
    static constexpr int32_t kFirstRepeatMs = 300;
    static constexpr int32_t kRepeatMs = 50;
    static constexpr int kKeyCount = 256;

    bool KeyState(int code) const { return Valid(code) && down_[Index(code)]; }
    // Records a key going down or up (nothing when the state is unchanged).
    void SetKey(int code, bool down);
    bool KeyPressed(int code) const { return Valid(code) && pressed_[Index(code)]; }
    bool KeyPressedBefore(int code) const { return Valid(code) && pressedBefore_[Index(code)]; }
    void SetKeyPressed(int code, bool value);
    bool RepeatDue(int code) const { return Valid(code) && repeat_[Index(code)]; }
    void ClearKeys();

    // Start of the input stage: this frame's pressed table becomes the
    // previous frame's, the repeat-due table likewise.
    void BeginFrame();
    // After the focus heard of them: clears the flags and the lists.
    void ClearEvents();
    // End of the input stage: counts down every held key; those due repeat.
    void Tick(int32_t frameMs);

    bool DownFlag() const { return downFlag_; }
    bool UpFlag() const { return upFlag_; }
    bool RepeatFlag() const { return repeatFlag_; }
    const std::vector<int>& DownList() const { return downList_; }
    const std::vector<int>& UpList() const { return upList_; }
    const std::vector<int>& RepeatList() const { return repeatList_; }

private:
    static bool Valid(int code) { return code >= 0 && code < kKeyCount; }
    static size_t Index(int code) { return static_cast<size_t>(code); }

    std::array<bool, kKeyCount> down_{};
    std::array<bool, kKeyCount> pressed_{};
    std::array<bool, kKeyCount> pressedBefore_{};
    std::array<bool, kKeyCount> repeat_{};
    std::array<bool, kKeyCount> repeatBefore_{};
    std::array<int32_t, kKeyCount> countdown_{};
    bool downFlag_ = false;
    bool upFlag_ = false;
    bool repeatFlag_ = false;
    std::vector<int> downList_;
    std::vector<int> upList_;
    std::vector<int> repeatList_;
};

}  // namespace tova
