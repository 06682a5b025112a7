#include "shell/window_session.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "core/encoding.h"
#include "core/error.h"
#include "core/warning_sink.h"
#include "engine/project.h"
#include "objects/tova_base_list.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/sdl/display_loss.h"
#include "shell/screenshot_file.h"
#include "shell/window_frame_source.h"
#include "vfs/file_manager.h"

namespace tova {

bool UserLanguageIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0]) return std::string_view(value).starts_with("ja");
    }
    return false;
}

TWindowSession::TWindowSession(const TWindowArguments& arguments) : arguments_(arguments) {
    try {
        video_ = std::make_unique<TSdlVideo>();
    } catch (const ETovaError& e) {
        throw ETovaError(std::string(e.what()) + "; --headless plays without one");
    }
}

TWindowSession::~TWindowSession() {
    messageBox_.Box.SetParent(nullptr);
    shellRole_.Attach(nullptr);
}

std::unique_ptr<TPlayer> TWindowSession::Open(const TPlayerOptions& options) {
    const int shownBefore = messageBox_.Shown;
    try {
        return TPlayer::Open(options);
    } catch (const ETovaError& e) {
        if (messageBox_.Shown == shownBefore) messageBox_.Box.Show("警告", e.what(), TMessageButtons::Ok);
        throw;
    }
}

int64_t TWindowSession::Run(TPlayer& player, std::optional<int64_t> frames,
                            const std::function<void(int64_t frame)>& afterFrame, std::ostream& err) {
    const TProject& project = player.Project();
    TDisplayOptions display;
    display.TitleUtf8 = Cp932ToUtf8(project.Title);
    display.Width = project.Width;
    display.Height = project.Height;
    display.Scale = arguments_.Scale;
    display.Mode = arguments_.Mode;
    display.FullScreen = arguments_.FullScreen;
    try {
        display_ = std::make_unique<TSdlDisplay>(display);
    } catch (const ETovaError& e) {
        messageBox_.Box.Show("警告", e.what(), TMessageButtons::Ok);
        throw;
    }
    messageBox_.Box.SetParent(display_->Window());
    WatchDisplayLoss(display_->Window(), [&player, &err] {
        err << "tovaplayer: the display was lost; the game ends\n";
        player.Finish();
    });
    // However the frames end, a display lost afterwards only ends the process.
    struct TUnwatch {
        SDL_Window* Window;
        ~TUnwatch() { WatchDisplayLoss(Window, {}); }
    } unwatch{display_->Window()};

    std::unique_ptr<TInputRecorder> recorder;
    if (arguments_.Record) recorder = std::make_unique<TInputRecorder>(*arguments_.Record);
    TSdlGameWindow window(*display_);
    shellRole_.Attach(&window, &messageBox_, project.Title);
    TSystemMilliseconds milliseconds;
    TWindowSourceOptions options;
    options.Title = project.Title;
    options.PauseWhenInactive = project.PauseWhenInactive != 0;
    options.Japanese = UserLanguageIsJapanese();
    options.MessageBox = &messageBox_;
    options.Recorder = recorder.get();
    options.ScreenshotFolder = ScreenshotFolder();
    options.Log = &err;
    TWindowFrameSource source(window, milliseconds, options);
    window.Cursor().OnLoadError = [&player](const std::string& utf8Message) {
        player.Warnings().Warn(Utf8ToCp932Lossy(utf8Message));
    };
    const auto frameDone = [&](int64_t frame) {
        // The pointer's picture follows the control under it.
        window.Cursor().Follow(player.Files(), player.Screen().CursorFile());
        if (afterFrame) afterFrame(frame);
    };
    const int64_t ran = RunWindowFrames(player, source, frames, frameDone);
    shellRole_.Attach(nullptr);
    return ran;
}

TSurface32 TWindowSession::ShownPicture() {
    if (!display_) return {};
    std::vector<uint32_t> pixels;
    display_->Present(nullptr, 0, {}, &pixels);
    const TViewport view = display_->Viewport();
    TSurface32 picture(view.Width, view.Height);
    for (int32_t y = 0; y < view.Height; ++y)
        std::copy_n(pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(view.Width), view.Width,
                    picture.Row(y));
    return picture;
}

}  // namespace tova
