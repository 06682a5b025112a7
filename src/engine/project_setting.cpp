#include "engine/project_setting.h"

#include <type_traits>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/path_names.h"
#include "core/sjis.h"

namespace tova {
namespace {

// Value type codes that store a value after the name.
constexpr uint8_t TypeInt = 1;
constexpr uint8_t TypeReal = 2;
constexpr uint8_t TypeBool = 3;
constexpr uint8_t TypeString = 4;

// A count of items that take at least itemSize bytes each must fit in what is
// left, so that a damaged count fails at once.
int32_t ReadCount(TStream& s, int64_t itemSize, const char* what) {
    const int32_t count = ReadI32(s);
    if (count < 0 || count > s.Remaining() / itemSize)
        throw ETovaError(std::string("a count of ") + std::to_string(count) + " " + what +
                         " does not fit in the " + std::to_string(s.Remaining()) + " bytes left");
    return count;
}

TParamData ReadParamData(TStream& s) {
    TParamData data;
    data.Type = ReadU8(s);
    data.Name = ReadString(s);
    switch (data.Type) {
        case TypeInt:
            data.Value = ReadI32(s);
            break;
        case TypeReal:
            data.Value = ReadExtended(s);
            break;
        case TypeBool:
            data.Value = ReadBool(s);
            break;
        case TypeString:
            data.Value = ReadString(s);
            break;
        default:
            break;
    }
    return data;
}

// The alternative of TParamData::TValue that a type code stores.
size_t ValueIndexOf(uint8_t type) {
    switch (type) {
        case TypeInt:
            return 1;
        case TypeReal:
            return 2;
        case TypeBool:
            return 3;
        case TypeString:
            return 4;
        default:
            return 0;
    }
}

void CheckParamData(const TParamData& data) {
    if (data.Value.index() != ValueIndexOf(data.Type))
        throw ETovaError("project variable \"" + data.Name + "\": the value does not match type " +
                         std::to_string(data.Type));
}

void WriteParamData(TStream& s, const TParamData& data) {
    WriteU8(s, data.Type);
    WriteString(s, data.Name);
    std::visit(
        [&s](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int32_t>) WriteI32(s, value);
            if constexpr (std::is_same_v<T, long double>) WriteExtended(s, value);
            if constexpr (std::is_same_v<T, bool>) WriteBool(s, value);
            if constexpr (std::is_same_v<T, std::string>) WriteString(s, value);
        },
        data.Value);
}

TFolderDiskList ReadFolderDisks(TStream& s) {
    TFolderDiskList list;
    const int32_t count = ReadCount(s, 8, "folders");
    list.Items.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        TFolderDisk item;
        item.Folder = ReadString(s);
        item.Disc = ReadI32(s);
        list.Items.push_back(std::move(item));
    }
    return list;
}

std::string WithTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || SjisLastDelimiter(result, "\\") != result.size() - 1) result.push_back('\\');
    return result;
}

}  // namespace

int32_t TFolderDiskList::Lookup(std::string_view fileName) const {
    std::string candidate = SjisUpperCase(fileName);
    for (;;) {
        const std::string folder = WithTrailingBackslash(candidate);
        for (const TFolderDisk& item : Items)
            if (SjisSameText(folder, WithTrailingBackslash(item.Folder))) return item.Disc;
        const size_t cut = SjisLastDelimiter(candidate, "\\");
        if (cut == std::string_view::npos) return 0;
        candidate.resize(cut);
    }
}

void TProjectSetting::LoadFromStream(TStream& stream) {
    TProjectSetting read;
    try {
        read.Version = ReadI32(stream);
    } catch (const ETovaError& e) {
        throw ETovaError(TErrorKind::DamagedSettings, "damaged project settings: " + e.Message());
    }
    if (read.Version > MaxVersion) throw ETovaError(SysText("このバージョンには対応していません"));

    try {
        read.Title = ReadString(stream);
        read.Width = ReadI32(stream);
        read.Height = ReadI32(stream);
        read.ScreenParamA = ReadI32(stream);
        read.ScreenParamB = ReadI32(stream);
        read.StartPage = ReadString(stream);
        if (read.Version >= 110) read.EndPage = ReadString(stream);
        read.RegistryKey = ReadString(stream);
        read.ImageKey = ReadI32(stream);
        if (read.Version > 103) read.WriteStatus = ReadU8(stream);
        if (read.Version >= 106) read.IdleSleep = ReadU8(stream);
        if (read.Version >= 109) read.MediaExtensions = ReadString(stream);
        if (read.Version >= 113) read.PauseWhenInactive = ReadU8(stream);
        if (read.Version >= 114) read.Reserved114 = ReadU8(stream);
        for (std::string& message : read.Messages)
            message = ReadString(stream);

        const int32_t count = ReadCount(stream, 5, "project variables");
        read.ProjectVariables.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            read.ProjectVariables.push_back(ReadParamData(stream));
        read.FolderDisks = ReadFolderDisks(stream);
    } catch (const ETovaError& e) {
        throw ETovaError(TErrorKind::DamagedSettings, "damaged project settings: " + e.Message());
    }
    *this = std::move(read);
}

void TProjectSetting::SaveToStream(TStream& stream) const {
    for (const TParamData& data : ProjectVariables)
        CheckParamData(data);
    WriteI32(stream, MaxVersion);
    WriteString(stream, Title);
    WriteI32(stream, Width);
    WriteI32(stream, Height);
    WriteI32(stream, ScreenParamA);
    WriteI32(stream, ScreenParamB);
    WriteString(stream, StartPage);
    WriteString(stream, EndPage);
    WriteString(stream, RegistryKey);
    WriteI32(stream, ImageKey);
    WriteU8(stream, WriteStatus);
    WriteU8(stream, IdleSleep);
    WriteString(stream, MediaExtensions);
    WriteU8(stream, PauseWhenInactive);
    WriteU8(stream, Reserved114);
    for (const std::string& message : Messages)
        WriteString(stream, message);

    WriteI32(stream, static_cast<int32_t>(ProjectVariables.size()));
    for (const TParamData& data : ProjectVariables)
        WriteParamData(stream, data);
    WriteI32(stream, static_cast<int32_t>(FolderDisks.Items.size()));
    for (const TFolderDisk& item : FolderDisks.Items) {
        WriteString(stream, item.Folder);
        WriteI32(stream, item.Disc);
    }
}

}  // namespace tova
