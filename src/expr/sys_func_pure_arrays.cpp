// Functions on the shape and elements of array values. Arguments that the
// functions change are reference operands, which forward every operation to
// the variable they are bound to.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

// The value a chain of references ends at (the value itself when it is no reference).
const TCustomParam& Referenced(const TCustomParam& value) {
    const TCustomParam* step = &value;
    while (const auto* ref = dynamic_cast<const TParamVar*>(step)) {
        if (!ref->Target()) break;
        step = &ref->Target()->Value();
    }
    return *step;
}

bool IsDataType(int typeCode) {
    return typeCode >= PT_INT && typeCode <= PT_STR;
}

// The one-dimensional size list of count elements; a count beyond the index
// range is refused with the message SetDims gives.
TDynamicIntArray LinearDims(int64_t count) {
    if (count > std::numeric_limits<int32_t>::max())
        throw ETovaError::Format("配列の要素数[%s]が不正です", {std::to_string(count)});
    return {static_cast<int32_t>(count)};
}

// Inserts the elements of src, converted to dest's type, before element at
// (clamped to 0..count) and makes dest one-dimensional. Nothing happens when
// either value has two or more dimensions. Returns dest's element count.
int InsertElements(TCustomParam& dest, const TCustomParam& src, int32_t at) {
    const int destCount = dest.GetCount();
    const int type = dest.GetParamType();
    if (dest.GetDimCount() >= 2 || src.GetDimCount() >= 2 || !IsDataType(type)) return destCount;
    // Take the new elements first: src may be dest itself.
    const int addedCount = src.GetCount();
    if (addedCount <= 0) return destCount;
    const std::unique_ptr<TCustomParam> added = CreateParam(type);
    added->SetDims({addedCount});
    for (int i = 0; i < addedCount; ++i)
        CopyElementAs(type, *added, i, src, i);

    const int start = std::clamp(at, 0, destCount);
    dest.SetDims(LinearDims(int64_t{destCount} + addedCount));
    for (int i = destCount - 1; i >= start; --i)
        CopyElementAs(type, dest, i + addedCount, dest, i);
    for (int i = 0; i < addedCount; ++i)
        CopyElementAs(type, dest, start + i, *added, i);
    return destCount + addedCount;
}

// The parts of text split into lines: CR, LF and CR LF end a line, and a
// final line end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

// The parts of text between the characters that occur in separators; a
// trailing separator adds no empty part.
std::vector<std::string> SplitAtChars(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> separatorChars;
    ForEachSjisChar(separators, [&](uint16_t, size_t pos, size_t len) {
        separatorChars.push_back(separators.substr(pos, len));
    });
    std::vector<std::string> parts;
    std::string current;
    ForEachSjisChar(text, [&](uint16_t, size_t pos, size_t len) {
        const std::string_view c = text.substr(pos, len);
        if (std::find(separatorChars.begin(), separatorChars.end(), c) != separatorChars.end()) {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    });
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

}  // namespace

void GetArraySize(TSysCall& call) {
    const TCustomParam& value = VariableArg(call, 1, "GetArraySize");
    if (!call.HasArg(2)) {
        call.Target.SetInt(value.GetCount());
        return;
    }
    // Dimension k counts from the last (fastest varying) one.
    const int64_t dim = int64_t{value.GetDimCount()} - 1 - IntArg(call, 2);
    call.Target.SetInt(value.GetDimSize(dim < 0 || dim >= value.GetDimCount() ? -1 : static_cast<int>(dim)));
}

void SetArray(TSysCall& call) {
    TCustomParam& value = VariableArg(call, 1, "SetArray");
    TDynamicIntArray dims;
    for (int n = 2; n <= call.ArgCount(); ++n)
        dims.push_back(IntArg(call, n));
    value.SetDims(dims);
}

void FillMem(TSysCall& call) {
    TCustomParam& value = VariableArg(call, 1, "FillMem");
    const TCustomParam& fill = call.Arg(2);
    switch (value.GetParamType()) {
        case PT_INT:
            value.FillInt(fill.GetInt());
            break;
        case PT_FLOAT:
            value.FillFloat(fill.GetFloat());
            break;
        case PT_BOOL:
            value.FillBool(fill.GetBool());
            break;
        case PT_STR:
            value.FillStr(fill.GetStr());
            break;
        default:
            break;
    }
}

void CopyMem(TSysCall& call) {
    TCustomParam& dest = VariableArg(call, 1, "CopyMem");
    const TCustomParam& src = VariableArg(call, 2, "CopyMem");
    // The class check compares the values themselves, not the references.
    dest.CopyMem(Referenced(src));
}

void ArrayToString(TSysCall& call) {
    const TCustomParam& value = call.Arg(1);
    const std::string separator = call.HasArg(2) ? TextArg(call, 2) : "\r\n";
    std::string out;
    const int count = value.GetCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += separator;
        out += value.GetStrAt(i);
    }
    call.Target.SetStr(out);
}

void StringToArray(TSysCall& call) {
    const std::string text = TextArg(call, 1);
    const std::string separators = call.HasArg(3) ? TextArg(call, 3) : "\r\n";
    const std::vector<std::string> parts =
        separators == "\r\n" ? SplitLines(text) : SplitAtChars(text, separators);
    TCustomParam& dest = call.Arg(2);
    if (parts.empty()) {
        dest.MakeScalar();
        dest.SetStrAt(0, "");
        return;
    }
    dest.SetDims(LinearDims(static_cast<int64_t>(parts.size())));
    for (size_t i = 0; i < parts.size(); ++i)
        dest.SetStrAt(static_cast<int>(i), parts[i]);
}

void IndexOfStr(TSysCall& call) {
    call.Target.SetInt(
        call.Arg(1).IndexOfStr(TextArg(call, 2), BoolArg(call, 3, true), BoolArg(call, 4, false)));
}

void SortStr(TSysCall& call) {
    TCustomParam& value = call.Arg(1);
    const int count = value.GetCount();
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        texts.push_back(value.GetStrAt(i));
    std::stable_sort(texts.begin(), texts.end(),
                     [](const std::string& a, const std::string& b) { return SjisCompareText(a, b) < 0; });
    for (int i = 0; i < count; ++i)
        value.SetStrAt(i, texts[static_cast<size_t>(i)]);
}

void AddArray(TSysCall& call) {
    call.Target.SetInt(InsertElements(call.Arg(1), call.Arg(2), std::numeric_limits<int32_t>::max()));
}

void InsertArray(TSysCall& call) {
    call.Target.SetInt(InsertElements(call.Arg(1), call.Arg(2), IntArg(call, 3)));
}

void DeleteArray(TSysCall& call) {
    TCustomParam& value = call.Arg(1);
    const int count = value.GetCount();
    const int type = value.GetParamType();
    call.Target.SetInt(count);
    if (value.GetDimCount() >= 2 || !IsDataType(type) || count <= 0) return;
    const int start = std::clamp(IntArg(call, 2), 0, count - 1);
    const int length = std::clamp(IntArg(call, 3), 0, count - start);
    if (length == 0) return;
    const int newCount = count - length;
    // No elements left is refused (by SetDims) before anything is moved.
    if (newCount == 0) value.SetDims({0});
    for (int i = start; i < newCount; ++i)
        CopyElementAs(type, value, i, value, i + length);
    value.SetDims({newCount});
    call.Target.SetInt(newCount);
}

void CopyArray(TSysCall& call) {
    call.Arg(1).AssignConverted(call.Arg(2));
    call.Target.SetBool(true);
}

}  // namespace tova::pure
