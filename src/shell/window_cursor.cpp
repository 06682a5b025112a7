// Showing a cursor file in the window and stepping its animation.
#include "shell/window_cursor.h"

#include <algorithm>

#include "core/encoding.h"
#include "core/error.h"
#include "platform/clock.h"
#include "platform/sdl/sdl_display.h"
#include "vfs/file_manager.h"

namespace tova {

bool TWindowCursor::ShowFile(std::span<const uint8_t> content, const std::string& name) {
    name_ = name;
    try {
        if (content.empty()) throw ETovaError("the cursor file is empty");
        animation_ = ReadCursorFile(content);
        step_ = 0;
        stepStart_ = SystemTickCount();
        if (ShowFrame(0)) return true;
    } catch (const ETovaError& e) {
        ReportOnce(e.what());
    }
    ShowDefault();
    return false;
}

bool TWindowCursor::Follow(TVrFileManager& files, const std::string& name) {
    if (name == followed_) return followedShows_;
    followed_ = name;
    followedShows_ = false;
    if (name.empty()) {
        ShowDefault();
        return false;
    }
    TTpMemoryStream content;
    try {
        files.LoadToStream(content, name, kMaxCursorFileBytes);
    } catch (const ETovaError&) {
        // Missing or too large: the arrow, as for a control without a cursor.
        ShowDefault();
        return false;
    }
    followedShows_ = ShowFile(content.Bytes(), Cp932ToUtf8(name));
    return followedShows_;
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
    if (!reported_.insert(name_).second || !OnLoadError) return;
    OnLoadError("cursor " + name_ + ": " + message);
}

}  // namespace tova
