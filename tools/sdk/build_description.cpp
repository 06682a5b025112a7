#include "sdk/build_description.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "objects/tova_base_list.h"
#include "sdk/build_ini.h"
#include "sdk/build_sources.h"

namespace tova::sdk {
namespace {

// The player refuses a screen larger than its surfaces can be.
constexpr int32_t kMaxScreenSide = TTovaBaseList::kMaxSide;

class TDescriptionParser {
public:
    explicit TDescriptionParser(std::string_view fileName) : fileName_(fileName) { SetDefaults(); }

    TProjectDescription Parse(std::string_view text);

private:
    using THandler = std::function<void(const TIniEntry&)>;

    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw IniError(fileName_, line, message);
    }

    void SetDefaults();
    std::map<std::string, THandler> ProjectKeys();
    void ReadProject(const TIniSection& section);
    void ReadVariables(const TIniSection& section);
    void ReadDiscs(const TIniSection& section);
    void CheckRequired(int projectLine) const;

    std::string Text(const TIniEntry& entry, std::string_view value) const;
    std::string Text(const TIniEntry& entry) const { return Text(entry, entry.Value); }
    int32_t Int(const TIniEntry& entry, std::string_view value, int64_t low, int64_t high) const;
    bool Bool(const TIniEntry& entry, std::string_view value) const;
    long double Float(const TIniEntry& entry, std::string_view value) const;
    std::string VariableName(const TIniEntry& entry) const;
    std::string FolderName(const TIniEntry& entry) const;

    std::string fileName_;
    TProjectDescription description_;
    std::map<std::string, int> projectKeysSeen_;
    std::map<std::string, int> variablesSeen_;  // folded name -> line
    std::map<std::string, int> foldersSeen_;
};

void TDescriptionParser::SetDefaults() {
    TProjectSetting& s = description_.Setting;
    s.Width = 640;
    s.Height = 480;
    s.WriteStatus = 1;
    s.IdleSleep = 1;
    s.PauseWhenInactive = 0;
    s.Messages = {SysText("ディスク%dを入れてから[OK]をクリックしてください"), SysText("終了します")};
}

std::map<std::string, TDescriptionParser::THandler> TDescriptionParser::ProjectKeys() {
    TProjectSetting& s = description_.Setting;
    const auto integer = [this](int32_t& field, int64_t low, int64_t high) {
        return [this, &field, low, high](const TIniEntry& e) { field = Int(e, e.Value, low, high); };
    };
    const auto flag = [this](uint8_t& field) {
        return [this, &field](const TIniEntry& e) { field = Bool(e, e.Value) ? 1 : 0; };
    };
    const auto text = [this](std::string& field) {
        return [this, &field](const TIniEntry& e) { field = Text(e); };
    };
    const auto page = [](TPageReference& reference) {
        return [&reference](const TIniEntry& e) { reference = {UnquoteIniValue(e.Value), e.Line}; };
    };
    return {
        {"title", text(s.Title)},
        {"start_page", page(description_.StartPage)},
        {"end_page",
         [this](const TIniEntry& e) {
             description_.EndPage = TPageReference{UnquoteIniValue(e.Value), e.Line};
             if (description_.EndPage->Name.empty()) description_.EndPage.reset();
         }},
        {"width", integer(s.Width, 1, kMaxScreenSide)},
        {"height", integer(s.Height, 1, kMaxScreenSide)},
        {"screen_param_a", integer(s.ScreenParamA, INT32_MIN, INT32_MAX)},
        {"screen_param_b", integer(s.ScreenParamB, INT32_MIN, INT32_MAX)},
        {"registry_key", text(s.RegistryKey)},
        {"image_key", integer(s.ImageKey, INT32_MIN, INT32_MAX)},
        {"write_status", flag(s.WriteStatus)},
        {"idle_sleep", flag(s.IdleSleep)},
        {"media_extensions",
         [this, &s](const TIniEntry& e) {
             s.MediaExtensions = Text(e);
             if (!s.MediaExtensions.empty() &&
                 (s.MediaExtensions.front() != '.' || s.MediaExtensions.back() == '.'))
                 Fail(e.Line, "media_extensions lists extensions with their dots, such as \".wav.ogg\"");
         }},
        {"pause_when_inactive", flag(s.PauseWhenInactive)},
        {"disc_message", text(s.Messages[0])},
        {"quit_message", text(s.Messages[1])},
    };
}

std::string TDescriptionParser::Text(const TIniEntry& entry, std::string_view value) const {
    std::string unquoted;
    try {
        unquoted = UnquoteIniValue(value);
    } catch (const std::invalid_argument& e) {
        Fail(entry.Line, "the value of \"" + entry.Key + "\": " + e.what());
    }
    try {
        return Utf8ToCp932(unquoted);
    } catch (const ETovaError&) {
        Fail(entry.Line, "the value of \"" + entry.Key + "\" cannot be written in code page 932");
    }
}

int32_t TDescriptionParser::Int(const TIniEntry& entry, std::string_view value, int64_t low,
                                int64_t high) const {
    std::string_view digits = value;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        Fail(entry.Line, "\"" + entry.Key + "\" takes a whole number, not \"" + std::string(value) + "\"");
    if (number < low || number > high)
        Fail(entry.Line, "\"" + entry.Key + "\" must lie between " + std::to_string(low) + " and " +
                             std::to_string(high) + ", not " + std::string(value));
    return static_cast<int32_t>(number);
}

bool TDescriptionParser::Bool(const TIniEntry& entry, std::string_view value) const {
    const std::string word = AsciiLower(value);
    if (word == "yes" || word == "true" || word == "on" || word == "1") return true;
    if (word == "no" || word == "false" || word == "off" || word == "0") return false;
    Fail(entry.Line, "\"" + entry.Key + "\" takes yes or no (true/false, on/off, 1/0), not \"" +
                         std::string(value) + "\"");
}

long double TDescriptionParser::Float(const TIniEntry& entry, std::string_view value) const {
    std::string_view digits = value;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    long double number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        !std::isfinite(number))
        Fail(entry.Line, "\"" + entry.Key + "\" takes a decimal number, not \"" + std::string(value) + "\"");
    return number;
}

