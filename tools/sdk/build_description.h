// The project description "project.ini" of a game's source folder: the
// project settings, the project variables and the disc of each folder, read
// from plain INI text. docs/project-description.md describes the format.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/project_setting.h"

namespace tova::sdk {

inline constexpr const char* kDescriptionName = "project.ini";

// A page named by the description, before it is matched with the sources.
struct TPageReference {
    std::string Name;  // as written (UTF-8), '/' or '\' between folders
    int Line = 0;
};

struct TProjectDescription {
    // Every field but StartPage and EndPage, which the build fills in once
    // the references below are matched with the source files.
    TProjectSetting Setting;
    TPageReference StartPage;
    std::optional<TPageReference> EndPage;
};

// Parses the description. fileName is used in the messages: every mistake
// (unknown section or key, a key given twice, a malformed value, a missing
// title or start page) throws ETovaError "FILE:LINE: message".
TProjectDescription ParseProjectDescription(std::string_view text, std::string_view fileName);

class TBuildSources;

// The output name of a page the description names; ETovaError
// "FILE:LINE: ..." (what is the key, such as start_page) when the sources
// hold no such page, with the source's name when a .tsb was named for it.
std::string ResolvePageReference(const TBuildSources& sources, const TPageReference& page,
                                 const std::string& what, const std::string& descriptionName);

// The description file of a source folder, its name in any letter case.
std::optional<std::filesystem::path> FindDescriptionFile(const std::filesystem::path& srcDir);

}  // namespace tova::sdk
