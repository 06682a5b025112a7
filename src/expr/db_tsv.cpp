#include "expr/db_tsv.h"

#include <algorithm>
#include <optional>

#include "core/sjis.h"
#include "core/stream.h"
#include "expr/db_table.h"
#include "expr/param_convert.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

constexpr int32_t kDefaultStringLength = 80;

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits off the text up to the first blank; the rest starts after the blanks.
std::string_view TakeWord(std::string_view& s) {
    const size_t blank = s.find(' ');
    const std::string_view word = s.substr(0, blank);
    s = blank == std::string_view::npos ? std::string_view() : Trim(s.substr(blank));
    return word;
}

uint8_t TypeOfWord(std::string_view word) {
    if (word == "int") return DB_INT;
    if (word == "float") return DB_FLOAT;
    if (word == "bool") return DB_BOOL;
    return DB_STR;
}

// Backslash escapes of data lines, read character by character so that the
// trail byte of a double-byte character is never taken for a backslash.
std::string Unescape(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (size_t pos = 0; pos < line.size();) {
        const size_t len = SjisCharLength(line, pos);
        if (len == 1 && line[pos] == '\\' && pos + 1 < line.size()) {
            const char next = line[pos + 1];
            if (next == '"' || next == '\\') {
                out += next;
                pos += 2;
                continue;
            }
            if (next == 'n') {
                out += "\r\n";
                pos += 2;
                continue;
            }
        }
        out.append(line.substr(pos, len));
        pos += len;
    }
    return out;
}

bool LoadHeader(TDBTable& table, std::string_view header) {
    const std::vector<std::string> columns = SplitTabColumns(header);
    for (const std::string& column : columns) {
        std::string_view rest = Trim(column);
        const std::string_view name = TakeWord(rest);
        if (name.empty()) {
            table.Clear();
            return false;
        }
        const uint8_t type = TypeOfWord(TakeWord(rest));
        const std::optional<int32_t> length = TryTextToInt(rest);
        const int32_t stringLength = length && *length >= 0 ? *length : kDefaultStringLength;
        if (!table.AddField(std::string(name), type, stringLength)) {
            table.Clear();
            return false;
        }
    }
    return !columns.empty();
}

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] != '\r' && text[pos] != '\n') continue;
        lines.emplace_back(text.substr(start, pos - start));
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
        start = pos + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> SplitTabColumns(std::string_view line) {
    std::vector<std::string> columns;
    size_t start = 0;
    for (size_t pos = 0; pos < line.size(); pos += SjisCharLength(line, pos)) {
        if (line[pos] != '\t') continue;
        columns.emplace_back(line.substr(start, pos - start));
        start = pos + 1;
    }
    if (start < line.size()) columns.emplace_back(line.substr(start));
    return columns;
}

bool LoadTsvLines(TDBTable& table, const std::vector<std::string>& lines) {
    table.Clear();
    if (lines.empty() || !LoadHeader(table, lines.front())) return false;
    const int fieldCount = table.Fields().Count();
    for (size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].empty()) continue;
        const std::vector<std::string> columns = SplitTabColumns(Unescape(lines[l]));
        table.Append();
        const int stored = std::min(fieldCount, static_cast<int>(columns.size()));
        for (int i = 0; i < stored; ++i)
            table.FieldAt(table.Cursor(), i).SetStr(columns[static_cast<size_t>(i)]);
    }
    return true;
}

bool LoadTsvFile(TDBTable& table, TVrFileManager& files, std::string_view name) {
    if (!files.Exists(name)) return false;
    TTpMemoryStream stream;
    files.LoadToStream(stream, name);
    const std::vector<uint8_t>& bytes = stream.Bytes();
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return LoadTsvLines(table, SplitTextLines(text));
}

}  // namespace tova
