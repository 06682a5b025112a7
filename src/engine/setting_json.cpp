// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include "engine/setting_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "core/json_text.h"

namespace tova {
namespace {

std::string Quote(std::string_view cp932) {
    return JsonString(cp932);
}

// The shortest text that reads back to the same value; JSON has no numbers
// for infinities and NaN, so those become the strings JavaScript prints.
std::string RealToJson(long double value) {
    if (std::isnan(value)) return "\"NaN\"";
    if (std::isinf(value)) return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ValueToJson(const TParamData::TValue& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) return "null";
            if constexpr (std::is_same_v<T, int32_t>) return std::to_string(v);
            if constexpr (std::is_same_v<T, long double>) return RealToJson(v);
            if constexpr (std::is_same_v<T, bool>) return v ? "true" : "false";
            if constexpr (std::is_same_v<T, std::string>) return Quote(v);
        },
        value);
}

// The fields of an object, one per line.
class TJsonObject {
public:
    void AddRaw(std::string_view name, const std::string& json) {
        fields_ += fields_.empty() ? "" : ",\n";
        fields_ += "  \"";
        fields_ += name;
        fields_ += "\": ";
        fields_ += json;
    }
    void AddNumber(std::string_view name, int64_t number) { AddRaw(name, std::to_string(number)); }
    void AddString(std::string_view name, std::string_view cp932) { AddRaw(name, Quote(cp932)); }
    void AddBool(std::string_view name, bool flag) { AddRaw(name, flag ? "true" : "false"); }

    std::string Text() const { return "{\n" + fields_ + "\n}\n"; }

private:
    std::string fields_;
};

// A JSON array whose items stand one per line, indented below a field.
std::string ItemLines(const std::vector<std::string>& items) {
    if (items.empty()) return "[]";
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "\n    " : ",\n    ") + items[i];
    return out + "\n  ]";
}

}  // namespace

std::string ProjectSettingToJson(const TProjectSetting& setting) {
    TJsonObject json;
    json.AddNumber("Version", setting.Version);
    json.AddString("Title", setting.Title);
    json.AddNumber("Width", setting.Width);
    json.AddNumber("Height", setting.Height);
    json.AddNumber("ScreenParamA", setting.ScreenParamA);
    json.AddNumber("ScreenParamB", setting.ScreenParamB);
    json.AddString("StartPage", setting.StartPage);
    json.AddString("EndPage", setting.EndPage);
    json.AddString("RegistryKey", setting.RegistryKey);
    json.AddNumber("ImageKey", setting.ImageKey);
    json.AddNumber("WriteStatus", setting.WriteStatus);
    json.AddNumber("IdleSleep", setting.IdleSleep);
    json.AddString("MediaExtensions", setting.MediaExtensions);
    json.AddNumber("PauseWhenInactive", setting.PauseWhenInactive);
    json.AddNumber("Reserved114", setting.Reserved114);
    json.AddRaw("Messages", "[" + Quote(setting.Messages[0]) + ", " + Quote(setting.Messages[1]) + "]");

    std::vector<std::string> variables;
    for (const TParamData& data : setting.ProjectVariables)
        variables.push_back("{\"Type\": " + std::to_string(data.Type) + ", \"Name\": " + Quote(data.Name) +
                            ", \"Value\": " + ValueToJson(data.Value) + "}");
    json.AddRaw("ProjectVariables", ItemLines(variables));

    std::vector<std::string> folders;
    for (const TFolderDisk& item : setting.FolderDisks.Items)
        folders.push_back("{\"Folder\": " + Quote(item.Folder) + ", \"Disc\": " + std::to_string(item.Disc) +
                          "}");
    json.AddRaw("FolderDisks", ItemLines(folders));
    return json.Text();
}

std::string InstallSetToJson(const TTovaInstallSet& installSet) {
    TJsonObject json;
    json.AddNumber("Version", installSet.Version);
    json.AddString("Title", installSet.Title);
    json.AddBool("DataInstalled", installSet.DataInstalled);
    return json.Text();
}

}  // namespace tova
