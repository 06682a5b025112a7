#include "core/path_names.h"

#include "core/sjis.h"

namespace tova {

size_t SjisLastDelimiter(std::string_view s, std::string_view delimiters) {
    size_t found = std::string_view::npos;
    for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos))
        if (SjisCharLength(s, pos) == 1 && delimiters.find(s[pos]) != std::string_view::npos) found = pos;
    return found;
}

namespace {
constexpr std::string_view kPathDelimiters = "\\/:";

size_t ExtensionStart(std::string_view path) {
    const size_t dot = SjisLastDelimiter(path, ".\\/:");
    if (dot == std::string_view::npos || path[dot] != '.') return path.size();
    return dot;
}
}  // namespace

std::string ExtractFilePath(std::string_view path) {
    const size_t pos = SjisLastDelimiter(path, kPathDelimiters);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ExtractFileName(std::string_view path) {
    const size_t pos = SjisLastDelimiter(path, kPathDelimiters);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFileExt(std::string_view path) {
    return std::string(path.substr(ExtensionStart(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
    return std::string(path.substr(0, ExtensionStart(path))) + std::string(extension);
}

bool ClimbsAboveFolder(std::string_view name) {
    size_t start = 0;
    const std::vector<size_t> starts = SjisCharStarts(name);
    for (size_t k = 0; k <= starts.size(); ++k) {
        const size_t pos = k < starts.size() ? starts[k] : name.size();
        if (k < starts.size() && name[pos] != '\\' && name[pos] != '/') continue;
        if (name.substr(start, pos - start) == "..") return true;
        start = pos + 1;
    }
    return false;
}

}  // namespace tova
