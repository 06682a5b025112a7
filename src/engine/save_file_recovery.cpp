#include "engine/save_file_recovery.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "platform/file_system.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"

namespace tova {
namespace {

// How many numbered names are tried when the plain damaged name is taken.
constexpr int kMaxDamagedNames = 100;

// The real path of a program path, as the user sees it in a shell.
std::string ShownPath(std::string_view programPath) {
    return ToHostPath(programPath);
}

// A damaged name for path that no file has yet.
std::string FreeDamagedName(const std::string& path) {
    const std::string base = DamagedName(path, LocalNow());
    std::string candidate = base;
    for (int n = 2; n <= kMaxDamagedNames; ++n) {
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(ToHostPath(candidate), error)))
            return candidate;
        candidate = base + "-" + std::to_string(n);
    }
    throw ETovaError(ShownPath(path) + ": no free name to keep the damaged file under");
}

// What is kept of a damaged entry: its content when it still inflates,
// else its stored bytes as they are.
std::vector<uint8_t> KeptContent(TVrFileCollection& saveFile, std::string_view entryName) {
    try {
        TTpMemoryStream content;
        saveFile.ReadEntry(content, entryName);
        return content.Bytes();
    } catch (const ETovaError&) {
        std::vector<uint8_t> stored;
        if (const auto range = saveFile.OpenRange(entryName)) {
            stored.resize(static_cast<size_t>(range->GetSize()));
            range->ReadBuffer(stored.data(), static_cast<int64_t>(stored.size()));
        }
        return stored;
    }
}

}  // namespace

std::string DamagedName(std::string_view name, const TLocalDateTime& when) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, ".damaged-%04d%02d%02d-%02d%02d%02d", when.Year, when.Month, when.Day,
                  when.Hour, when.Min, when.Sec);
    return std::string(name) + stamp;
}

void OpenSaveFile(TVrFileCollection& saveFile, const std::string& path, std::ostream& report) {
    try {
        saveFile.Open(path);
        return;
    } catch (const ETovaError& e) {
        saveFile.Open("");  // lets go of the damaged file
        const std::string aside = FreeDamagedName(path);
        if (!RenameFileAt(path, aside))
            throw ETovaError(ShownPath(path) + " is damaged (" + Cp932ToUtf8(e.Message()) +
                             ") and could not be moved aside");
        report << "tovaplayer: " << ShownPath(path) << " is damaged (" << Cp932ToUtf8(e.Message())
               << "); it was kept as " << ShownPath(aside) << " and the game starts afresh\n";
    }
}

void KeepDamagedCopy(const std::string& path, std::ostream& report) {
    const std::string copy = FreeDamagedName(path);
    std::error_code error;
    std::filesystem::copy_file(ToHostPath(path), ToHostPath(copy), error);
    if (error) {
        report << "tovaplayer: the status record in " << ShownPath(path)
               << " is damaged and a copy could not be kept: " << error.message() << "\n";
        return;
    }
    report << "tovaplayer: the status record in " << ShownPath(path)
           << " is damaged and will be written anew; "
           << "the file was copied to " << ShownPath(copy) << "\n";
}

bool SetDamagedEntriesAside(const std::string& path, const std::vector<std::string>& entryNames,
                            std::ostream& report) {
    if (entryNames.empty()) return true;
    const TLocalDateTime now = LocalNow();
    try {
        TTpBigMemoryStream image;
        {
            TVrFileCollection saveFile;
            saveFile.Open(path);
            for (const std::string& entryName : entryNames) {
                const std::string asideName = DamagedName(entryName, now);
                const std::vector<uint8_t> kept = KeptContent(saveFile, entryName);
                saveFile.RemoveFile(entryName);
                saveFile.RemoveFile(asideName);
                saveFile.AddMemoryFile(asideName)->Data->Assign(kept);
            }
            saveFile.SaveToStream(image);
        }
        image.SaveToFile(path);
    } catch (const ETovaError& e) {
        report << "tovaplayer: " << ShownPath(path)
               << ": the damaged saved games could not be set aside: " << Cp932ToUtf8(e.Message()) << "\n";
        return false;
    }
    for (const std::string& entryName : entryNames)
        report << "tovaplayer: " << ShownPath(path) << ": the saved game " << Cp932ToUtf8(entryName)
               << " is damaged; it was kept as " << Cp932ToUtf8(DamagedName(entryName, now))
               << " and its slot is free\n";
    return true;
}

bool WriteSaveFile(TTpBigMemoryStream& image, const std::string& path, std::ostream& report) {
    try {
        if (!DirectoryExists(ExtractFilePath(path))) throw ETovaError("its folder does not exist");
        image.SaveToFile(path);
        return true;
    } catch (const ETovaError& e) {
        report << "tovaplayer: " << ShownPath(path) << " could not be written: " << Cp932ToUtf8(e.Message())
               << "\n";
        return false;
    }
}

}  // namespace tova
