#include "platform/executable_path.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tova {
namespace {

// The mounts table writes a space, tab, newline and backslash in a field as
// a backslash and three octal digits.
std::string DecodeOctalEscapes(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
                            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
                            field[i + 3] >= '0' && field[i + 3] <= '7';
        if (escape) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

// Whether mountPoint is path itself or one of its leading folders.
bool Contains(std::string_view mountPoint, std::string_view path) {
    if (mountPoint == "/") return !path.empty() && path.front() == '/';
    if (!path.starts_with(mountPoint)) return false;
    return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

std::string ExecutableHostPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string MountTypeOf(std::string_view hostPath, std::string_view mountsTable) {
    std::istringstream lines{std::string(mountsTable)};
    std::string line, type;
    size_t best = 0;
    bool found = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType;
        if (!(fields >> device >> mountPoint >> fsType)) continue;
        mountPoint = DecodeOctalEscapes(mountPoint);
        // A later mount over the same point hides the earlier one, so ties go
        // to the later line.
        if (Contains(mountPoint, hostPath) && (!found || mountPoint.size() >= best)) {
            best = mountPoint.size();
            type = fsType;
            found = true;
        }
    }
    return type;
}

bool IsCdRomFileSystem(std::string_view fsType) {
    return fsType == "iso9660" || fsType == "udf";
}

bool LiesOnCdRom(std::string_view hostPath) {
    std::ifstream mounts("/proc/self/mounts");
    if (!mounts) return false;
    std::ostringstream table;
    table << mounts.rdbuf();
    return IsCdRomFileSystem(MountTypeOf(hostPath, table.str()));
}

}  // namespace tova
