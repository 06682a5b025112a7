// A run of the game in a real window: the display opened before the game
// (no display: one clear error), message boxes in the window, the window
// sized to the game once the project is loaded, its frames on the real
// clock, and the end: the close question, the end page, a lost display.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include "engine/player.h"
#include "platform/sdl/sdl_message_box.h"
#include "shell/sdl_game_window.h"
#include "shell/window_options.h"

namespace tova {

class TWindowSession {
public:
    // Opens SDL's video; throws ETovaError (one line: there is no display,
    // --headless plays without one) when it cannot.
    explicit TWindowSession(const TWindowArguments& arguments);
    ~TWindowSession();
    TWindowSession(const TWindowSession&) = delete;
    TWindowSession& operator=(const TWindowSession&) = delete;

    TMessageBoxHost& MessageBox() { return messageBox_; }
    TShellHost& ShellRole() { return shellRole_; }

    // TPlayer::Open, with a failure the user has not been shown yet shown
    // in a message box (and thrown on).
    std::unique_ptr<TPlayer> Open(const TPlayerOptions& options);
    // Opens the window at the game's size and runs the frames until the game
    // ends, the user closes the window or (frames) that many frames ran, then
    // the end page. A display lost
    // on the way writes the status record and ends the process (exit 1).
    // Returns the number of the game's frames (afterFrame as for RunWindowFrames).
    int64_t Run(TPlayer& player, std::optional<int64_t> frames,
                const std::function<void(int64_t frame)>& afterFrame, std::ostream& err);
    // The picture the window shows now, read back from it (the size of the
    // picture in the window: the game's times the scale). Empty before Run.
    TSurface32 ShownPicture();

private:
    // Counts the boxes shown, to tell whether a failure was told already.
    class TCountingMessageBox final : public TMessageBoxHost {
    public:
        TMessageResult Show(std::string_view caption, std::string_view text,
                            TMessageButtons buttons) override {
            ++Shown;
            return Box.Show(caption, text, buttons);
        }
        TSdlMessageBox Box;
        int Shown = 0;
    };

    TWindowArguments arguments_;
    std::unique_ptr<TSdlVideo> video_;
    TCountingMessageBox messageBox_;
    TWindowShellRole shellRole_;
    std::unique_ptr<TSdlDisplay> display_;
};

// Whether the user's language (LC_ALL, LC_MESSAGES or LANG, the first that is
// set) is Japanese.
bool UserLanguageIsJapanese();

}  // namespace tova
