#include "sdk/build_sources.h"

#include <algorithm>
#include <map>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "sdk/build_ini.h"

namespace fs = std::filesystem;

namespace tova::sdk {
namespace {

constexpr const char* kSourceExt = ".tss";
constexpr const char* kPageExt = ".tsb";

// The virtual name of a relative host path, the way the archive packer
// names loose files.
std::string VirtualName(const fs::path& relative, const fs::path& hostPath) {
    std::string name;
    for (const fs::path& component : relative) {
        if (!name.empty()) name += '\\';
        try {
            name += Utf8ToCp932(component.string());
        } catch (const ETovaError&) {
            throw ETovaError(
                Utf8ToCp932Lossy("the name '" + hostPath.string() + "' cannot be written in code page 932"));
        }
    }
    return name;
}

std::string WithoutExtension(const std::string& name) {
    return name.substr(0, name.size() - 4);
}

}  // namespace

bool HasHostExtension(const std::string& name, const std::string& ext) {
    return name.size() > ext.size() && AsciiLower(name.substr(name.size() - ext.size())) == ext;
}

TBuildSources::TBuildSources(const fs::path& srcDir, const fs::path& descriptionPath,
                             const std::vector<std::string>& reserved) {
    std::error_code error;
    const fs::path skip = fs::weakly_canonical(descriptionPath, error);
    for (auto it = fs::recursive_directory_iterator(srcDir, fs::directory_options::follow_directory_symlink);
         it != fs::recursive_directory_iterator(); ++it) {
        if (!it->is_regular_file() || fs::weakly_canonical(it->path(), error) == skip) continue;
        TSourceFile file;
        file.HostPath = it->path();
        file.SourceName = VirtualName(it->path().lexically_relative(srcDir), it->path());
        file.Compile = HasHostExtension(file.HostPath.filename().string(), kSourceExt);
        file.OutputName = file.Compile ? WithoutExtension(file.SourceName) + kPageExt : file.SourceName;
        files_.push_back(std::move(file));
    }
    std::sort(files_.begin(), files_.end(),
              [](const TSourceFile& a, const TSourceFile& b) { return a.OutputName < b.OutputName; });

    std::map<std::string, const TSourceFile*> folded;
    for (const TSourceFile& file : files_) {
        const std::string key = SjisLowerCase(file.OutputName);
        for (const std::string& name : reserved)
            if (key == SjisLowerCase(Utf8ToCp932(name)))
                throw ETovaError(Utf8ToCp932Lossy("'" + file.HostPath.string() + "': the build writes " +
                                                  name + " itself; remove the file from the source folder"));
        const auto [it, added] = folded.emplace(key, &file);
        if (!added)
            throw ETovaError(Utf8ToCp932Lossy("'" + it->second->HostPath.string() + "' and '" +
                                              file.HostPath.string() + "' would both become '" +
                                              Cp932ToUtf8(file.OutputName) +
                                              "'; the player could not tell them apart"));
    }
}

std::optional<std::string> TBuildSources::FindPage(const std::string& utf8Name) const {
    std::string name;
    try {
        name = Utf8ToCp932(utf8Name);
    } catch (const ETovaError&) {
        return std::nullopt;
    }
    std::replace(name.begin(), name.end(), '/', '\\');
    for (const TSourceFile& file : files_)
        if (SjisSameText(file.SourceName, name) &&
            (file.Compile || HasHostExtension(file.HostPath.filename().string(), kPageExt)))
            return file.OutputName;
    return std::nullopt;
}

}  // namespace tova::sdk
