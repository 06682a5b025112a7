// What the system variables and built-in functions need from the layers
// above the expressions, as one small interface per owner: the running
// script (engine), input and focus (objects), components (objects), the
// message history (text), sound and MIDI (media), and display modes, full
// screen, the desktop and dialogs (shell). Each owner implements its role;
// TSysHost is the set of them the player fills in once. Every method has a
// default that answers as a player without that part would (false, 0, -1,
// empty, nothing found), and a role left empty answers with the defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"

namespace tova {

class TCustomParam;

// The per-item states of a component that scripts read and write.
enum class TItemFlag { Check, Enabled, Visible, Selected };

// Which of the three key tables a read asks for.
enum class TKeyTable { Push, Click, Repeat };

// The answers to "a file of that name exists: overwrite?".
enum class TOverwriteAnswer { Yes, No, Cancel, NoToAll, YesToAll };

struct TDisplayMode {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Depth = 0;
    int32_t Refresh = 0;
};

struct TComponentEntry {
    std::string Name;
    int Type = 0;  // the component type code (LT_...)
};

struct TSaveCaption {
    int32_t Slot = 0;
    std::string Caption;
};

// What a screen capture request asks for.
struct TSaveScreenRequest {
    std::string Name;  // "mem:...", "save:..." or a file of the save folder
    int32_t Width = 0;
    int32_t Height = 0;
    bool Back = false;  // capture the other base of the pair
    int32_t Mode = 0;
};

// The running script, the clocks and the project: the engine.
class TScriptHost {
public:
    virtual ~TScriptHost();
    // The call stack: the result value of the top frame (null with an empty
    // stack), the arguments of the current call and the sender of its event.
    virtual TCustomParam* ResultValue() { return nullptr; }
    virtual int ParamCount() { return 0; }
    virtual std::string ParamStr(int /*index 0 .. ParamCount - 1*/) { return {}; }
    virtual std::string Sender() { return {}; }
    // Clocks: the player's own tick counter (the clock of timers), the
    // system's millisecond counter, frames since start, and the local time.
    virtual int32_t TickCount() { return 0; }
    virtual int32_t PCTickCount() { return static_cast<int32_t>(SystemTickCount()); }
    virtual int32_t UpdateCount() { return 0; }
    virtual TLocalDateTime Now() { return LocalNow(); }
    // The project.
    virtual std::string Title() { return {}; }
    virtual int32_t ScreenWidth() { return 0; }
    virtual int32_t ScreenHeight() { return 0; }
    // Save slots.
    virtual std::string SaveCaption(int32_t /*slot*/) { return {}; }
    // The slots that have a caption, in slot order.
    virtual std::vector<TSaveCaption> SaveCaptions() { return {}; }
    // The folder save.dat is in (code page 932, ending in a delimiter);
    // empty when there is none.
    virtual std::string SaveFolder() { return {}; }
};

// Pointer, buttons, keys, wheel and focus on the current base, this frame:
// the screen.
class TInputHost {
public:
    virtual ~TInputHost();
    virtual bool LClick() { return false; }
    virtual void SetLClick(bool) {}
    virtual bool RClick() { return false; }
    virtual void SetRClick(bool) {}
    virtual bool LPush() { return false; }
    virtual bool RPush() { return false; }
    virtual int32_t MouseX() { return 0; }
    virtual int32_t MouseY() { return 0; }
    // Moves the system pointer to x (or y) in the client coordinates of the view.
    virtual void SetMouseX(int32_t) {}
    virtual void SetMouseY(int32_t) {}
    virtual bool KeyState(TKeyTable, int /*virtualKey 0..255*/) { return false; }
    virtual bool WheelDown() { return false; }
    virtual bool WheelUp() { return false; }
    virtual std::string ActiveCompo() { return {}; }
    // Gives the focus to the named component when it exists and can take it.
    virtual void SetActiveCompo(std::string_view) {}
};

// Components, found by name on the screen: the screen and its components.
class TComponentHost {
public:
    // Component type codes the functions treat specially.
    static constexpr int kPrevMenuType = 25;
    static constexpr int kLastComponentType = 27;

