// The checks of one script page (see lint_page.h).
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include "sdk/lint/lint_page.h"

#include <algorithm>
#include <optional>
#include <set>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "engine/command_archive.h"
#include "engine/command_names.h"
#include "engine/page.h"
#include "expr/ope_data.h"
#include "expr/param_var.h"
#include "expr/property_names.h"
#include "expr/script_constants.h"
#include "expr/sys_function_table.h"
#include "sdk/lint/near_name.h"
#include "sdk/script_compiler.h"
#include "sdk/script_fields.h"

namespace tova::sdk {
namespace {

constexpr size_t kMaxExtensionLength = 4;

std::string Lower(std::string_view cp932) {
    return SjisLowerCase(cp932);
}

std::string Utf8(std::string_view cp932) {
    return Cp932ToUtf8(cp932);
}

// A virtual name as the player looks it up: '\' between folders.
std::string VirtualName(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

bool HasExtension(std::string_view name) {
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of('\\');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) return false;
    const std::string_view ext = name.substr(dot + 1);
    return !ext.empty() && ext.size() <= kMaxExtensionLength &&
           std::all_of(ext.begin(), ext.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

// A name an expression can refer to: a letter, '_' or a double-byte
// character first, then also digits.
bool IsVariableName(std::string_view name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (size_t pos = 0; pos < name.size(); pos += SjisCharLength(name, pos)) {
        const char c = name[pos];
        const bool word =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!word && SjisCharLength(name, pos) == 1) return false;
    }
    return true;
}

bool IsTemporary(std::string_view name) {
    return name.starts_with(kTemporaryPrefix);
}

// The string an expression always yields, when it is a constant string.
std::optional<std::string> ConstantString(const TTovaParser& parser) {
    std::map<std::string, std::string, std::less<>> known;
    for (const auto& record : parser.Records()) {
        if (record->Op != ocTo || record->OperandCount() != 1) continue;
        const TCustomParam& operand = record->Operand(0);
        if (operand.StoredType() == PT_STR) {
            known[record->Target] = operand.GetStr();
        } else if (operand.StoredType() == PT_NONE) {
            const auto found = known.find(static_cast<const TParamVar&>(operand).TargetName);
            if (found != known.end()) known[record->Target] = found->second;
        }
    }
    const auto result = known.find(kResultTemporary);
    return result == known.end() ? std::nullopt : std::optional<std::string>(result->second);
}

// The commands that leave the page or the game whatever happens.
bool AlwaysLeaves(const TSourceCommand& command) {
    if (command.Disabled != 0) return false;
    const bool conditional = std::any_of(command.Fields.begin(), command.Fields.end(),
                                         [](const TSourceField& f) { return f.Name == "Condition"; });
    switch (command.Code) {
        case TCommandCode::Jump:
        case TCommandCode::Exit:
            return !conditional;
        case TCommandCode::Terminate:
            return true;
        default:
            return false;
    }
}

// Commands that stand where a block ends or a jump may land.
bool MayBeReachedOtherwise(TCommandCode code) {
    return code == TCommandCode::Label || code == TCommandCode::Else || code == TCommandCode::Elseif ||
           code == TCommandCode::WhileLoop || code == TCommandCode::Comment;
}

class TPageLinter {
public:
    TPageLinter(const std::string& display, const TScriptSource& source, const TLintGame& game,
                TLintReport& report)
        : display_(display), source_(source), game_(game), report_(report) {}

    void Run() {
        for (const TSourceCommand& command : source_.Commands)
            if (command.Code == TCommandCode::Label) labels_.push_back(command.Name);
        for (size_t i = 0; i < source_.Commands.size(); ++i)
            CheckCommand(source_.Commands[i]);
        CheckBlocks();
        CheckReachable();
    }

private:
    void Error(int line, const std::string& utf8) { report_.Add(TLintSeverity::Error, display_, line, utf8); }
    void Warning(int line, const std::string& utf8) {
        report_.Add(TLintSeverity::Warning, display_, line, utf8);
    }

    void CheckCommand(const TSourceCommand& command) {
        switch (command.Code) {
            case TCommandCode::Jump:
            case TCommandCode::Call:
            case TCommandCode::PCReset:
            case TCommandCode::Reset:
            case TCommandCode::GameSave:
                if (!command.PageName.empty()) CheckPage(command.PageName, command.Line);
                if (command.JumpTarget && command.JumpTarget->Label) CheckLabel(*command.JumpTarget);
                break;
            default:
                break;
        }
        if (command.Code == TCommandCode::VarNew && !IsVariableName(command.Name))
            Error(command.Line, "no expression can name the variable \"" + Utf8(command.Name) +
                                    "\": a name begins with a letter or _ and holds letters, digits and _");
        if (command.Code == TCommandCode::Call && !command.ResultVar.empty())
            CheckVariable(command.ResultVar.substr(0, command.ResultVar.find('[')), command.Line);
        if (command.Code == TCommandCode::GetProp && !command.Name.empty())
            CheckVariable(command.Name.substr(0, command.Name.find('[')), command.Line);
        CheckFieldNames(command);
        for (const TSourceField& field : command.Fields) {
            CheckExpression(field.Value, field.Line);
            CheckNamedFile(field);
        }
    }

    void CheckFieldNames(const TSourceCommand& command) {
        TPage page;
        const std::unique_ptr<TCommand> shape = CreateCommand(page, static_cast<uint8_t>(command.Code));
        const bool component = IsComponentCode(command.Code);
        std::vector<std::string> names;
        for (const TExpressionField& field : DescribeExpressions(*shape))
            names.emplace_back(field.Name);
        for (const TSourceField& field : command.Fields) {
            const bool property = PropertyIdOfName(field.Name).has_value();
            if (property && !component)
                Error(field.Line, "only component commands take properties: " + field.Name);
            if (property || std::find(names.begin(), names.end(), field.Name) != names.end()) continue;
            std::vector<std::string> near = names;
            for (int id = 0; component && id < kComponentPropertyCount; ++id)
                near.emplace_back(PropertyName(id));
            Error(field.Line, std::string(CommandScriptName(command.Code)) + " has no field " + field.Name +
                                  DidYouMean(field.Name, near));
        }
    }

    // A file or page name: the file should exist (the player goes on past a
    // missing one, so it is a warning); a name that differs only in letter
    // case works, since the player ignores case, but is named.
    bool CheckName(const std::string& written, int line, std::string_view what) {
        const std::string name = VirtualName(written);
        const auto found = game_.Files.find(Lower(name));
        if (found == game_.Files.end()) {
            std::vector<std::string> names;
            for (const std::string& candidate : game_.FileNames)
                names.push_back(Utf8(candidate));
            Warning(line, "no " + std::string(what) + " \"" + Utf8(written) + "\" in the game" +
                              DidYouMean(Utf8(name), names));
            return false;
        }
        if (found->second != name)
            Warning(line, "\"" + Utf8(written) + "\" differs in letter case from the file \"" +
                              Utf8(found->second) + "\"");
        return true;
    }

    void CheckPage(const std::string& name, int line) { CheckName(name, line, "page"); }

    void CheckLabel(const TSourceTarget& target) {
        if (std::find(labels_.begin(), labels_.end(), *target.Label) != labels_.end()) return;
        std::vector<std::string> names;
        for (const std::string& label : labels_)
            names.push_back(Utf8(label));
        Error(target.Line, "no label \"" + Utf8(*target.Label) + "\" in this page" +
                               DidYouMean(Utf8(*target.Label), names));
    }

    // An expression that names an undeclared variable stops where it reads
    // it, and a result stored into one is dropped: a warning, since the
    // player defines what happens.
    void CheckVariable(const std::string& name, int line) {
        if (name.empty() || IsTemporary(name)) return;
        if (game_.Variables.count(Lower(name))) {
            // Only a variable keeps a constant's name in a compiled expression.
            if (const std::optional<int32_t> value = ScriptConstant(name);
                value && shadowReported_.insert(Lower(name)).second)
                Warning(line, "the variable " + Utf8(name) + " has the name of a constant (" +
                                  std::to_string(*value) +
                                  "); the variable wins: rename it to use the constant");
            return;
        }
        if (!reported_.insert(Lower(name)).second) return;
        std::vector<std::string> names;
        for (const std::string& declared : game_.VariableNames)
            names.push_back(Utf8(declared));
        // A misspelt constant: the constants of its family are the near names.
        ForEachScriptConstant([&](std::string_view constant, int32_t) {
            if (name.size() > 3 && constant.starts_with(std::string_view(name).substr(0, 3)))
                names.emplace_back(constant);
        });
        Warning(line, "the variable " + Utf8(name) +
                          " is never declared (in project.ini, or by VarNew, scope=status included)" +
                          DidYouMean(Utf8(name), names));
    }

    void CheckExpression(const TTovaParser& parser, int line) {
        std::map<std::string, std::string, std::less<>> constants;
        for (const auto& record : parser.Records()) {
            if (!record->Target.empty() && record->Op == ocTo) CheckVariable(record->Target, line);
            for (const TParamVar* reference : record->References())
                CheckVariable(reference->TargetName, line);
            if (record->Op == ocTo && record->OperandCount() == 1 &&
                record->Operand(0).StoredType() == PT_STR)
                constants[record->Target] = record->Operand(0).GetStr();
            if (record->Op == ocFunc && record->OperandCount() > 0 && record->References().size() > 0 &&
                &record->Operand(0) == record->References()[0] && record->FunctionId < kSysFunctionCount) {
                const std::string_view function = SysFunctionInfo(record->FunctionId).Name;
                if (function != "DBLoadTsvFile" && function != "LoadTextFile") continue;
                const auto found = constants.find(record->References()[0]->TargetName);
                if (found != constants.end()) CheckName(found->second, line, "data file");
            }
        }
    }

    // Properties that name a file (…SOURCE) or an event handler page (ON…).
    void CheckNamedFile(const TSourceField& field) {
        if (!field.Name.starts_with("PR_")) return;
        const std::optional<std::string> value = ConstantString(field.Value);
        if (!value || value->empty()) return;
        if (field.Name.starts_with("PR_ON"))
            CheckPage(*value, field.Line);
        else if (field.Name.ends_with("SOURCE") && HasExtension(VirtualName(*value)))
            CheckName(*value, field.Line, "data file");
    }

    // Else and Elseif continue an If at their own depth; Break and Continue
    // outside every While end the page instead (which the player allows).
    void CheckBlocks() {
        const auto& commands = source_.Commands;
        for (size_t i = 0; i < commands.size(); ++i) {
            const TSourceCommand& command = commands[i];
            const std::string name(CommandScriptName(command.Code));
            if (command.Code == TCommandCode::Else || command.Code == TCommandCode::Elseif) {
                const TSourceCommand* before = nullptr;
                for (size_t j = i; j-- > 0 && !before;)
                    if (commands[j].Indent <= command.Indent && commands[j].Code != TCommandCode::Comment)
                        before = &commands[j];
                if (!before || before->Indent != command.Indent ||
                    (before->Code != TCommandCode::If && before->Code != TCommandCode::Elseif))
                    Error(command.Line, name + " without an If or Elseif before it at the same depth");
            } else if ((command.Code == TCommandCode::Break || command.Code == TCommandCode::Continue) &&
                       !InsideWhile(i)) {
                Warning(command.Line, name + " outside every While ends the page");
            }
        }
    }

    bool InsideWhile(size_t index) const {
        int32_t depth = source_.Commands[index].Indent;
        for (size_t j = index; j-- > 0 && depth > 0;) {
            const TSourceCommand& before = source_.Commands[j];
            if (before.Indent >= depth) continue;
            if (before.Code == TCommandCode::While) return true;
            depth = before.Indent;
        }
        return false;
    }

    void CheckReachable() {
        const auto& commands = source_.Commands;
        for (size_t i = 0; i + 1 < commands.size(); ++i) {
            if (!AlwaysLeaves(commands[i])) continue;
            const TSourceCommand& next = commands[i + 1];
            if (next.Indent < commands[i].Indent || MayBeReachedOtherwise(next.Code)) continue;
            Warning(next.Line, "unreachable: the " + std::string(CommandScriptName(commands[i].Code)) +
                                   " on line " + std::to_string(commands[i].Line) + " always leaves");
        }
    }

    std::string display_;
    const TScriptSource& source_;
    const TLintGame& game_;
    TLintReport& report_;
    std::vector<std::string> labels_;
    std::set<std::string> reported_;
    std::set<std::string> shadowReported_;
};

}  // namespace

void TLintGame::AddFile(const std::string& name) {
    Files.try_emplace(Lower(name), name);
    FileNames.push_back(name);
}

void TLintGame::AddVariable(const std::string& name) {
    if (Variables.try_emplace(Lower(name), name).second) VariableNames.push_back(name);
}

bool TLintGame::IsVariable(std::string_view name) const {
    const std::string lower = Lower(std::string(name));
    return Variables.count(lower) > 0 || PageVariables.count(lower) > 0;
}

TScriptSource ReadPageSource(const TSourceFile& file, const std::string& text, const TLintGame& game,
                             TLintReport& report, bool& failed) {
    std::vector<TLineError> errors;
    const std::string display = file.HostPath.generic_string();
    TScriptSource source = ParseScriptSource(
        text, display, &errors, [&game](std::string_view name) { return game.IsVariable(name); });
    for (const TLineError& error : errors)
        report.AddError(display, error.Line, error.Message);
    failed = !errors.empty();
    return source;
}

void AddDeclaredVariables(const TScriptSource& source, TLintGame& game) {
    for (const TSourceCommand& command : source.Commands)
        if (command.Code == TCommandCode::VarNew) game.AddVariable(command.Name);
}

void LintPage(const TSourceFile& file, const std::string& text, const TScriptSource& source, bool readFailed,
              const TLintGame& game, TLintReport& report) {
    const std::string display = file.HostPath.generic_string();
    const int before = report.Errors();
    TPageLinter(display, source, game, report).Run();
    if (readFailed || report.Errors() != before) return;
    TPage page;
    page.Name = file.OutputName;
    try {
        CompileScript(text, display, page, [&game](std::string_view name) { return game.IsVariable(name); });
    } catch (const ETovaError& error) {
        report.AddError(display, 0, error.Message());
    }
}

}  // namespace tova::sdk
