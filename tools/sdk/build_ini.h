// The plain INI text of the project description: sections, "key = value"
// lines and whole-line comments, every item with its line number so that
// each mistake can be reported where it stands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace tova::sdk {

struct TIniEntry {
    std::string Key;    // as written, trimmed (UTF-8)
    std::string Value;  // as written, trimmed, quotes not yet removed (UTF-8)
    int Line = 0;
};

struct TIniSection {
    std::string Name;  // as written, trimmed (UTF-8)
    int Line = 0;
    std::vector<TIniEntry> Entries;
};

// The sections in file order; a section written twice appears twice. A line
// that is neither a section, a setting, a comment nor blank, or a setting
// before the first section, throws the error of IniError.
std::vector<TIniSection> ParseIni(std::string_view text, std::string_view fileName);

// "FILE:LINE: message", with the UTF-8 message converted for the exception.
ETovaError IniError(std::string_view fileName, int line, std::string_view message);

// The text of a value: a value in double quotes loses them, and a backslash
// before a quote or a backslash is dropped; any other value stands as it is.
// Throws std::invalid_argument (with the reason) for an unterminated quote or
// text after the closing one.
std::string UnquoteIniValue(std::string_view value);

// ASCII lower case, for matching names written in any case.
std::string AsciiLower(std::string_view text);

}  // namespace tova::sdk
