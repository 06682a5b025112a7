// tova build: a game's source folder (project.ini, script sources and every
// other file) made into a data folder the player runs.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "engine/install_set.h"
#include "engine/page.h"
#include "engine/project_setting.h"
#include "platform/file_system.h"
#include "sdk/archive_pack.h"
#include "sdk/build_description.h"
#include "sdk/build_ini.h"
#include "sdk/build_output.h"
#include "sdk/build_sources.h"
#include "sdk/build_text_data.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"
#include "sdk/lint/lint.h"
#include "sdk/script_compiler.h"
#include "sdk/script_source.h"

namespace fs = std::filesystem;

namespace tova::sdk {
namespace {

constexpr const char* kSettingsName = "tova.tpb";
constexpr const char* kInstallSetName = "install.dat";

[[noreturn]] void Fail(const std::string& utf8Message) {
    throw ETovaError(Utf8ToCp932Lossy(utf8Message));
}

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read '" + path.string() + "'");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) Fail("cannot write '" + path.string() + "'");
}

// Where a virtual name goes below a host folder: the player's lookup maps
// the name the same way.
fs::path HostFileFor(const fs::path& folder, const std::string& virtualName) {
    return folder / ToHostPath(virtualName);
}

void CheckFolders(const fs::path& srcDir, const fs::path& outDir) {
    std::error_code error;
    if (!fs::is_directory(srcDir, error)) Fail("'" + srcDir.string() + "' is not a folder");
    const fs::path src = fs::canonical(srcDir);
    const fs::path out = fs::weakly_canonical(outDir);
    const auto below = [](const fs::path& inner, const fs::path& outer) {
        auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
        return o == outer.end();
    };
    if (below(out, src) || below(src, out))
        Fail("the output folder '" + outDir.string() + "' must lie outside the source folder '" +
             srcDir.string() + "' and not contain it");
}

fs::path FindDescription(const fs::path& srcDir) {
    if (const std::optional<fs::path> path = FindDescriptionFile(srcDir)) return *path;
    Fail("'" + srcDir.string() + "' holds no " + kDescriptionName);
}

void Compile(const TSourceFile& file, const fs::path& target, const TVariableTest& variables) {
    TPage page;
    page.Name = file.OutputName;
    std::string sourceName = file.SourceName;
    for (char& c : sourceName)
        if (c == '\\') c = '/';
    CompileScript(ReadHostFile(file.HostPath), sourceName, page, variables);
    TTpMemoryStream content;
    page.SaveToStream(content);
    WriteHostFile(target, content.Bytes());
}

// The game's variables: the project's and those any page declares, folded.
TVariableTest GameVariables(const TBuildSources& sources, const TProjectSetting& setting) {
    std::set<std::string> names;
    for (const TParamData& variable : setting.ProjectVariables)
        names.insert(SjisLowerCase(variable.Name));
    for (const TSourceFile& file : sources.Files())
        if (file.Compile) names.merge(DeclaredVariables(ReadHostFile(file.HostPath)));
    return [names = std::move(names)](std::string_view name) { return names.contains(SjisLowerCase(name)); };
}

// Compiles the script sources and copies the other files. Every source is
// tried, so that one run reports every page that does not compile.
void BuildFiles(const TBuildSources& sources, const fs::path& dataDir, const TVariableTest& variables,
                int& pages, int& copies) {
    std::string errors;
    for (const TSourceFile& file : sources.Files()) {
        const fs::path target = HostFileFor(dataDir, file.OutputName);
        if (file.Compile) {
            try {
                Compile(file, target, variables);
                ++pages;
            } catch (const ETovaError& e) {
                errors += (errors.empty() ? "" : "\n") + e.Message();
            }
        } else {
            fs::create_directories(target.parent_path());
            if (IsTextDataFile(file.HostPath.filename().string())) {
                try {
                    const std::string text =
                        TextDataForPlayer(ReadHostFile(file.HostPath), file.HostPath.generic_string());
                    WriteHostFile(target, std::vector<uint8_t>(text.begin(), text.end()));
                } catch (const ETovaError& e) {
                    errors += (errors.empty() ? "" : "\n") + e.Message();
                    continue;
                }
            } else {
                fs::copy_file(file.HostPath, target, fs::copy_options::overwrite_existing);
            }
            ++copies;
        }
    }
    if (!errors.empty()) throw ETovaError(errors);
}

void WriteProjectFiles(const TProjectSetting& setting, const fs::path& dataDir) {
    TTpMemoryStream settings;
    setting.SaveToStream(settings);
    WriteHostFile(dataDir / kSettingsName, settings.Bytes());

    TTovaInstallSet installSet;
    installSet.Version = TTovaInstallSet::CurrentVersion;
    installSet.Title = setting.Title;
    installSet.DataInstalled = true;
    TTpMemoryStream install;
    installSet.SaveToStream(install);
    WriteHostFile(dataDir / kInstallSetName, install.Bytes());
}

}  // namespace

int RunBuild(const TArgs& args) {
    const TCommandLine line(args, {"--pack"}, {});
    line.ExpectOperands(2);
    const fs::path srcDir = line.Operands()[0];
    const fs::path outDir = line.Operands()[1];
    const bool pack = line.Has("--pack");

    CheckFolders(srcDir, outDir);
    // The same checks as tova lint: errors refuse the build, warnings are shown.
    const TLintReport lint = LintGame(srcDir);
    std::cerr << lint.Text();
    if (lint.Errors() > 0) Fail(LintSummary(lint) + " in the sources; nothing was built");
    const fs::path descriptionPath = FindDescription(srcDir);
    const std::string descriptionName = descriptionPath.string();
    TProjectDescription description = ParseProjectDescription(ReadHostFile(descriptionPath), descriptionName);
    const TBuildSources sources(srcDir, descriptionPath, {kSettingsName, kInstallSetName, kManifestName});
    description.Setting.StartPage =
        ResolvePageReference(sources, description.StartPage, "start_page", descriptionName);
    if (description.EndPage)
        description.Setting.EndPage =
            ResolvePageReference(sources, *description.EndPage, "end_page", descriptionName);

    TBuildOutput output(outDir);
    int pages = 0;
    int copies = 0;
    BuildFiles(sources, output.DataDir(), GameVariables(sources, description.Setting), pages, copies);
    WriteProjectFiles(description.Setting, output.DataDir());
    if (pack) {
        TPackOptions options;
        options.out = output.PackFile().string();
        options.dir = output.DataDir().string();
        PackDirectory(options);
    }
    output.Commit(pack);

    std::cout << pages << " page" << (pages == 1 ? "" : "s") << " compiled, " << copies << " file"
              << (copies == 1 ? "" : "s") << " copied into "
              << (pack ? (outDir / "game.dat").string() : outDir.string()) << "\n";
    return 0;
}

}  // namespace tova::sdk
