#include "sdk/build_ini.h"

#include <stdexcept>

#include "core/encoding.h"

namespace tova::sdk {
namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

ETovaError IniError(std::string_view fileName, int line, std::string_view message) {
    return ETovaError(
        Utf8ToCp932Lossy(std::string(fileName) + ":" + std::to_string(line) + ": " + std::string(message)));
}

std::vector<TIniSection> ParseIni(std::string_view text, std::string_view fileName) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<TIniSection> sections;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            if (line.back() != ']') throw IniError(fileName, lineNumber, "a section line must end with ']'");
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            if (name.empty()) throw IniError(fileName, lineNumber, "empty section name");
            sections.push_back({std::string(name), lineNumber, {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            throw IniError(fileName, lineNumber, "expected \"key = value\", a [section] or a comment");
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) throw IniError(fileName, lineNumber, "a setting without a key");
        if (sections.empty())
            throw IniError(fileName, lineNumber,
                           "the setting \"" + std::string(key) + "\" stands before any [section]");
        sections.back().Entries.push_back(
            {std::string(key), std::string(Trim(line.substr(equals + 1))), lineNumber});
    }
    return sections;
}

std::string UnquoteIniValue(std::string_view value) {
    if (!value.starts_with('"')) return std::string(value);
    std::string text;
    for (size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            if (i + 1 != value.size()) throw std::invalid_argument("text after the closing quote");
            return text;
        }
        if (c == '\\' && i + 1 < value.size() && (value[i + 1] == '"' || value[i + 1] == '\\')) ++i;
        text += value[i];
    }
    throw std::invalid_argument("the quote is not closed");
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace tova::sdk
