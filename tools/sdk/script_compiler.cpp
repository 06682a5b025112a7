// From the read source to the page: the loop records the source leaves out,
// the labels, the property masks, the computed targets, and every command's
// fields.
#include "sdk/script_compiler.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "core/error.h"
#include "engine/command_component.h"
#include "engine/command_media.h"
#include "engine/command_versions.h"
#include "expr/property_names.h"
#include "sdk/lint/near_name.h"
#include "sdk/script_fields.h"
#include "sdk/script_inline.h"
#include "sdk/script_source.h"
#include "sdk/script_structure.h"
#include "sdk/script_text.h"

namespace tova::sdk {
namespace {

size_t At(int32_t index) {
    return static_cast<size_t>(index);
}

std::vector<TCommandShape> ShapesOf(const std::vector<TSourceCommand>& commands) {
    std::vector<TCommandShape> shapes;
    shapes.reserve(commands.size());
    for (const TSourceCommand& command : commands)
        shapes.push_back({command.Code, command.Indent});
    return shapes;
}

// The written commands with the loop records the source leaves out.
std::vector<TSourceCommand> AddLoopRecords(std::vector<TSourceCommand> commands) {
    std::vector<TWrittenShape> written;
    std::vector<std::pair<int, int>> places;  // line and column, kept apart from the moved commands
    written.reserve(commands.size());
    for (const TSourceCommand& command : commands) {
        written.push_back({{command.Code, command.Indent}, command.NoInit, command.NoLoop});
        places.emplace_back(command.Line, command.Column);
    }
    std::vector<TSourceCommand> out;
    out.reserve(commands.size());
    for (const TPlannedCommand& planned : PlanLoopRecords(written)) {
        if (planned.Written >= 0) {
            out.push_back(std::move(commands[At(planned.Written)]));
            continue;
        }
        TSourceCommand added;
        std::tie(added.Line, added.Column) = places[At(planned.Owner)];
        added.Code = planned.Shape.Code;
        added.Indent = planned.Shape.Indent;
        out.push_back(std::move(added));
    }
    return out;
}

// The names a field line of a command may use.
std::vector<std::string> FieldNames(const std::vector<TFieldSlot>& slots, bool component) {
    std::vector<std::string> names;
    for (const TFieldSlot& slot : slots)
        names.emplace_back(slot.Name);
    for (int id = 0; component && id < kComponentPropertyCount; ++id)
        names.emplace_back(PropertyName(id));
    return names;
}

class TPageBuilder {
public:
    TPageBuilder(TScriptSource& source, std::string_view sourceName, TPage& page)
        : source_(source), sourceName_(sourceName), page_(page) {}

    void Build() {
        page_.Clear();
        page_.Version = source_.Version;
        page_.ResultType = source_.ResultType;
        commands_ = AddLoopRecords(std::move(source_.Commands));
        if (page_.Version < TPage::kOldestVersion || page_.Version > TPage::kNewestVersion) {
            const bool masked =
                std::any_of(source_.Masks.begin(), source_.Masks.end(), [](auto& m) { return m; });
            if (!commands_.empty() || masked)
                throw SourceError(sourceName_, commands_.empty() ? 1 : commands_.front().Line,
                                  SysText("a page of a version outside 103..114 holds no commands or masks"));
            return;
        }
        FindLabels();
        SetMasks();
        loops_ = AnalyzeLoops(ShapesOf(commands_));
        for (size_t i = 0; i < commands_.size(); ++i)
            page_.Commands.push_back(MakeCommand(commands_[i], static_cast<int32_t>(i)));
    }

private:
    [[noreturn]] void Fail(int line, std::string_view utf8Message, std::string_view cp932Detail = {}) const {
        std::string message = SysText(utf8Message);
        if (!cp932Detail.empty()) message += ": " + std::string(cp932Detail);
        throw SourceError(sourceName_, line, message);
    }

    void FindLabels() {
        for (size_t i = 0; i < commands_.size(); ++i)
            if (commands_[i].Code == TCommandCode::Label)
                labels_.try_emplace(commands_[i].Name, static_cast<int32_t>(i));
    }

    void SetMasks() {
        for (const TSourceCommand& command : commands_) {
            const auto code = static_cast<size_t>(command.Code);
            for (const TSourceField& field : command.Fields) {
                const std::optional<int> id = PropertyIdOfName(field.Name);
                if (!id) continue;
                if (!IsComponentCode(command.Code))
                    Fail(field.Line, "only component commands take properties", field.Name);
                if (source_.Masks[code] && !MaskHas(*source_.Masks[code], *id))
                    Fail(field.Line, "the property is not in the #mask of this command", field.Name);
                MaskSet(page_.PropertyMasks[code], *id);
            }
        }
        for (size_t code = 0; code < source_.Masks.size(); ++code)
            if (source_.Masks[code]) page_.PropertyMasks[code] = *source_.Masks[code];
    }