void TDescriptionParser::ReadProject(const TIniSection& section) {
    const std::map<std::string, THandler> handlers = ProjectKeys();
    for (const TIniEntry& entry : section.Entries) {
        const std::string key = AsciiLower(entry.Key);
        const auto handler = handlers.find(key);
        if (handler == handlers.end()) Fail(entry.Line, "unknown key \"" + entry.Key + "\" in [project]");
        const auto [seen, added] = projectKeysSeen_.emplace(key, entry.Line);
        if (!added)
            Fail(entry.Line,
                 "\"" + entry.Key + "\" is given twice (first at line " + std::to_string(seen->second) + ")");
        try {
            handler->second(entry);
        } catch (const std::invalid_argument& e) {
            Fail(entry.Line, "the value of \"" + entry.Key + "\": " + e.what());
        }
    }
}

std::string TDescriptionParser::VariableName(const TIniEntry& entry) const {
    const std::string& name = entry.Key;
    if (name.front() >= '0' && name.front() <= '9')
        Fail(entry.Line, "the variable name \"" + name + "\" starts with a digit");
    if (name.front() == '@')
        Fail(entry.Line, "\"" + name + "\": names starting with @ belong to the system variables");
    for (const char c : name)
        if (static_cast<unsigned char>(c) <= ' ')
            Fail(entry.Line, "the variable name \"" + name + "\" contains a space");
    return Text(entry, name);
}

void TDescriptionParser::ReadVariables(const TIniSection& section) {
    for (const TIniEntry& entry : section.Entries) {
        TParamData data;
        data.Name = VariableName(entry);
        const auto [seen, added] = variablesSeen_.emplace(SjisLowerCase(data.Name), entry.Line);
        if (!added)
            Fail(entry.Line, "the variable \"" + entry.Key + "\" is defined twice (first at line " +
                                 std::to_string(seen->second) + ")");

        const std::string_view value = entry.Value;
        const size_t space = value.find_first_of(" \t");
        const std::string type = AsciiLower(value.substr(0, space));
        std::string_view initial = space == std::string_view::npos ? std::string_view() : value.substr(space);
        initial.remove_prefix(std::min(initial.find_first_not_of(" \t"), initial.size()));
        if (type == "int") {
            data.Type = 1;
            data.Value = initial.empty() ? 0 : Int(entry, initial, INT32_MIN, INT32_MAX);
        } else if (type == "float") {
            data.Type = 2;
            data.Value = initial.empty() ? 0.0L : Float(entry, initial);
        } else if (type == "bool") {
            data.Type = 3;
            data.Value = !initial.empty() && Bool(entry, initial);
        } else if (type == "str") {
            data.Type = 4;
            data.Value = Text(entry, initial);
        } else {
            Fail(entry.Line, "the variable \"" + entry.Key + "\" has the unknown type \"" +
                                 std::string(value.substr(0, space)) + "\" (int, float, bool or str)");
        }
        description_.Setting.ProjectVariables.push_back(std::move(data));
    }
}

