// A page printed as script source that compiles back to the same bytes:
// defaults, computed targets and masks, and the loop records the compiler
// adds by itself are left out; everything else is written explicitly.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <algorithm>
#include <map>

#include "core/sjis.h"
#include "engine/command_component.h"
#include "engine/command_media.h"
#include "engine/command_names.h"
#include "expr/property_names.h"
#include "sdk/script_compiler.h"
#include "sdk/script_expression.h"
#include "sdk/script_fields.h"
#include "sdk/script_source.h"
#include "sdk/script_structure.h"
#include "sdk/script_text.h"

namespace tova::sdk {
namespace {

constexpr int32_t kMaxWrittenIndent = 32;
constexpr int kIndentWidth = 4;
constexpr int kMaskIdCount = kPropertyMaskBytes * 8;

size_t At(int32_t index) {
    return static_cast<size_t>(index);
}

std::string_view BaseName(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsPlainLoopRecord(const TCommand& command) {
    return command.Chained == 1 && command.Disabled == 0 && command.LineId == 0 &&
           static_cast<const TComRuntime&>(command).Expression.Records().empty();
}

bool IsTrueCondition(const TTovaParser& parser) {
    TTovaParser compiled;
    CompileExpression("TRUE", compiled);
    return SameRecords(parser, compiled);
}

// A text that the Comment line takes as written.
bool IsVerbatimComment(std::string_view text) {
    std::string utf8;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    return TrimBlanks(text) == text && text.front() != '"' && text.front() != '=' &&
           ToUtf8Exactly(text, utf8);
}

// A Call result variable written bare: everything up to the next blank.
std::string VariableText(std::string_view name) {
    std::string utf8;
    bool bare =
        !name.empty() && name.front() != '"' && name != "if" && name.find('#') == std::string_view::npos;
    for (const char c : name)
        bare = bare && static_cast<unsigned char>(c) > 0x20 && c != 0x7f;
    return bare && ToUtf8Exactly(name, utf8) ? utf8 : QuoteString(name);
}

class TDecompiler {
public:
    explicit TDecompiler(const TPage& page) : page_(page) {}

    std::string Run() {
        out_ =
            "#page version=" + std::to_string(page_.Version) + " result=" + TypeName(page_.ResultType) + "\n";
        if (page_.Version < TPage::kOldestVersion || page_.Version > TPage::kNewestVersion) return out_;
        WriteMasks();
        std::vector<TCommandShape> shapes;
        for (const auto& command : page_.Commands)
            shapes.push_back({command->GetCode(), command->Indent});
        loops_ = AnalyzeLoops(shapes);
        for (int32_t i = 0; i < page_.Count(); ++i)
            if (Cmd(i).GetCode() == TCommandCode::Label)
                labels_.try_emplace(static_cast<const TComLabel&>(Cmd(i)).Name, i);
        PlanOmissions(shapes);
        for (int32_t i = 0; i < page_.Count(); ++i)
            if (!omitted_[At(i)]) WriteCommand(i);
        return out_;
    }

private:
    TCommand& Cmd(int32_t i) const { return *page_.Commands[At(i)]; }

    void WriteMasks() {
        std::array<TPropertyMask, kCommandCodeCount> used{};
        for (const auto& command : page_.Commands)
            if (const TComComponent* component = ComponentOf(*command))
                for (int id = 0; id < kComponentPropertyCount; ++id)
                    if (const TTovaParser* slot = component->Property(id); slot && !slot->Records().empty())
                        MaskSet(used[static_cast<size_t>(command->GetCode())], id);
        for (size_t code = 0; code < used.size(); ++code) {
            if (used[code] == page_.PropertyMasks[code]) continue;
            out_ += "#mask " + std::string(CommandScriptName(static_cast<TCommandCode>(code)));
            for (int id = 0; id < kMaskIdCount; ++id)
                if (MaskHas(page_.PropertyMasks[code], id))
                    out_ += " " + (id < kComponentPropertyCount ? std::string(PropertyName(id))
                                                                : std::to_string(id));
            out_ += "\n";
        }
    }

    // Leaves out the plain WhileInit and WhileLoop records the compiler adds
    // by itself, when adding them back gives exactly this command list.
    void PlanOmissions(const std::vector<TCommandShape>& shapes) {
        const int32_t n = page_.Count();
        omitted_.assign(At(n), false);
        for (int32_t w = 0; w < n; ++w) {
            if (shapes[At(w)].Code != TCommandCode::While) continue;
            const int32_t init = loops_.Init[At(w)];
            const int32_t loop = loops_.Loop[At(w)];
            if (init >= 0 && IsPlainLoopRecord(Cmd(init))) omitted_[At(init)] = true;
            if (loop >= 0 && IsPlainLoopRecord(Cmd(loop)) &&
                static_cast<const TComWhileLoop&>(Cmd(loop)).LoopTarget == loops_.Target[At(loop)])
                omitted_[At(loop)] = true;
        }
        std::vector<TWrittenShape> written;
        std::vector<int32_t> positions;
        for (int32_t i = 0; i < n; ++i) {
            if (omitted_[At(i)]) continue;
            written.push_back({shapes[At(i)], loops_.Init[At(i)] < 0, loops_.Loop[At(i)] < 0});
            positions.push_back(i);
        }
        const std::vector<TPlannedCommand> plan = PlanLoopRecords(written);
        bool same = plan.size() == shapes.size();
        for (size_t p = 0; same && p < plan.size(); ++p) {
            const TPlannedCommand& planned = plan[p];
            same = planned.Shape.Code == shapes[p].Code && planned.Shape.Indent == shapes[p].Indent &&
                   (planned.Written >= 0 ? At(positions[At(planned.Written)]) == p : omitted_[p]);
        }
        if (!same) omitted_.assign(At(n), false);
    }

    bool IsThisPage(std::string_view pageName) const {
        return !page_.Name.empty() && SjisSameText(BaseName(pageName), BaseName(page_.Name));
    }

    // " label" or " index" for a target, nothing for 0.
    std::string TargetText(std::string_view pageName, int32_t target) const {
        if (IsThisPage(pageName) && target >= 0 && target < page_.Count() &&
            Cmd(target).GetCode() == TCommandCode::Label) {
            const std::string& label = static_cast<const TComLabel&>(Cmd(target)).Name;
            if (labels_.at(label) == target) return " " + WordOrString(label);
        }
        return target == 0 ? "" : " " + std::to_string(target);
    }

    std::string ConditionText(const TTovaParser& condition) const {
        return IsTrueCondition(condition) ? "" : " if " + ExpressionSource(condition, TExpressionPlace::Line);
    }

    static std::string Optional(const TTovaParser& parser, std::string_view keyword = {}) {
        return parser.Records().empty() ? ""
                                        : " " + ExpressionSource(parser, TExpressionPlace::Line, keyword);
    }

    static std::string Required(const TTovaParser& parser) {
        return " " + ExpressionSource(parser, TExpressionPlace::Line);
    }

    std::vector<std::string> Attributes(int32_t i) {
        const TCommand& c = Cmd(i);
        std::vector<std::string> attributes;
        if (c.Chained != 1) attributes.push_back("chained=" + std::to_string(c.Chained));
        if (c.Disabled == 1)
            attributes.push_back("disabled");
        else if (c.Disabled != 0)
            attributes.push_back("disabled=" + std::to_string(c.Disabled));
        if (c.LineId != OutputLine()) attributes.push_back("line=" + std::to_string(c.LineId));
        if (c.Indent < 0 || c.Indent > kMaxWrittenIndent)
            attributes.push_back("indent=" + std::to_string(c.Indent));
        if (c.GetCode() == TCommandCode::While) {
            if (loops_.Init[At(i)] < 0) attributes.push_back("noinit");
            if (loops_.Loop[At(i)] < 0) attributes.push_back("noloop");
        }
        const int32_t* field = LoopTargetField(c);
        const int32_t target = field ? *field : loops_.Target[At(i)];
        if (target != loops_.Target[At(i)]) attributes.push_back("target=" + std::to_string(target));
        return attributes;
    }

    // What follows the name on the command line; inline names the expression
    // fields written there.
    std::string InlineText(TCommand& c, std::vector<std::string_view>& inlined) const {
        const auto mark = [&](std::string_view field) { inlined.push_back(field); };
        switch (c.GetCode()) {
            case TCommandCode::If:
            case TCommandCode::Elseif:
                mark("Condition");
                return Required(static_cast<TComIf&>(c).Condition);
            case TCommandCode::While:
                mark("Condition");
                return Required(static_cast<TComWhile&>(c).Condition);
            case TCommandCode::WhileInit:
            case TCommandCode::WhileLoop:
                mark("Expression");
                return Optional(static_cast<TComRuntime&>(c).Expression);
            case TCommandCode::Calc:
                mark("Expression");
                return Optional(static_cast<TComCalc&>(c).Expression);
            case TCommandCode::ObjDel:
                mark("Object");
                return Optional(static_cast<TComObjDel&>(c).Object);
            case TCommandCode::MenuClose:
            case TCommandCode::TextClr:
            case TCommandCode::MediaPlay:
                mark("Target");
                return Optional(static_cast<TComNamedTarget&>(c).Target);
            case TCommandCode::GameLoad:
                mark("Slot");
                return Optional(static_cast<TComGameLoad&>(c).Slot);
            case TCommandCode::Exit:
            case TCommandCode::Break:
            case TCommandCode::Continue:
                mark("Condition");
                return ConditionText(static_cast<TComExit&>(c).Condition);
            case TCommandCode::Label:
            case TCommandCode::VarDel:
                return " " + WordOrString(c.GetCode() == TCommandCode::Label
                                              ? static_cast<TComLabel&>(c).Name
                                              : static_cast<TComVarDel&>(c).Name);
            case TCommandCode::Comment: {
                const std::string& text = static_cast<TComLabel&>(c).Name;
                if (text.empty()) return "";
                std::string utf8;
                return " " +
                       (IsVerbatimComment(text) && ToUtf8Exactly(text, utf8) ? utf8 : QuoteString(text));
            }
            case TCommandCode::GetProp: {
                const std::string& var = static_cast<TComGetProp&>(c).VarName;
                return var.empty() ? "" : " " + WordOrString(var);
            }
            case TCommandCode::TextIns: {
                const std::string& text = static_cast<TComTextIns&>(c).TextData;
                return text.empty() ? "" : " " + QuoteString(text);
            }
            case TCommandCode::Jump: {
                auto& jump = static_cast<TComJump&>(c);
                mark("Condition");
                return " " + WordOrString(jump.PageName) + TargetText(jump.PageName, jump.Target) +
                       ConditionText(jump.Condition);
            }
            case TCommandCode::Call:
                mark("Condition");
                mark("Arguments");
                return CallText(static_cast<TComCall&>(c));
            case TCommandCode::Wait: {
                auto& wait = static_cast<TComWait&>(c);
                mark("Time");
                mark("Condition");
                return Optional(wait.Time, "while") +
                       (wait.Condition.Records().empty() ? "" : " while" + Required(wait.Condition));
            }
            case TCommandCode::VarNew: {
                auto& var = static_cast<TComVarNew&>(c);
                mark("InitialValue");
                return " " + WordOrString(var.Name) + " " + TypeName(var.Type) +
                       Optional(var.InitialValue, "scope=") +
                       (var.Scope == 0 ? "" : " scope=" + ScopeName(var.Scope));
            }
            case TCommandCode::PCReset:
            case TCommandCode::Reset: {
                auto& reset = static_cast<TComPCReset&>(c);
                const std::string mode = reset.Mode == 0   ? ""
                                         : reset.Mode == 1 ? " full"
                                                           : " mode=" + std::to_string(reset.Mode);
                return " " + WordOrString(reset.PageName) + TargetText(reset.PageName, reset.Target) + mode;
            }
            case TCommandCode::GameSave: {
                auto& save = static_cast<TComGameSave&>(c);
                if (save.Caption.empty() && save.Value == 0) return "";
                return " " + WordOrString(save.Caption) + TargetText(save.Caption, save.Value);
            }
            default:
                return "";
        }
    }

    std::string CallText(TComCall& call) const {
        std::string text = " " + WordOrString(call.PageName) + TargetText(call.PageName, call.Target);
        if (!call.Arguments.empty()) {
            text += " (";
            for (size_t i = 0; i < call.Arguments.size(); ++i)
                text +=
                    (i > 0 ? ", " : "") + ExpressionSource(*call.Arguments[i], TExpressionPlace::Argument);
            text += ")";
        }
        if (!call.ResultVar.empty()) text += " -> " + VariableText(call.ResultVar);
        return text + ConditionText(call.Condition);
    }

    void WriteField(const std::string& prefix, std::string_view name, const TTovaParser& value) {
        std::string text = ExpressionSource(value, TExpressionPlace::Line);
        int32_t id = -1;
        if (name == kPropertyIdField && ParseInt32(text, id) && id >= 0 && id < kComponentPropertyCount)
            text = std::string(PropertyName(id));
        out_ += prefix + std::string(name) + " = " + text + "\n";
    }

    void WriteCommand(int32_t i) {
        TCommand& c = Cmd(i);
        const int column = c.Indent >= 0 && c.Indent <= kMaxWrittenIndent ? c.Indent * kIndentWidth : 0;
        std::string line(At(column), ' ');
        const std::vector<std::string> attributes = Attributes(i);
        if (!attributes.empty()) {
            line += "[";
            for (size_t k = 0; k < attributes.size(); ++k)
                line += (k > 0 ? " " : "") + attributes[k];
            line += "] ";
        }
        std::vector<std::string_view> inlined;
        out_ += line + std::string(CommandScriptName(c.GetCode())) + InlineText(c, inlined) + "\n";
        const std::string prefix(At(column + kIndentWidth), ' ');
        if (const TComComponent* component = ComponentOf(c))
            for (int id = 0; id < kComponentPropertyCount; ++id)
                if (const TTovaParser* slot = component->Property(id); slot && !slot->Records().empty())
                    WriteField(prefix, PropertyName(id), *slot);
        for (const TFieldSlot& slot : ExpressionFields(c)) {
            if (slot.MinVersion > page_.Version) continue;
            if (std::find(inlined.begin(), inlined.end(), slot.Name) != inlined.end()) continue;
            if (slot.List) {
                for (const auto& item : *slot.List)
                    WriteField(prefix, slot.Name, *item);
            } else if (!slot.Parser->Records().empty()) {
                WriteField(prefix, slot.Name, *slot.Parser);
            }
        }
    }

    // The number of the line about to be written (the compiler's default LineId).
    int32_t OutputLine() {
        lines_ += static_cast<int32_t>(
            std::count(out_.begin() + static_cast<std::ptrdiff_t>(counted_), out_.end(), '\n'));
        counted_ = out_.size();
        return lines_ + 1;
    }

    const TPage& page_;
    std::string out_;
    size_t counted_ = 0;
    int32_t lines_ = 0;
    TLoopStructure loops_;
    std::map<std::string, int32_t, std::less<>> labels_;
    std::vector<bool> omitted_;
};

}  // namespace

std::string DecompileScript(const TPage& page) {
    return TDecompiler(page).Run();
}

}  // namespace tova::sdk