    int32_t Resolve(const std::optional<TSourceTarget>& target) const {
        if (!target) return 0;
        if (!target->Label) return target->Index;
        const auto found = labels_.find(*target->Label);
        if (found == labels_.end())
            Fail(target->Line, "no such label in this page (a label of another page is written as its index)",
                 *target->Label);
        return found->second;
    }

    std::unique_ptr<TCommand> MakeCommand(TSourceCommand& source, int32_t index) {
        std::unique_ptr<TCommand> command = CreateCommand(page_, static_cast<uint8_t>(source.Code));
        command->Indent = source.Indent;
        command->Chained = source.Chained;
        command->Disabled = source.Disabled;
        command->LineId = source.LineId;
        SetOwnFields(*command, source, source.Target.value_or(loops_.Target[At(index)]));
        SetExpressions(*command, source);
        return command;
    }

    void SetOwnFields(TCommand& c, const TSourceCommand& s, int32_t target) const {
        switch (s.Code) {
            case TCommandCode::Label:
            case TCommandCode::Comment:
                static_cast<TComLabel&>(c).Name = s.Name;
                break;
            case TCommandCode::Jump: {
                auto& jump = static_cast<TComJump&>(c);
                jump.PageName = s.PageName;
                jump.Target = Resolve(s.JumpTarget);
                break;
            }
            case TCommandCode::Call: {
                auto& call = static_cast<TComCall&>(c);
                call.PageName = s.PageName;
                call.Target = Resolve(s.JumpTarget);
                call.ResultVar = s.ResultVar;
                break;
            }
            case TCommandCode::VarNew: {
                auto& var = static_cast<TComVarNew&>(c);
                var.Name = s.Name;
                var.Type = s.Type;
                var.Scope = s.Scope;
                break;
            }
            case TCommandCode::VarDel:
                static_cast<TComVarDel&>(c).Name = s.Name;
                break;
            case TCommandCode::GetProp:
                static_cast<TComGetProp&>(c).VarName = s.Name;
                break;
            case TCommandCode::TextIns:
                static_cast<TComTextIns&>(c).TextData = s.Name;
                break;
            case TCommandCode::PCReset:
            case TCommandCode::Reset: {
                auto& reset = static_cast<TComPCReset&>(c);
                reset.PageName = s.PageName;
                reset.Target = Resolve(s.JumpTarget);
                reset.Mode = s.Mode;
                break;
            }
            case TCommandCode::GameSave: {
                auto& save = static_cast<TComGameSave&>(c);
                save.Caption = s.PageName;
                if (s.JumpTarget && page_.Version < kGameSaveTargetVersion)
                    Fail(s.Line, "GameSave stores a target only from version 105 on");
                save.Value = Resolve(s.JumpTarget);
                break;
            }
            default:
                if (int32_t* field = LoopTargetField(c)) *field = target;
                break;
        }
    }

    void SetExpressions(TCommand& command, TSourceCommand& source) const {
        std::vector<TFieldSlot> slots = ExpressionFields(command);
        TComComponent* component = ComponentOf(command);
        std::vector<std::string> given;
        for (TSourceField& field : source.Fields) {
            const std::optional<int> id = PropertyIdOfName(field.Name);
            const auto slot = std::find_if(slots.begin(), slots.end(),
                                           [&](const TFieldSlot& s) { return s.Name == field.Name; });
            if (id && component) {
                *component->Properties[static_cast<size_t>(*id)] = std::move(field.Value);
            } else if (slot == slots.end()) {
                Fail(field.Line, "this command has no such field",
                     field.Name + DidYouMean(field.Name, FieldNames(slots, component != nullptr)));
            } else if (slot->MinVersion > page_.Version) {
                Fail(field.Line, "the page's version does not store this field", field.Name);
            } else if (slot->List) {
                slot->List->push_back(std::make_unique<TTovaParser>(std::move(field.Value)));
                continue;
            } else {
                *slot->Parser = std::move(field.Value);
            }
            if (std::find(given.begin(), given.end(), field.Name) != given.end())
                Fail(field.Line, "the field is given twice", field.Name);
            given.push_back(field.Name);
        }
        if (HasTrueByDefault(source.Code) &&
            std::find(given.begin(), given.end(), kConditionField) == given.end())
            CompileExpression("TRUE", *slots.front().Parser);
    }

    TScriptSource& source_;
    std::string_view sourceName_;
    TPage& page_;
    std::vector<TSourceCommand> commands_;
    std::map<std::string, int32_t, std::less<>> labels_;
    TLoopStructure loops_;
};

}  // namespace

void CompileScript(std::string_view source, std::string_view sourceName, TPage& page,
                   const TVariableTest& projectVariables) {
    try {
        TScriptSource parsed = ParseScriptSource(source, sourceName, nullptr, projectVariables);
        TPageBuilder(parsed, sourceName, page).Build();
    } catch (...) {
        // A source with an error leaves no half-made page behind.
        page.Clear();
        throw;
    }
}

}  // namespace tova::sdk
