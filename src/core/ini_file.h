// INI files as Windows reads and writes them ("game.ini" beside the player):
// "[section]" lines, "key=value" lines, section and key names matched
// without regard to ASCII case, blanks around names and values removed, one
// pair of enclosing quotes removed from a value, ";" starting a comment line.
// The text is kept as bytes (code page 932 in the game's files). Writing a
// value keeps every other line of the file as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

class TIniFile {
public:
    TIniFile() = default;
    // Reads the file's text; any line that is neither a section, a pair nor
    // a comment is kept for writing and otherwise ignored.
    explicit TIniFile(std::string_view text);

    // The value of the first key of that name in the first section of that
    // name, or nullopt.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // A decimal (or "$" hexadecimal) integer; fallback when the key is
    // missing or its value is no integer.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // An integer value read as a flag: not 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's value, or adds the key at the end of its section
    // (the section at the end of the file when it is missing).
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // The file's text, lines ended by CR LF as Windows writes them.
    std::string Text() const;

private:
    struct TLine {
        std::string Raw;      // the line as read, or as written by Write
        std::string Section;  // for a section line: its name
        std::string Key;      // for a pair: its key and value
        std::string Value;
        enum class TKind { Other, Section, Pair } Kind = TKind::Other;
    };
    // The index of the section line, or -1.
    int FindSection(std::string_view section) const;

    std::vector<TLine> lines_;
};

}  // namespace tova
