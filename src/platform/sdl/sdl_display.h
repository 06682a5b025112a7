// The game's window through SDL2: a resizable window whose client area is
// the game's size times a scale, the composed frame uploaded to one
// streaming texture (only the rectangles that changed) and drawn scaled into
// the window by TScaleMode, centred on black; desktop-sized full screen
// without a mode change; HiDPI drawables; SDL's events translated into
// TInputEvents in game pixels. Frames are 32-bit pixels in the memory order
// B, G, R, X (the top byte is ignored).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/input_event.h"
#include "platform/view_scaling.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

namespace tova {

struct TDisplayOptions {
    std::string TitleUtf8;
    int32_t Width = 640;  // the game's size in pixels
    int32_t Height = 480;
    int32_t Scale = 1;  // the window's first size: the game's size times this
    TScaleMode Mode = TScaleMode::Integer;
    bool FullScreen = false;
    bool Hidden = false;  // for tests: a window that is never shown
};

// A rectangle of the frame to upload (exclusive right and bottom).
struct TDirtyRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// SDL's video held open: taken before the game starts, so that a machine
// without a display is told at once (ETovaError, one line) rather than after
// the game's start page ran.
class TSdlVideo {
public:
    TSdlVideo();
    ~TSdlVideo();
    TSdlVideo(const TSdlVideo&) = delete;
    TSdlVideo& operator=(const TSdlVideo&) = delete;
};

class TSdlDisplay {
public:
    // Opens the window. Throws ETovaError when SDL has no display (the text
    // says so in one line) or the size is refused.
    explicit TSdlDisplay(const TDisplayOptions& options);
    ~TSdlDisplay();
    TSdlDisplay(const TSdlDisplay&) = delete;
    TSdlDisplay& operator=(const TSdlDisplay&) = delete;

    // Uploads the dirty parts of the frame (stride in pixels) and shows it.
    // An empty list uploads nothing but still presents (after a resize).
    // With capture, the picture drawn into the window's viewport is read
    // back from the renderer into it (Viewport().Width x Height pixels, the
    // same B, G, R, X order) before it is shown.
    void Present(const uint32_t* pixels, int32_t stride, std::span<const TDirtyRect> dirty,
                 std::vector<uint32_t>* capture = nullptr);

    // Moves every pending SDL event into events (appended), in game terms.
    // The close button gives Close; key auto-repeat is dropped; Alt+Enter and F11 toggle full screen here
    // and are not passed on.
    void PollEvents(std::vector<TInputEvent>& events);
    // Waits up to timeoutMs for an event (0: returns at once); true when one
    // is pending. The loop sleeps here while nothing animates.
    bool WaitForEvent(int32_t timeoutMs);

    void SetFullScreen(bool on);
    bool IsFullScreen() const { return fullScreen_; }
    // The window's picture was spoilt or resized since the last Present, so
    // a frame without changes must be shown again.
    bool NeedsRepaint() const { return needsRepaint_; }
    // The process was asked to end (a signal such as Ctrl+C): the game ends
    // without a question.
    bool QuitRequested() const { return quitRequested_; }
    void SetTitle(const std::string& titleUtf8);
    // Text input (an input method's composition) is on while an edit
    // component has the focus.
    void SetTextInput(bool on);

    // The pointer's picture over the window: colour rows (0x00RRGGBB) and
    // alpha rows (0..255), strides in elements, the hot spot inside it.
    // False when SDL cannot make the cursor (the previous one stays).
    bool SetCursorImage(const uint32_t* colour, int32_t colourStride, const uint8_t* alpha,
                        int32_t alphaStride, int32_t width, int32_t height, int32_t hotX, int32_t hotY);
    // The system's arrow.
    void SetDefaultCursor();

    // Where the picture is drawn, in drawable pixels.
    TViewport Viewport() const;
    // The window, as the parent of message boxes.
    SDL_Window* Window() const { return window_; }

private:
    void ChooseScaleQuality();
    TInputEvent AtPointer(TInputKind kind, int32_t windowX, int32_t windowY) const;

    TDisplayOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;  // ours, while one is set
    bool fullScreen_ = false;
    // Where a window that covers the display by itself was before.
    struct TWindowedPlace {
        int X = 0, Y = 0, Width = 0, Height = 0;
    } windowed_;
    bool needsRepaint_ = true;
    bool quitRequested_ = false;
};

}  // namespace tova
