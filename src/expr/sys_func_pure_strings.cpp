// Byte-oriented string functions and the conversions between text and numbers.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_convert.h"
#include "expr/script_limits.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

// Zero padding beyond this many digits is not given: the count comes from
// script text and must not be able to ask for gigabytes.
constexpr int kMaxPadDigits = 1024;

// The minimum digit count of a "%.<d>d" format: d must be plain decimal
// digits; anything else gives no padding at all.
std::optional<int> PadDigits(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int digits = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        digits = std::min(digits * 10 + (c - '0'), kMaxPadDigits);
    }
    return digits;
}

std::string PadLeft(std::string digits, int width) {
    const auto target = static_cast<size_t>(std::clamp(width, 0, kMaxPadDigits));
    if (digits.size() < target) digits.insert(0, target - digits.size(), '0');
    return digits;
}

std::string HexDigits(uint32_t value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kHex[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

// Byte index (0-based) of a 1-based position, positions below 1 counting as 1.
size_t StartIndex(int32_t position) {
    return position < 1 ? 0 : static_cast<size_t>(position) - 1;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

void IntToStr(TSysCall& call) {
    const int32_t value = IntArg(call, 1);
    std::string text = IntToText(value);
    if (call.HasArg(2)) {
        if (const std::optional<int> digits = PadDigits(TextArg(call, 2))) {
            const uint32_t magnitude =
                value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
            // Built by appending: a literal + std::string temporary makes
            // GCC 12 at -O3 report a false -Wrestrict (GCC bug 105329).
            text.clear();
            if (value < 0) text.push_back('-');
            text += PadLeft(std::to_string(magnitude), *digits);
        }
    }
    call.Target.SetStr(text);
}

void IntToHex(TSysCall& call) {
    call.Target.SetStr(PadLeft(HexDigits(static_cast<uint32_t>(IntArg(call, 1))), IntArg(call, 2)));
}

void Length(TSysCall& call) {
    call.Target.SetInt(static_cast<int32_t>(TextArg(call, 1).size()));
}

void Copy(TSysCall& call) {
    const std::string text = TextArg(call, 1);
    const size_t start = StartIndex(IntArg(call, 2));
    if (start >= text.size()) {
        call.Target.SetStr("");
        return;
    }
    size_t count = std::string::npos;
    if (call.HasArg(3)) count = static_cast<size_t>(std::max(IntArg(call, 3), 0));
    call.Target.SetStr(text.substr(start, count));
}

void Delete(TSysCall& call) {
    std::string text = TextArg(call, 1);
    const int32_t position = IntArg(call, 2);
    // A position outside the text deletes nothing, so the variable keeps its
    // value exactly (a number is not rewritten through its text form).
    if (position < 1 || static_cast<size_t>(position) > text.size()) return;
    size_t count = std::string::npos;
    if (call.HasArg(3)) {
        const int32_t wanted = IntArg(call, 3);
        if (wanted <= 0) return;
        count = static_cast<size_t>(wanted);
    }
    text.erase(static_cast<size_t>(position) - 1, count);
    call.Arg(1).SetStr(text);
}

void Insert(TSysCall& call) {
    const std::string piece = TextArg(call, 1);
    if (piece.empty()) return;
    std::string text = TextArg(call, 2);
    text.insert(std::min(StartIndex(IntArg(call, 3)), text.size()), piece);
    call.Arg(2).SetStr(text);
}

void CompareStr(TSysCall& call) {
    call.Target.SetInt(Sign(TextArg(call, 1).compare(TextArg(call, 2))));
}

void CompareText(TSysCall& call) {
    call.Target.SetInt(SjisCompareText(TextArg(call, 1), TextArg(call, 2)));
}

void Pos(TSysCall& call) {
    const std::string needle = TextArg(call, 1);
    if (needle.empty()) return;
    const size_t found = TextArg(call, 2).find(needle);
    call.Target.SetInt(found == std::string::npos ? 0 : static_cast<int32_t>(found) + 1);
}

void Trim(TSysCall& call) {
    const std::string text = TextArg(call, 1);
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    call.Target.SetStr(text.substr(first, last - first));
}

void LowerCase(TSysCall& call) {
    call.Target.SetStr(SjisLowerCase(TextArg(call, 1)));
}

void UpperCase(TSysCall& call) {
    call.Target.SetStr(SjisUpperCase(TextArg(call, 1)));
}

void StringOfChar(TSysCall& call) {
    const std::string piece = TextArg(call, 1);
    const int32_t times = IntArg(call, 2);
    if (times <= 0 || piece.empty()) return;
    CheckScriptTextLength(piece.size() * static_cast<uint64_t>(times));
    std::string out;
    out.reserve(piece.size() * static_cast<size_t>(times));
    for (int32_t i = 0; i < times; ++i)
        out += piece;
    call.Target.SetStr(out);
}

void StringReplace(TSysCall& call) {
    const std::string text = TextArg(call, 1);
    const std::string pattern = TextArg(call, 2);
    const std::string replacement = TextArg(call, 3);
    const bool replaceAll = BoolArg(call, 4, false);
    const bool ignoreCase = BoolArg(call, 5, false);
    if (pattern.empty()) {
        call.Target.SetStr(text);
        return;
    }
    // Case folding keeps every byte position, so matches found in the folded
    // copies are positions in the original text.
    const std::string hay = ignoreCase ? SjisLowerCase(text) : text;
    const std::string needle = ignoreCase ? SjisLowerCase(pattern) : pattern;
    std::string out;
    size_t from = 0;
    while (from <= hay.size()) {
        const size_t found = SjisFind(std::string_view(hay).substr(from), needle);
        if (found == std::string_view::npos) break;
        CheckScriptTextLength(out.size() + found + replacement.size());
        out.append(text, from, found);
        out += replacement;
        from += found + needle.size();
        if (!replaceAll) break;
    }
    out.append(text, std::min(from, text.size()));
    call.Target.SetStr(out);
}

void AddDelimiter(TSysCall& call) {
    const std::string text = TextArg(call, 2);
    if (!text.empty()) call.Target.SetStr(text + TextArg(call, 1));
}

void StrToIntDef(TSysCall& call) {
    call.Target.SetInt(TryTextToInt(TextArg(call, 1)).value_or(IntArg(call, 2)));
}

void StrToFloatDef(TSysCall& call) {
    const std::optional<long double> value = TryTextToFloat(TextArg(call, 1));
    call.Target.SetFloat(value ? *value : FloatArg(call, 2));
}

void Chr(TSysCall& call) {
    call.Target.SetStr(std::string(1, static_cast<char>(IntArg(call, 1) & 0xFF)));
}

void Ord(TSysCall& call) {
    const std::string text = TextArg(call, 1);
    if (!text.empty()) call.Target.SetInt(static_cast<unsigned char>(text[0]));
}

}  // namespace tova::pure
