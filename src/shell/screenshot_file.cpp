#include "shell/screenshot_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/encoding.h"
#include "core/error.h"
#include "engine/save_path.h"
#include "graphics/image_codecs.h"
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
    std::string path = stem + ".png";
    for (int n = 2; std::filesystem::exists(path, error); ++n)
        path = stem + "-" + std::to_string(n) + ".png";

    const std::vector<uint8_t> png = EncodePng(picture.View(), nullptr);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    out.close();
    if (!out) {
        std::filesystem::remove(path, error);
        throw fail("the file '" + path + "' could not be written");
    }
    return path;
}

}  // namespace tova
