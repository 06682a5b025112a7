#include "expr/build_tova_parser.h"

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/build_tova_parser_phases.h"
#include "expr/ope_data.h"
#include "expr/param_convert.h"
#include "expr/script_constants.h"
#include "expr/sys_function_table.h"

namespace tova {
namespace {

// A temporary that only passes a value on: neither an element reference nor the result.
bool IsPlainTemporary(std::string_view name) {
    return name.starts_with(kTemporaryPrefix) && !name.starts_with(kElementTemporaryPrefix) &&
           name != kResultTemporary;
}

// Writes an operand text under the tag its form selects.
void WriteOperandText(TStream& stream, const std::string& text) {
    if (const std::optional<int32_t> value = TryTextToInt(text)) {
        WriteU8(stream, kOperandInt);
        WriteI32(stream, *value);
    } else if (const std::optional<long double> real = TryTextToFloat(text)) {
        WriteU8(stream, kOperandFloat);
        WriteExtended(stream, *real);
    } else if (text == "TRUE" || text == "FALSE") {
        WriteU8(stream, kOperandBool);
        WriteU8(stream, text == "TRUE" ? 1 : 0);
    } else if (text.size() > 1 && text.front() == '"' && text.back() == '"') {
        WriteU8(stream, kOperandStr);
        WriteString(stream, std::string_view(text).substr(1, text.size() - 2));
    } else {
        WriteU8(stream, kOperandReference);
        WriteString(stream, text);
    }
}

// The function a call record names, with its argument count checked.
const TSysFunctionInfo& CalledFunction(const TBuildOpeData& record) {
    const std::string& name = record.Operands.empty() ? std::string() : record.Operands.front();
    const TSysFunctionInfo* info = FindSysFunction(name);
    if (!info) throw ETovaError::Format("\"%s\" 関数名がありません", {name});
    const int count = static_cast<int>(record.Operands.size()) - 1;
    if ((info->MinArgs != -1 && count < info->MinArgs) || (info->MaxArgs != -1 && count > info->MaxArgs))
        throw ETovaError(name + SysText(" 引数の数が不正です"));
    return *info;
}

}  // namespace

std::string_view TrimExpressionText(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void TBuildTovaParser::Compile(std::string_view text) {
    TExpressionCompiler(*this).CompileText(ToCodeText(text));
    RemoveCopies();
    ResolveConstants();
}

void TBuildTovaParser::ResolveConstants() {
    for (TBuildOpeData& record : records_) {
        // A called function's name and an element's array name are names, not values.
        const size_t first = record.Op == ocFunc || record.Op == ocDimTo ? 1 : 0;
        for (size_t i = first; i < record.Operands.size(); ++i) {
            std::string& operand = record.Operands[i];
            const std::optional<int32_t> value = ScriptConstant(operand);
            if (value && !(IsVariable && IsVariable(operand))) operand = std::to_string(*value);
        }
    }
}

void TBuildTovaParser::RemoveCopies() {
    for (size_t i = 0; i < records_.size();) {
        const TBuildOpeData& record = records_[i];
        if (record.Op != ocTo || record.Operands.size() != 1 || !IsPlainTemporary(record.Target) ||
            !IsPlainTemporary(record.Operands.front())) {
            ++i;
            continue;
        }
        const std::string from = record.Target;
        const std::string to = record.Operands.front();
        records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
        for (size_t j = i; j < records_.size(); ++j) {
            if (records_[j].Target == from) records_[j].Target = to;
            for (std::string& operand : records_[j].Operands)
                if (operand == from) operand = to;
        }
    }
}

void TBuildTovaParser::SaveToStream(TStream& stream) const {
    // Every call is checked before anything is written.
    std::vector<int> functionIds;
    for (const TBuildOpeData& record : records_)
        if (record.Op == ocFunc) functionIds.push_back(CalledFunction(record).Id);

    WriteI32(stream, static_cast<int32_t>(records_.size()));
    auto nextId = functionIds.begin();
    for (const TBuildOpeData& record : records_) {
        WriteU8(stream, record.Op);
        WriteString(stream, record.Target);
        const size_t first = record.Op == ocFunc ? 1 : 0;
        WriteI32(stream, static_cast<int32_t>(record.Operands.size() - first));
        if (record.Op == ocFunc) WriteU8(stream, static_cast<uint8_t>(*nextId++));
        for (size_t i = first; i < record.Operands.size(); ++i)
            WriteOperandText(stream, record.Operands[i]);
    }
}

void TBuildTovaParser::Clear() {
    records_.clear();
    tempCounter_ = 0;
}

}  // namespace tova
