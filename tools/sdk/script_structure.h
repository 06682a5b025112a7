// The loop structure of a flat command list, read from the codes and Indents
// alone: which WhileInit and WhileLoop belong to each While, and the targets
// an authoring tool writes for While, WhileLoop, Break and Continue. The
// compiler writes these targets unless the source gives others, and the
// decompiler prints a target only where it differs from them.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/command.h"

namespace tova::sdk {

struct TCommandShape {
    TCommandCode Code;
    int32_t Indent;
};

struct TLoopStructure {
    // Indexed by command; meaningful for While commands, -1 where none.
    std::vector<int32_t> Init;     // the WhileInit right before it at its Indent
    std::vector<int32_t> Loop;     // the WhileLoop right after its body at its Indent
    std::vector<int32_t> BodyEnd;  // the first command after its body (the count at the end)
    // The computed target of While (ExitTarget), WhileLoop (LoopTarget),
    // Break and Continue (Target); 0 for other commands.
    std::vector<int32_t> Target;
};

// The stored loop target of a command: While's ExitTarget, WhileLoop's
// LoopTarget, the Target of Break and Continue; null for any other command.
int32_t* LoopTargetField(TCommand& command);
const int32_t* LoopTargetField(const TCommand& command);

// The body of a While is the run of following commands with a greater
// Indent. While: exit to the command after its WhileLoop (after the body when
// it has none). WhileLoop: back to its While (0 when it belongs to none).
// Break: the innermost enclosing While's exit; Continue: its WhileLoop, or the
// While itself when it has none; both -1 (the page ends) outside any loop.
TLoopStructure AnalyzeLoops(const std::vector<TCommandShape>& shapes);

// A command as the source writes it, with the While attributes that refuse
// the added loop records.
struct TWrittenShape {
    TCommandShape Shape;
    bool NoInit = false;
    bool NoLoop = false;
};

// One command of the page the compiler makes: a written one, or a WhileInit
// or WhileLoop added for the While Owner (both indexes into the written list).
struct TPlannedCommand {
    int32_t Written = -1;  // -1 for an added record
    int32_t Owner = -1;
    TCommandShape Shape;
};

// The written commands with a WhileInit added before every While that has
// none right before it and a WhileLoop after every body that has none right
// after it (unless refused); loops that end at one place close innermost first.
std::vector<TPlannedCommand> PlanLoopRecords(const std::vector<TWrittenShape>& written);

}  // namespace tova::sdk