    virtual ~TComponentHost();
    // Empty when none has the name.
    virtual std::optional<int> ComponentType(std::string_view) { return std::nullopt; }
    // Property access by property id (0..162) of an existing component: the
    // getter stores into result converted to result's type.
    virtual void GetProperty(std::string_view /*compo*/, int /*id*/, TCustomParam& /*result*/) {}
    // False when the component does not take the property (it holds no such
    // property, or it is read-only): the value is dropped.
    virtual bool SetProperty(std::string_view /*compo*/, int /*id*/, const TCustomParam& /*value*/) {
        return false;
    }
    virtual std::optional<bool> GetItemFlag(std::string_view, TItemFlag, int /*item*/) {
        return std::nullopt;
    }
    virtual void SetItemFlag(std::string_view, TItemFlag, int /*item*/, bool) {}
    virtual std::optional<int32_t> GetGroupIndex(std::string_view, int /*item*/) { return std::nullopt; }
    // The screen position of the component's client origin.
    virtual std::optional<std::pair<int32_t, int32_t>> ScreenOrigin(std::string_view) { return std::nullopt; }
    // The component's item text (menu items, one per line).
    virtual std::optional<std::string> ItemText(std::string_view) { return std::nullopt; }
    // Inside a cabinet component, at any parent level.
    virtual bool InCabinet(std::string_view) { return false; }
    // On the current base and not inside a cabinet.
    virtual bool InPrimary(std::string_view) { return false; }
    // Every component on the screen, in screen order.
    virtual std::vector<TComponentEntry> ScreenComponents() { return {}; }
    // The direct children of the named component; empty when it does not exist.
    virtual std::optional<std::vector<TComponentEntry>> ChildComponents(std::string_view) {
        return std::nullopt;
    }
    // Captures and writes the screen; true when written.
    virtual bool SaveScreen(const TSaveScreenRequest&) { return false; }
};

// The message history: the default one, and those of the history formats
// by name (-1 and false when no such format exists).
class THistoryHost {
public:
    virtual ~THistoryHost();
    virtual int32_t DefaultHistoryCount() { return 0; }
    virtual int32_t DefaultHistoryMaxCount() { return 0; }
    virtual void SetDefaultHistoryMaxCount(int32_t) {}
    virtual int32_t HistoryCount(std::string_view) { return -1; }
    virtual int32_t HistoryMaxCount(std::string_view) { return -1; }
    virtual bool SetHistoryMaxCount(std::string_view, int32_t) { return false; }
};

// Sound output and MIDI: the media managers.
class TSoundHost {
public:
    virtual ~TSoundHost();
    virtual bool SoundOn() { return false; }
    virtual void SetSoundOn(bool) {}
    virtual std::string MidiPort() { return {}; }
    virtual void SetMidiPort(std::string_view) {}
    virtual std::vector<std::string> MidiPorts() { return {}; }
};

// The display, the desktop and the system dialogs: the shell.
class TShellHost {
public:
    virtual ~TShellHost();
    virtual std::vector<std::string> FontNames(bool /*fixedPitchOnly*/) { return {}; }
    virtual bool FullScreen() { return false; }
    virtual void SetFullScreen(bool) {}
    virtual bool CGDither() { return false; }
    virtual void SetCGDither(bool) {}
    virtual std::vector<TDisplayMode> DisplayModes() { return {}; }
    virtual int32_t DisplayModeIndex() { return -1; }
    // Selects the mode and applies the screen mode again.
    virtual void SetDisplayModeIndex(int32_t) {}
    // Writes the layered image (or the current screen for an empty name) as
    // the wallpaper with the given style; true on success.
    virtual bool SetWallPaper(std::string_view /*image*/, int32_t /*style*/) { return false; }
    virtual void OpenUrl(std::string_view) {}
    // The chosen file or folder, empty when cancelled.
    virtual std::optional<std::string> SelectOpenFile(std::string_view /*filter*/) { return std::nullopt; }
    virtual std::optional<std::string> SelectSaveFile(std::string_view /*filter*/) { return std::nullopt; }
    virtual std::optional<std::string> SelectDirectory() { return std::nullopt; }
    // The folder of the save file (a program path ending in a delimiter),
    // empty when there is none.
    virtual std::string SaveFolder() { return {}; }
    // Asks whether an existing file is to be overwritten; manyFiles offers
    // Cancel and the "to all" answers too. Without a person to ask, nothing
    // is overwritten.
    virtual TOverwriteAnswer AskOverwrite(std::string_view /*message*/, bool /*manyFiles*/) {
        return TOverwriteAnswer::No;
    }
};

// The roles the system functions reach, not owned; an empty one answers
// with its defaults.
struct TSysHost {
    TScriptHost* ScriptRole = nullptr;
    TInputHost* InputRole = nullptr;
    TComponentHost* ComponentRole = nullptr;
    THistoryHost* HistoryRole = nullptr;
    TSoundHost* SoundRole = nullptr;
    TShellHost* ShellRole = nullptr;

    TScriptHost& Script() const;
    TInputHost& Input() const;
    TComponentHost& Components() const;
    THistoryHost& History() const;
    TSoundHost& Sound() const;
    TShellHost& Shell() const;
};

}  // namespace tova
