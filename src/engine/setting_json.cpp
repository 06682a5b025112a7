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
#include "expr/param_types.h"

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
    json.AddNumber("version", setting.Version);
    json.AddString("title", setting.Title);
    json.AddString("start_page", setting.StartPage);
    json.AddString("end_page", setting.EndPage);
    json.AddNumber("width", setting.Width);
    json.AddNumber("height", setting.Height);
    json.AddNumber("screen_param_a", setting.ScreenParamA);
    json.AddNumber("screen_param_b", setting.ScreenParamB);
    json.AddString("registry_key", setting.RegistryKey);
    json.AddNumber("image_key", setting.ImageKey);
    json.AddBool("write_status", setting.WriteStatus != 0);
    json.AddBool("idle_sleep", setting.IdleSleep != 0);
    json.AddString("media_extensions", setting.MediaExtensions);
    json.AddBool("pause_when_inactive", setting.PauseWhenInactive != 0);
    json.AddNumber("reserved_114", setting.Reserved114);
    json.AddString("disc_message", setting.Messages[0]);
    json.AddString("quit_message", setting.Messages[1]);

    std::vector<std::string> variables;
    for (const TParamData& data : setting.ProjectVariables) {
        const bool named = data.Type >= PT_NONE && data.Type <= PT_STR;
        variables.push_back(
            "{\"name\": " + Quote(data.Name) + ", \"type\": " +
            (named ? "\"" + std::string(ParamTypeShortName(data.Type)) + "\"" : std::to_string(data.Type)) +
            ", \"value\": " + ValueToJson(data.Value) + "}");
    }
    json.AddRaw("variables", ItemLines(variables));

    std::vector<std::string> folders;
    for (const TFolderDisk& item : setting.FolderDisks.Items)
        folders.push_back("{\"folder\": " + Quote(item.Folder) + ", \"disc\": " + std::to_string(item.Disc) +
                          "}");
    json.AddRaw("discs", ItemLines(folders));
    return json.Text();
}

std::string InstallSetToJson(const TTovaInstallSet& installSet) {
    TJsonObject json;
    json.AddNumber("version", installSet.Version);
    json.AddString("title", installSet.Title);
    json.AddBool("data_installed", installSet.DataInstalled);
    return json.Text();
}

}  // namespace tova
