// The project settings file "tova.tpb": the game's title, screen size, first
// and last pages, the project variables that exist from the start of every
// run and the list of which data disc holds which folder. The reader knows
// every version up to MaxVersion; the writer produces MaxVersion.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/stream.h"

namespace tova {

// One project variable definition. Type is the value type code (1 integer,
// 2 real, 3 boolean, 4 string); Value holds int32_t, long double, bool or
// std::string for those codes, and nothing for any other code, which stores
// no value bytes.
struct TParamData {
    using TValue = std::variant<std::monostate, int32_t, long double, bool, std::string>;

    uint8_t Type = 0;
    std::string Name;
    TValue Value;

    bool operator==(const TParamData&) const = default;
};

struct TFolderDisk {
    std::string Folder;
    int32_t Disc = 0;  // 1-based

    bool operator==(const TFolderDisk&) const = default;
};

// Which data disc holds which folder of the game data.
class TFolderDiskList {
public:
    std::vector<TFolderDisk> Items;

    // The disc of a virtual file name: the name itself and then each of its
    // parent folders is compared, case-insensitively and with a trailing
    // backslash on both sides, with every folder of the list; the first
    // match gives the disc, none gives 0.
    int32_t Lookup(std::string_view fileName) const;

    bool operator==(const TFolderDiskList&) const = default;
};

class TProjectSetting {
public:
    static constexpr int32_t MaxVersion = 114;
    // What files older than the MediaExtensions field count as media files.
    static constexpr std::string_view DefaultMediaExtensions = ".wav.wma.ogg.mid";

    int32_t Version = MaxVersion;
    std::string Title;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ScreenParamA = 0;
    int32_t ScreenParamB = 0;
    std::string StartPage;
    std::string EndPage;  // empty: no end page
    std::string RegistryKey;
    int32_t ImageKey = 0;
    uint8_t WriteStatus = 0;
    uint8_t IdleSleep = 0;
    std::string MediaExtensions{DefaultMediaExtensions};
    uint8_t PauseWhenInactive = 0;
    uint8_t Reserved114 = 0;
    std::array<std::string, 2> Messages;
    std::vector<TParamData> ProjectVariables;
    TFolderDiskList FolderDisks;

    // Reads from the stream's position; the fields a file's version lacks get
    // their defaults. A version above MaxVersion raises an ETovaError with the
    // message "このバージョンには対応していません"; damaged or truncated data
    // raises an ETovaError that says so. The fields are left unchanged then.
    void LoadFromStream(TStream& stream);

    // Writes every field as version MaxVersion, whatever Version holds. A
    // project variable whose Value does not match its Type raises ETovaError.
    void SaveToStream(TStream& stream) const;

    bool operator==(const TProjectSetting&) const = default;
};

}  // namespace tova
