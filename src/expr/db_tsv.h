// Filling a table from a tab-separated text file: the first line declares the
// fields ("name type size" per column), every further non-empty line is one
// record whose columns are stored into the fields as strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tova {

class TDBTable;
class TVrFileManager;

// The lines of a text: CR, LF and CR LF end a line; a final line break adds
// no line.
std::vector<std::string> SplitTextLines(std::string_view text);

// The columns of a line split at tab characters (never inside a double-byte
// character): an empty column between two tabs counts, a final tab adds none.
std::vector<std::string> SplitTabColumns(std::string_view line);

// Clears the table (fields and records) and loads the lines. Header column:
// name, then a type word ("int", "float", "bool", anything else a string),
// then the string length (80 when missing or not a number of 0 or more).
// Data lines lose the backslash of \" and \\, and \n becomes CR LF. True
// when the header defined the fields; a column without a name leaves the
// table without fields and gives false, as does a missing or empty header.
bool LoadTsvLines(TDBTable& table, const std::vector<std::string>& lines);

// Loads the file of the virtual file system into the table; false, with the
// table untouched, when the file does not exist.
bool LoadTsvFile(TDBTable& table, TVrFileManager& files, std::string_view name);

}  // namespace tova
