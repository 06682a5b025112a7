// Showing a cursor file in the window and stepping its animation.
#include "shell/window_cursor.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "core/error.h"
#include "platform/clock.h"
#include "platform/sdl/sdl_display.h"

namespace tova {

bool TWindowCursor::ShowFile(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    if (!in.is_open()) {
        ShowDefault();
        return false;
    }
    path_ = hostPath;
    const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        animation_ = ReadCursorFile(data);
        step_ = 0;
        stepStart_ = SystemTickCount();
        if (ShowFrame(0)) return true;
    } catch (const ETovaError& e) {
        ReportOnce(e.what());
    }
    ShowDefault();
    return false;
}

void TWindowCursor::ShowDefault() {
    animation_ = {};
    display_.SetDefaultCursor();
}

void TWindowCursor::Step(uint32_t nowMs) {
    if (animation_.Sequence.size() < 2 || step_ >= animation_.Jiffies.size()) return;
    // A jiffy is 1/60 s; a step of no length lasts one jiffy.
    const uint32_t length = static_cast<uint32_t>(std::max(1, animation_.Jiffies[step_])) * 1000 / 60;
    if (nowMs - stepStart_ < length) return;
    stepStart_ = nowMs;
    step_ = (step_ + 1) % animation_.Sequence.size();
    try {
        if (ShowFrame(step_)) return;
    } catch (const ETovaError& e) {
        ReportOnce(e.what());
    }
    ShowDefault();
}

bool TWindowCursor::ShowFrame(size_t step) {
    if (step >= animation_.Sequence.size()) return false;
    const TCursorImage image = animation_.DecodeFrame(animation_.Sequence[step]);
    return display_.SetCursorImage(image.Colour.Data(), image.Colour.Stride(), image.Alpha.Data(),
                                   image.Alpha.Stride(), image.Colour.Width(), image.Colour.Height(),
                                   image.HotX, image.HotY);
}

void TWindowCursor::ReportOnce(const std::string& message) {
    if (!reported_.insert(path_).second) return;
    const std::string text = "cursor " + path_ + ": " + message;
    if (OnLoadError)
        OnLoadError(text);
    else
        std::cerr << text << "\n";
}

}  // namespace tova
