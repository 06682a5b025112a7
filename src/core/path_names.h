// Splitting program paths and virtual names into folder, name and extension.
// The scans are double-byte aware: a trail byte may have the value of '\'
// (0x5C) and must never be taken for a delimiter.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// Position of the last character of s that occurs in delimiters, or npos.
size_t SjisLastDelimiter(std::string_view s, std::string_view delimiters);

// Everything up to and including the last '\', '/' or ':'.
std::string ExtractFilePath(std::string_view path);
// Everything after the last '\', '/' or ':'.
std::string ExtractFileName(std::string_view path);
// The extension with its dot (".ogg"), or "" when the name has none.
std::string ExtractFileExt(std::string_view path);
// The path with its extension replaced (or appended when it has none).
std::string ChangeFileExt(std::string_view path, std::string_view extension);
// Whether a relative name has a ".." component (between '\\' or '/'), so
// that it could lead above the folder it is looked up in.
bool ClimbsAboveFolder(std::string_view name);

}  // namespace tova
