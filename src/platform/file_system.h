// Files on the host, named the way the game data names them.
//
// A program path is a code page 932 string whose components are separated by
// '\' or '/'; relative names from the game data come with backslashes and in
// whatever letter case the author typed. A program path is mapped to a host
// path by converting it to UTF-8 with '/' separators; when that does not
// exist, each component is matched without regard to (ASCII) case against the
// directory's listing, which is cached per directory and re-read when the
// directory's modification time changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

bool IsPathDelimiter(char c);
// Appends '\' unless the path is empty or already ends with '\' or '/'.
std::string IncludeTrailingDelimiter(std::string path);

// The plain mapping: UTF-8, '\' becoming '/'. No lookup.
std::string ToHostPath(std::string_view programPath);
// The reverse: UTF-8 to code page 932, '/' kept. Throws ETovaError naming
// the path when code page 932 cannot spell it: a lossy spelling would name
// another file.
std::string FromHostPath(std::string_view hostPath);

// The host path of an existing file or directory, found case-insensitively.
std::optional<std::string> FindHostPath(std::string_view programPath);
// A host path to create a file at: the existing directories are found
// case-insensitively, the missing rest is taken as written.
std::string HostPathForCreate(std::string_view programPath);

bool FileExists(std::string_view programPath);  // a regular file
// Whether folder + name is a regular file that, with every link on the way
// resolved, still lies below the folder (itself resolved): a game's folder
// may link among its own files, never to a file elsewhere on the machine.
bool FileExistsWithin(std::string_view programFolder, std::string_view name);
bool DirectoryExists(std::string_view programPath);  // a directory
std::optional<int64_t> FileSize(std::string_view programPath);
// The modification time as a packed DOS date and time (date in the high 16
// bits, local time), or 0 when the file does not exist.
uint32_t FileAgeDos(std::string_view programPath);
// Converts a Unix time to a packed DOS date and time in local time.
uint32_t UnixTimeToDos(int64_t unixTime);
// Removes a file, or a link itself (never what it points to).
bool DeleteFileAt(std::string_view programPath);
// Renames over an existing target, atomically.
bool RenameFileAt(std::string_view from, std::string_view to);
// Forces the folder holding an existing file to the disk (after a rename
// into it, so that the new name survives a crash).
bool SyncFolderOf(std::string_view programPath);
// Creates the directory and its missing parents.
bool ForceDirectories(std::string_view programPath);
// Makes a file writable by its owner again (the "clear read-only" of the data).
void ClearReadOnly(std::string_view programPath);

// The regular files (no directories) directly inside a directory, names in
// code page 932, in the order the host lists them. Empty when it is missing.
std::vector<std::string> ListDirectoryFiles(std::string_view programDir);

// The system temporary folder ($TMPDIR, else /tmp) with a trailing '/'.
std::string TempDirectory();
// A new folder below TempDirectory() named prefix + six random characters,
// open to this user only (mode 0700) and made by this call (mkdtemp), so
// nothing another user planted can stand in it; a program path with a
// trailing '/'. Throws ETovaError when it cannot be made.
std::string MakePrivateTempFolder(std::string_view prefix);

// A name for a temporary file beside path: path + "." + six random letters
// and digits + ".$$$". A fixed name could be a link planted by someone else,
// so temporaries are always made under a fresh one and created exclusively
// (a name that is taken after all is given up for another).
std::string TemporaryName(std::string_view path);

// Mount points of iso9660 and udf file systems, each with a trailing '/',
// as read from a mounts table (the format of /proc/self/mounts).
std::vector<std::string> ParseCdRoots(std::string_view mountsTable);
std::vector<std::string> CdRoots();

}  // namespace tova
