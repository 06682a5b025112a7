// The files of a game's source folder and what the build makes of each:
// script sources are compiled into pages, everything else is copied.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tova::sdk {

struct TSourceFile {
    std::filesystem::path HostPath;  // the file in the source folder
    std::string SourceName;          // its virtual name: relative, '\' between folders, code page 932
    std::string OutputName;          // the virtual name in the game (".tsb" for a script source)
    bool Compile = false;            // a ".tss" script source
};

class TBuildSources {
public:
    // Every regular file below srcDir except the description file, sorted by
    // output name. Throws ETovaError for a name code page 932 cannot hold, for
    // two files that become names the player cannot tell apart (they differ
    // only in case, or "a.tss" next to "a.tsb"), and for a file in the way of
    // what the build writes itself (reserved: names at the top of the game).
    TBuildSources(const std::filesystem::path& srcDir, const std::filesystem::path& descriptionPath,
                  const std::vector<std::string>& reserved);

    const std::vector<TSourceFile>& Files() const { return files_; }

    // The output name of the page a description names: the file's path
    // relative to the source folder, '/' or '\' between folders, in any
    // case, with its extension; a ".tss" source or a ".tsb" page. nullopt
    // when there is no such file.
    std::optional<std::string> FindPage(const std::string& utf8Name) const;

private:
    std::vector<TSourceFile> files_;
};

// Whether a host name ends with the extension (ASCII case ignored; ext with its dot).
bool HasHostExtension(const std::string& name, const std::string& ext);

}  // namespace tova::sdk