std::string TDescriptionParser::FolderName(const TIniEntry& entry) const {
    std::string folder = entry.Key;
    for (char& c : folder)
        if (c == '/') c = '\\';
    while (folder.ends_with('\\'))
        folder.pop_back();
    const bool absolute = folder.starts_with('\\') || folder.find(':') != std::string::npos;
    bool badPart = folder.empty();
    for (size_t start = 0; !badPart && start <= folder.size();) {
        const size_t end = std::min(folder.find('\\', start), folder.size());
        const std::string_view part = std::string_view(folder).substr(start, end - start);
        badPart = part.empty() || part == "." || part == "..";
        start = end + 1;
    }
    if (absolute || badPart)
        Fail(entry.Line, "\"" + entry.Key + "\" is not a folder below the source folder");
    return Text(entry, folder);
}

void TDescriptionParser::ReadDiscs(const TIniSection& section) {
    for (const TIniEntry& entry : section.Entries) {
        TFolderDisk item;
        item.Folder = FolderName(entry);
        const auto [seen, added] = foldersSeen_.emplace(SjisLowerCase(item.Folder), entry.Line);
        if (!added)
            Fail(entry.Line, "the folder \"" + entry.Key + "\" is given twice (first at line " +
                                 std::to_string(seen->second) + ")");
        item.Disc = Int(entry, entry.Value, 1, INT32_MAX);
        description_.Setting.FolderDisks.Items.push_back(std::move(item));
    }
}

void TDescriptionParser::CheckRequired(int projectLine) const {
    if (projectLine == 0) Fail(1, "there is no [project] section; it needs at least title and start_page");
    if (!projectKeysSeen_.count("title")) Fail(projectLine, "[project] has no title");
    if (description_.Setting.Title.empty()) Fail(projectKeysSeen_.at("title"), "the title is empty");
    if (description_.StartPage.Name.empty())
        Fail(projectKeysSeen_.count("start_page") ? projectKeysSeen_.at("start_page") : projectLine,
             "[project] names no start_page");
}

TProjectDescription TDescriptionParser::Parse(std::string_view text) {
    int projectLine = 0;
    for (const TIniSection& section : ParseIni(text, fileName_)) {
        const std::string name = AsciiLower(section.Name);
        if (name == "project") {
            if (projectLine == 0) projectLine = section.Line;
            ReadProject(section);
        } else if (name == "variables") {
            ReadVariables(section);
        } else if (name == "discs") {
            ReadDiscs(section);
        } else {
            Fail(section.Line, "unknown section [" + section.Name + "] (project, variables or discs)");
        }
    }
    CheckRequired(projectLine);
    return std::move(description_);
}

}  // namespace

TProjectDescription ParseProjectDescription(std::string_view text, std::string_view fileName) {
    return TDescriptionParser(fileName).Parse(text);
}

std::optional<std::filesystem::path> FindDescriptionFile(const std::filesystem::path& srcDir) {
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(srcDir))
        if (entry.is_regular_file() && AsciiLower(entry.path().filename().string()) == kDescriptionName)
            return entry.path();
    return std::nullopt;
}

std::string ResolvePageReference(const TBuildSources& sources, const TPageReference& page,
                                 const std::string& what, const std::string& descriptionName) {
    if (const auto name = sources.FindPage(page.Name)) return *name;
    std::string hint;
    const std::string stem =
        HasHostExtension(page.Name, ".tsb") ? page.Name.substr(0, page.Name.size() - 4) : page.Name;
    if (sources.FindPage(stem + ".tss")) hint = "; name the source, \"" + stem + ".tss\"";
    throw ETovaError(Utf8ToCp932Lossy(descriptionName + ":" + std::to_string(page.Line) + ": the " + what +
                                      " \"" + page.Name +
                                      "\" is no .tss source or .tsb page of the source folder" + hint));
}

}  // namespace tova::sdk
