// File name functions. Only '\' and ':' separate folders here (script file
// names are Windows names); the scans are double-byte aware, so a trail byte
// of value 0x5C is never taken for a backslash.
#include <algorithm>
#include <vector>

#include "core/path_names.h"
#include "core/sjis.h"
#include "expr/sys_func_pure.h"

namespace tova::pure {
namespace {

constexpr std::string_view kFolderDelimiters = "\\:";

// Start of the extension (its full stop), or the text's end when the name has none.
size_t ExtensionStart(std::string_view path) {
    const size_t dot = SjisLastDelimiter(path, ".\\:");
    return dot == std::string_view::npos || path[dot] != '.' ? path.size() : dot;
}

bool IsCharStart(std::string_view s, size_t offset) {
    const std::vector<size_t> starts = SjisCharStarts(s);
    return std::binary_search(starts.begin(), starts.end(), offset);
}

}  // namespace

void ExtractFilePath(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    const size_t pos = SjisLastDelimiter(path, kFolderDelimiters);
    if (pos != std::string_view::npos) call.Target.SetStr(path.substr(0, pos + 1));
}

void ExtractFileName(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    const size_t pos = SjisLastDelimiter(path, kFolderDelimiters);
    call.Target.SetStr(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

void ExtractFileExt(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    call.Target.SetStr(path.substr(ExtensionStart(path)));
}

void ChangeFileExt(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    call.Target.SetStr(path.substr(0, ExtensionStart(path)) + TextArg(call, 2));
}

void IsPathDelimiter(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    const int32_t position = IntArg(call, 2);
    if (position < 1 || static_cast<size_t>(position) > path.size()) return;
    const auto offset = static_cast<size_t>(position) - 1;
    call.Target.SetBool(path[offset] == '\\' && IsCharStart(path, offset));
}

void AddBackSlash(TSysCall& call) {
    const std::string path = TextArg(call, 1);
    const bool endsWithBackslash = !path.empty() && path.back() == '\\' && IsCharStart(path, path.size() - 1);
    call.Target.SetStr(endsWithBackslash ? path : path + '\\');
}

}  // namespace tova::pure
