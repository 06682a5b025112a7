#include "expr/param_convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/error.h"

namespace tova {
namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return pos;
}

size_t SkipDigits(std::string_view text, size_t pos) {
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

}  // namespace

std::string IntToText(int32_t value) {
    return std::to_string(value);
}

std::string BoolToText(bool value) {
    return value ? "TRUE" : "FALSE";
}

std::string FloatToText(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // Round to 15 significant digits first: the rounded exponent decides the form.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, value);
    const std::string_view scientific(buffer);
    const size_t ePos = scientific.find('e');
    const bool negative = scientific[0] == '-';
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (scientific[i] != '.') digits.push_back(scientific[i]);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(buffer + ePos + 1);

    std::string out = negative ? "-" : "";
    if (exponent >= kSignificantDigits || exponent < -5) {
        // Appended piece by piece: a literal + std::string temporary makes
        // GCC 12 at -O3 report a false -Wrestrict (GCC bug 105329).
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent >= 0) {
        const size_t integerDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
        }
    } else {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

bool TextToBool(std::string_view text) {
    return text == "TRUE";
}

std::optional<int32_t> TryTextToInt(std::string_view text) {
    size_t pos = SkipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos < text.size() && text[pos] == '$') {
        ++pos;
        if (pos == text.size()) return std::nullopt;
        uint64_t value = 0;
        for (; pos < text.size(); ++pos) {
            const int digit = HexDigit(text[pos]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFu) return std::nullopt;
        }
        // A hexadecimal literal is a bit pattern: $FFFFFFFF is -1.
        uint32_t bits = static_cast<uint32_t>(value);
        if (negative) bits = 0u - bits;
        return static_cast<int32_t>(bits);
    }
    if (pos == text.size()) return std::nullopt;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t TextToInt(std::string_view text) {
    return TryTextToInt(text).value_or(0);
}

std::optional<long double> TryTextToFloat(std::string_view text) {
    size_t pos = SkipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const size_t numberStart = pos;
    const size_t intEnd = SkipDigits(text, pos);
    size_t end = intEnd;
    bool anyDigit = intEnd > pos;
    if (end < text.size() && text[end] == '.') {
        const size_t fracEnd = SkipDigits(text, end + 1);
        anyDigit = anyDigit || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!anyDigit) return std::nullopt;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t expPos = end + 1;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-')) ++expPos;
        const size_t expEnd = SkipDigits(text, expPos);
        if (expEnd == expPos) return std::nullopt;
        end = expEnd;
    }
    if (SkipBlanks(text, end) != text.size()) return std::nullopt;

    long double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + numberStart, text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end) return std::nullopt;
    return negative ? -value : value;
}

long double TextToFloat(std::string_view text) {
    return TryTextToFloat(text).value_or(0.0L);
}

int32_t FloatToInt(long double value) {
    constexpr long double kTwoTo63 = 9223372036854775808.0L;
    if (!(value >= -kTwoTo63 && value < kTwoTo63)) throw ETovaError("Invalid floating point operation");
    const auto wide = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
}

}  // namespace tova
