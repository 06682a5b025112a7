#include "shell/screenshot_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/save_path.h"
#include "graphics/image_codecs.h"
#include "platform/file_stream.h"
#include "platform/user_folders.h"

namespace tova {

std::string ScreenshotFolder() {
    const std::optional<std::string> pictures = UserFolder(TUserFolder::Pictures);
    return pictures ? *pictures + "/tovaplayer" : std::string();
}

std::string WriteScreenshot(const TSurface32& picture, const std::string& folder, std::string_view title,
                            const TLocalDateTime& when) {
    const auto fail = [&](const std::string& why) {
        return ETovaError(Utf8ToCp932Lossy("cannot write the screenshot into '" + folder + "': " + why));
    };
    if (folder.empty()) throw fail("no home folder is known");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw fail(error.message());

    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", when.Year, when.Month, when.Day,
                  when.Hour, when.Min, when.Sec);
    const std::string stem = folder + "/" + Cp932ToUtf8(SaveFolderName(title)) + stamp;
    const std::vector<uint8_t> png = EncodePng(picture.View(), nullptr);
    // Each name is made new: whatever stands there already, a link too,
    // makes the next name be tried, so nothing of the user's is written over.
    for (int n = 1; n < 1000; ++n) {
        // Appended piece by piece: a literal + std::string temporary makes
        // GCC 12 at -O3 report a false -Wrestrict (GCC bug 105329).
        std::string path = stem;
        if (n > 1) path.append("-").append(std::to_string(n));
        path.append(".png");
        if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found)
            continue;
        std::unique_ptr<TFileStream> file;
        try {
            file = std::make_unique<TFileStream>(Utf8ToCp932(path), fmCreateNew);
        } catch (const ETovaError& e) {
            // Taken in the meantime: the next name; else the folder refuses.
            if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found)
                continue;
            throw fail(std::string(e.what()));
        }
        try {
            file->WriteBuffer(png.data(), static_cast<int64_t>(png.size()));
            return path;
        } catch (const ETovaError& e) {
            file.reset();
            std::filesystem::remove(path, error);
            throw fail("the file '" + path + "' could not be written: " + e.what());
        }
    }
    throw fail("every name for the screenshot is taken");
}

}  // namespace tova
