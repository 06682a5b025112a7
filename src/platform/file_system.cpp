#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"

namespace tova {
namespace {

// Host names are UTF-8, so folding the ASCII letters alone never touches a
// byte of a multi-byte character.
std::string FoldAscii(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string JoinHost(const std::string& base, std::string_view name) {
    if (base.empty()) return std::string(name);
    std::string out = base;
    if (out.back() != '/') out.push_back('/');
    out.append(name);
    return out;
}

bool StatPath(const std::string& hostPath, struct stat& st) {
    return ::stat(hostPath.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& hostPath) {
    struct stat st;
    return StatPath(hostPath, st) && S_ISDIR(st.st_mode);
}

bool operator==(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Directory listings keyed by the directory's identity, folded name -> name
// as stored. A listing is re-read when the directory's modification time
// changes. File systems stamp times with a coarse clock (up to two seconds on
// FAT), so a listing read shortly after the last change may have missed a
// later change that got the same stamp; such a "racy" listing is re-read on
// a miss until one is read well after the stamp.
class TDirectoryCache {
public:
    std::optional<std::string> Find(const std::string& hostDir, std::string_view name) {
        const std::string dir = hostDir.empty() ? std::string(".") : hostDir;
        struct stat st;
        if (!StatPath(dir, st) || !S_ISDIR(st.st_mode)) return std::nullopt;
        const TKey key{st.st_dev, st.st_ino};
        const std::string folded = FoldAscii(name);
        {
            std::lock_guard lock(mutex_);
            const auto it = listings_.find(key);
            if (it != listings_.end() && it->second.mtime == st.st_mtim) {
                if (auto hit = Lookup(it->second, folded)) return hit;
                if (!IsRacy(it->second)) return std::nullopt;
            }
        }
        // Read outside the lock: a large directory must not stall lookups in
        // other directories made by decoder threads.
        TListing fresh = ReadListing(dir, st.st_mtim);
        auto result = Lookup(fresh, folded);
        std::lock_guard lock(mutex_);
        listings_[key] = std::move(fresh);
        return result;
    }

private:
    using TKey = std::pair<dev_t, ino_t>;
    struct TListing {
        timespec mtime{};
        timespec readTime{};
        std::unordered_map<std::string, std::string> names;
    };
    static constexpr time_t kRacySeconds = 2;

    static std::optional<std::string> Lookup(const TListing& listing, const std::string& folded) {
        const auto it = listing.names.find(folded);
        if (it == listing.names.end()) return std::nullopt;
        return it->second;
    }

    static bool IsRacy(const TListing& listing) {
        const timespec& r = listing.readTime;
        const timespec& m = listing.mtime;
        return r.tv_sec - m.tv_sec < kRacySeconds ||
               (r.tv_sec - m.tv_sec == kRacySeconds && r.tv_nsec <= m.tv_nsec);
    }

    static TListing ReadListing(const std::string& dir, const timespec& mtime) {
        TListing listing;
        listing.mtime = mtime;
        // Taken before reading, so a change during the read counts as racy.
        clock_gettime(CLOCK_REALTIME, &listing.readTime);
        DIR* handle = ::opendir(dir.c_str());
        if (!handle) return listing;
        while (const dirent* entry = ::readdir(handle)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            // Names that differ only in case: take the smallest, so the
            // choice does not depend on the host's listing order.
            auto [it, inserted] = listing.names.emplace(FoldAscii(name), name);
            if (!inserted && name < it->second) it->second = name;
        }
        ::closedir(handle);
        return listing;
    }

    std::mutex mutex_;
    std::map<TKey, TListing> listings_;
};

TDirectoryCache& DirectoryCache() {
    static TDirectoryCache cache;
    return cache;
}

// A host path split into the part that exists (matched case-insensitively)
// and the components after the first one that could not be found.
struct TResolvedPath {
    std::string existing;
    std::vector<std::string> missing;
    bool trailingDelimiter = false;
};

TResolvedPath ResolveHostPath(const std::string& hostPath) {
    TResolvedPath result;
    if (hostPath.empty()) return result;
    // Appended rather than assigned from a literal: GCC 12 at -O3 inlines
    // the literal assignment into a memcpy whose overlap it cannot rule out
    // and reports a -Wrestrict that cannot happen (GCC bug 105329).
    if (hostPath.front() == '/') result.existing.push_back('/');
    result.trailingDelimiter = hostPath.back() == '/';
    size_t pos = 0;
    while (pos < hostPath.size()) {
        size_t end = hostPath.find('/', pos);
        if (end == std::string::npos) end = hostPath.size();
        const std::string component = hostPath.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty()) continue;
        if (!result.missing.empty()) {
            result.missing.push_back(component);
            continue;
        }
        const std::string exact = JoinHost(result.existing, component);
        struct stat st;
        if (component == "." || component == ".." || StatPath(exact, st)) {
            result.existing = exact;
        } else if (auto match = DirectoryCache().Find(result.existing, component)) {
            result.existing = JoinHost(result.existing, *match);
        } else {
            result.missing.push_back(component);
        }
    }
    return result;
}

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

std::optional<struct stat> StatProgramPath(std::string_view programPath) {
    const auto hostPath = FindHostPath(programPath);
    struct stat st;
    if (!hostPath || !StatPath(*hostPath, st)) return std::nullopt;
    return st;
}

std::optional<struct stat> StatRegularFile(std::string_view programPath) {
    auto st = StatProgramPath(programPath);
    if (st && !S_ISREG(st->st_mode)) return std::nullopt;
    return st;
}

// Decodes the octal escapes (\040 for a space) of a mounts table field.
std::string DecodeMountField(std::string_view field) {
    const auto isOctal = [&](size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(value & 0xFF));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

}  // namespace

bool IsPathDelimiter(char c) {
    return c == '\\' || c == '/';
}

std::string IncludeTrailingDelimiter(std::string path) {
    if (path.empty()) return path;
    // The last character, not the last byte: 0x5C is also a trail byte.
    size_t last = 0;
    for (size_t pos = 0; pos < path.size(); pos += SjisCharLength(path, pos))
        last = pos;
    if (last + 1 == path.size() && IsPathDelimiter(path[last])) return path;
    path.push_back('\\');
    return path;
}

std::string ToHostPath(std::string_view programPath) {
    // After the conversion a backslash can only be a real one, never the
    // trail byte of a double-byte character.
    std::string out = Cp932ToUtf8(programPath);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string FromHostPath(std::string_view hostPath) {
    try {
        return Utf8ToCp932(hostPath);
    } catch (const ETovaError&) {
        // A lossy spelling ("out??") would name another file, or none.
        throw ETovaError(Utf8ToCp932Lossy("the host path '" + std::string(hostPath) +
                                          "' cannot be written in code page 932; rename it"));
    }
}

std::optional<std::string> FindHostPath(std::string_view programPath) {
    const std::string direct = ToHostPath(programPath);
    struct stat st;
    if (direct.empty()) return std::nullopt;
    if (StatPath(direct, st)) return direct;
    const TResolvedPath resolved = ResolveHostPath(direct);
    if (!resolved.missing.empty()) return std::nullopt;
    std::string path = resolved.trailingDelimiter ? WithTrailingSlash(resolved.existing) : resolved.existing;
    // A cached listing can still name an entry removed since; report only
    // what exists now.
    if (!StatPath(path, st)) return std::nullopt;
    return path;
}

std::string HostPathForCreate(std::string_view programPath) {
    const std::string direct = ToHostPath(programPath);
    struct stat st;
    if (direct.empty() || StatPath(direct, st)) return direct;
    const TResolvedPath resolved = ResolveHostPath(direct);
    std::string path = resolved.existing;
    for (const std::string& component : resolved.missing)
        path = JoinHost(path, component);
    return resolved.trailingDelimiter ? WithTrailingSlash(path) : path;
}

bool FileExists(std::string_view programPath) {
    return StatRegularFile(programPath).has_value();
}

bool FileExistsWithin(std::string_view programFolder, std::string_view name) {
    const auto folder = FindHostPath(programFolder);
    const auto file = FindHostPath(std::string(programFolder) + std::string(name));
    if (!folder || !file) return false;
    const auto real = [](const std::string& hostPath) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(hostPath.c_str(), nullptr),
                                                             &std::free);
        return resolved ? std::optional<std::string>(resolved.get()) : std::nullopt;
    };
    const auto realFolder = real(*folder);
    const auto realFile = real(*file);
    if (!realFolder || !realFile) return false;
    const std::string below = WithTrailingSlash(*realFolder);
    struct stat st;
    return realFile->compare(0, below.size(), below) == 0 && StatPath(*realFile, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view programPath) {
    const auto st = StatProgramPath(programPath);
    return st && S_ISDIR(st->st_mode);
}

std::optional<int64_t> FileSize(std::string_view programPath) {
    const auto st = StatRegularFile(programPath);
    if (!st) return std::nullopt;
    return static_cast<int64_t>(st->st_size);
}

uint32_t FileAgeDos(std::string_view programPath) {
    const auto st = StatRegularFile(programPath);
    if (!st) return 0;
    return UnixTimeToDos(static_cast<int64_t>(st->st_mtim.tv_sec));
}

uint32_t UnixTimeToDos(int64_t unixTime) {
    constexpr uint32_t kFirstDay = (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
    const auto seconds = static_cast<time_t>(unixTime);
    tm local{};
    if (!localtime_r(&seconds, &local) || local.tm_year + 1900 < 1980) return kFirstDay;
    // Seven bits of year reach 2107; later times keep the last representable second.
    if (local.tm_year + 1900 > 2107) return (127u << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u);
    const auto date =
        static_cast<uint32_t>((local.tm_year + 1900 - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    const auto time = static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    return date << 16 | time;
}

bool DeleteFileAt(std::string_view programPath) {
    // Not FindHostPath: it follows links, so a dangling one would stay.
    const std::string hostPath = HostPathForCreate(programPath);
    return !hostPath.empty() && ::unlink(hostPath.c_str()) == 0;
}

bool RenameFileAt(std::string_view from, std::string_view to) {
    const auto source = FindHostPath(from);
    if (!source) return false;
    const std::string target = HostPathForCreate(to);
    return !target.empty() && std::rename(source->c_str(), target.c_str()) == 0;
}

bool SyncFolderOf(std::string_view programPath) {
    const auto hostPath = FindHostPath(programPath);
    if (!hostPath) return false;
    const size_t slash = hostPath->rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : hostPath->substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

bool ForceDirectories(std::string_view programPath) {
    const std::string hostPath = HostPathForCreate(programPath);
    if (hostPath.empty()) return false;
    for (size_t pos = hostPath.find('/', 1); pos != std::string::npos; pos = hostPath.find('/', pos + 1))
        ::mkdir(hostPath.substr(0, pos).c_str(), 0777);
    ::mkdir(hostPath.c_str(), 0777);
    return IsDirectory(hostPath);
}

void ClearReadOnly(std::string_view programPath) {
    const auto hostPath = FindHostPath(programPath);
    struct stat st;
    if (hostPath && StatPath(*hostPath, st) && !(st.st_mode & S_IWUSR))
        ::chmod(hostPath->c_str(), (st.st_mode & 07777) | S_IWUSR);
}

std::vector<std::string> ListDirectoryFiles(std::string_view programDir) {
    std::vector<std::string> files;
    const auto hostDir = FindHostPath(programDir);
    if (!hostDir) return files;
    DIR* handle = ::opendir(hostDir->c_str());
    if (!handle) return files;
    while (const dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (entry->d_type != DT_REG) {
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
            struct stat st;
            if (!StatPath(JoinHost(*hostDir, name), st) || !S_ISREG(st.st_mode)) continue;
        }
        // A name code page 932 cannot spell could never be opened again
        // through a program path, so it is left out rather than garbled.
        try {
            files.push_back(Utf8ToCp932(name));
        } catch (const ETovaError&) {
        }
    }
    ::closedir(handle);
    return files;
}

std::string TempDirectory() {
    const char* tmpDir = std::getenv("TMPDIR");
    std::string dir = tmpDir && *tmpDir && IsDirectory(tmpDir) ? std::string(tmpDir) : std::string("/tmp");
    return FromHostPath(WithTrailingSlash(std::move(dir)));
}

std::string MakePrivateTempFolder(std::string_view prefix) {
    std::string pattern = ToHostPath(TempDirectory()) + Cp932ToUtf8(prefix) + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw ETovaError(
            Utf8ToCp932Lossy("cannot make a temporary folder '" + pattern + "': " + std::strerror(errno)));
    return FromHostPath(pattern + "/");
}

std::string TemporaryName(std::string_view path) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    // Seeded once: safety rests on the exclusive creation, the randomness
    // only keeps names from meeting.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string name(path);
    name.push_back('.');
    for (int i = 0; i < 6; ++i)
        name.push_back(kLetters[generator() % (sizeof kLetters - 1)]);
    return name + ".$$$";
}

std::vector<std::string> ParseCdRoots(std::string_view mountsTable) {
    std::vector<std::string> roots;
    std::istringstream lines{std::string(mountsTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType;
        if (!(fields >> device >> mountPoint >> fsType)) continue;
        if (fsType != "iso9660" && fsType != "udf") continue;
        // A disc whose mount point code page 932 cannot spell is left out.
        try {
            roots.push_back(FromHostPath(WithTrailingSlash(DecodeMountField(mountPoint))));
        } catch (const ETovaError&) {
        }
    }
    return roots;
}

std::vector<std::string> CdRoots() {
    std::ifstream mounts("/proc/self/mounts");
    if (!mounts) return {};
    std::ostringstream table;
    table << mounts.rdbuf();
    return ParseCdRoots(table.str());
}

}  // namespace tova
