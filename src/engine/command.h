// One command of a script page: the type codes, the fields every command
// record carries, the operations through which the interpreter drives a
// command, the running-state header and the factory from the type code.
//
// The command classes of each family are declared in command_flow.h,
// command_component.h and command_media.h. Each states its record's fields
// once, in its Serialize (in the matching .cpp file), which serves reading,
// writing and the SDK's description of the fields; their run-time behaviour (Execute and, for
// the waiting commands, Prepare and Stop) is defined in the family's *_execute.cpp file; one
// without a behaviour of its own keeps the base's: it prepares nothing and moves on.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/stream.h"

namespace tova {

class TCallMan;
class TCommandArchive;
class TPage;

// The type code of a command record (the low seven bits of its first byte).
// The names are the commands' script names.
enum class TCommandCode : uint8_t {
    If = 0,
    Elseif = 1,
    Else = 2,
    Label = 3,
    Jump = 4,
    Call = 5,
    Exit = 6,
    Wait = 7,
    BoxNew = 8,
    ImgNew = 9,
    MesNew = 10,
    Timer = 11,
    Movie = 12,
    Flip = 13,
    Calc = 14,
    VarNew = 15,
    VarDel = 16,
    GetProp = 17,
    SetProp = 18,
    ObjDel = 19,
    TextIns = 20,
    MovieStop = 21,
    ClrHist = 22,
    Cinema = 23,
    Caption = 24,
    Menu = 25,
    MenuClose = 26,
    Comment = 27,
    TextClr = 28,
    CallHist = 29,
    Button = 30,
    While = 31,
    WhileInit = 32,
    WhileLoop = 33,
    Break = 34,
    Continue = 35,
    ParticleNew = 36,
    FireNew = 37,
    GameSave = 38,
    GameLoad = 39,
    PCReset = 40,
    Reset = 41,
    Sound = 42,
    EditNew = 43,
    MemoNew = 44,
    Terminate = 45,
    DoEvent = 46,
    ClrRead = 47,
    MapImgNew = 48,
    WaveNew = 49,
    TileNew = 50,
    SliderNew = 51,
    ScrollbarNew = 52,
    GaugeNew = 53,
    CGCaption = 54,
    MediaPlay = 55,
    PrevMenuNew = 56,
    PropMotion = 57,
    FormatHist = 58,
    SaveCabinet = 59,
    LoadCabinet = 60,
};

constexpr int kCommandCodeCount = 61;
// A property mask: a set of property ids 0..167, bit i in byte i / 8, least
// significant bit first.
constexpr int kPropertyMaskBytes = 21;
// Component commands carry expressions for the property ids 0..162.
constexpr int kComponentPropertyCount = 163;

using TPropertyMask = std::array<uint8_t, kPropertyMaskBytes>;

inline bool MaskHas(const TPropertyMask& mask, int id) {
    return id >= 0 && id < kPropertyMaskBytes * 8 && (mask[static_cast<size_t>(id / 8)] >> (id % 8) & 1) != 0;
}
inline void MaskSet(TPropertyMask& mask, int id) {
    mask[static_cast<size_t>(id / 8)] =
        static_cast<uint8_t>(mask[static_cast<size_t>(id / 8)] | 1 << (id % 8));
}

class TCommand {
public:
    explicit TCommand(TPage& page) : Page(&page) {}
    virtual ~TCommand() = default;
    TCommand(const TCommand&) = delete;
    TCommand& operator=(const TCommand&) = delete;

    virtual TCommandCode GetCode() const = 0;
    // Non-zero Chained: the interpreter goes on to the next command within
    // the same frame.
    virtual bool IsChained() const { return Chained != 0; }
    virtual bool IsDisabled() const { return Disabled != 0; }
    virtual void SetDisabled(bool flag) { Disabled = flag ? 1 : 0; }
    // While the current command has been prepared and this is true, no event
    // is dispatched.
    virtual bool BlocksEvents() const { return false; }
    // Exact, case-sensitive comparison with a label name.
    virtual bool MatchesLabel(std::string_view name) const;
    // Visits the record body (everything after the type byte) in stored
    // order: the common fields, then, in classes with fields of their own,
    // those fields after their base's.
    virtual void Serialize(TCommandArchive& archive);
    // Reads the record body for the owning page's version.
    void LoadFromStream(TStream& stream);
    // Writes the type byte and the record body, exactly as LoadFromStream
    // reads them.
    void SaveToStream(TStream& stream) const;
    // Called once when the command becomes current, before its first Execute.
    virtual void Prepare(TCallMan& callMan);
    // Moves on by setting pc, switches pages by replacing page, ends the page
    // by setting page to null, waits by leaving both unchanged and clearing
    // the call manager's chained flag. The base moves on to the next command.
    virtual void Execute(TCallMan& callMan, TPage*& page, int32_t& pc);
    // The running state of a prepared command inside a saved game.
    virtual void SaveState(TStream& stream) const;
    virtual void LoadState(TStream& stream);
    // Finishes a suspended command at once (a full reset unwinding the stack).
    virtual void Stop(TCallMan& callMan);
    // True for a command that suspends an event handler while it waits.
    virtual bool IsWaitPoint() const { return false; }

    TPage* Page;  // the owning page
    uint8_t Chained = 0;
    uint8_t Disabled = 0;
    int32_t LineId = 0;  // written by the authoring tool, shown in the debug log
    int32_t Indent = 0;  // nesting depth in the page's block structure
};

// Running state: "tova100" followed by the command's own fields.
void WriteStateHeader(TStream& stream);
// Reads the header and returns the state version: the number formed by the
// last three of seven bytes that begin with "tova" (0 when not a number).
// Without the header the stream goes back to where it was and the version is 0.
int32_t ReadStateHeader(TStream& stream);

// A new command of the class for the low seven bits of typeByte, created for
// page (component commands take their property slots from its masks). An
// unknown code raises "不正なコマンド".
std::unique_ptr<TCommand> CreateCommand(TPage& page, uint8_t typeByte);

}  // namespace tova
