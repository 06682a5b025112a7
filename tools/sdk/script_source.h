// A script source read line by line into its header and commands, before
// labels, loops, masks and targets are worked out (script_compiler.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command.h"
#include "expr/tova_parser.h"
#include "sdk/script_text.h"

namespace tova::sdk {

// One "Name = value" of a command (inline values are stored the same way).
struct TSourceField {
    std::string Name;
    int Line = 0;
    TTovaParser Value;
};

// A Jump, Call, reset or save target: a command index or a label of this page.
struct TSourceTarget {
    int32_t Index = 0;
    std::optional<std::string> Label;
    int Line = 0;
};

struct TSourceCommand {
    int Line = 0;
    int Column = 0;  // written indentation in spaces; field lines go deeper
    TCommandCode Code = TCommandCode::If;
    int32_t Indent = 0;
    uint8_t Chained = 1;
    uint8_t Disabled = 0;
    int32_t LineId = 0;
    std::optional<int32_t> Target;  // [target=N]
    bool NoInit = false;
    bool NoLoop = false;
    std::vector<TSourceField> Fields;
    // What the command line holds besides expressions.
    std::string Name;      // Label, Comment, VarNew, VarDel; GetProp's variable; TextIns's text
    std::string PageName;  // Jump, Call, PCReset, Reset; GameSave's page
    std::optional<TSourceTarget> JumpTarget;
    std::string ResultVar;  // Call
    uint8_t Type = 1;       // VarNew
    uint8_t Scope = 0;      // VarNew
    uint8_t Mode = 0;       // PCReset, Reset
};

struct TScriptSource {
    int32_t Version = 114;
    uint8_t ResultType = 1;
    std::array<std::optional<TPropertyMask>, kCommandCodeCount> Masks;
    std::array<int, kCommandCodeCount> MaskLines{};
    std::vector<TSourceCommand> Commands;
};

// An error of one source line: "NAME:LINE: ..." in code page 932.
struct TLineError {
    int Line = 0;
    std::string Message;
};

// Reads the whole source (UTF-8). Errors are ETovaError "NAME:LINE: ...": the
// first one is thrown, or, with errors, every failing line adds its error
// there and is left out of the result.
// projectVariables names the variables declared outside the source (the
// project's); the source's own VarNew commands count wherever they stand.
TScriptSource ParseScriptSource(std::string_view utf8, std::string_view sourceName,
                                std::vector<TLineError>* errors = nullptr,
                                TVariableTest projectVariables = {});

// The names (folded to lower case, code page 932) that the source's VarNew
// lines declare.
std::set<std::string> DeclaredVariables(std::string_view utf8);

// The names of value types and variable scopes as the language writes them.
std::string TypeName(uint8_t type);
std::string ScopeName(uint8_t scope);

}  // namespace tova::sdk
