// tova lint over a whole source folder: the description, the file names, text
// data, and every page through lint_page.cpp; the report and its order.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include "sdk/lint/lint.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/encoding.h"
#include "core/error.h"
#include "expr/system_variable_names.h"
#include "sdk/build_description.h"
#include "sdk/build_output.h"
#include "sdk/build_sources.h"
#include "sdk/build_text_data.h"
#include "sdk/lint/lint_page.h"

namespace fs = std::filesystem;

namespace tova::sdk {
namespace {

// The files the build writes at the top of the game itself.
const std::vector<std::string> kReservedNames = {"tova.tpb", "install.dat", kManifestName};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ETovaError(Utf8ToCp932Lossy("cannot read '" + path.string() + "'"));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Plural(int count, const std::string& word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

struct TPageText {
    const TSourceFile* File;
    std::string Text;
    TScriptSource Source;
    bool ReadFailed = false;
};

class TGameLinter {
public:
    explicit TGameLinter(const fs::path& srcDir) : srcDir_(srcDir) {}

    TLintReport Run() {
        std::error_code error;
        if (!fs::is_directory(srcDir_, error))
            throw ETovaError(Utf8ToCp932Lossy("'" + srcDir_.string() + "' is not a folder"));
        const std::optional<fs::path> descriptionPath = FindDescriptionFile(srcDir_);
        if (!descriptionPath) {
            report_.Add(TLintSeverity::Error, (srcDir_ / kDescriptionName).generic_string(), 0,
                        "the source folder holds no project.ini");
            return std::move(report_);
        }
        const std::optional<TProjectDescription> description = ReadDescription(*descriptionPath);
        std::optional<TBuildSources> sources;
        try {
            sources.emplace(srcDir_, *descriptionPath, kReservedNames);
        } catch (const ETovaError& e) {
            report_.AddError(srcDir_.generic_string(), 0, e.Message());
            return std::move(report_);
        }
        for (int index = 0; index < kSystemVariableCount; ++index)
            game_.AddVariable(std::string(SystemVariableName(index)));
        for (const TSourceFile& file : sources->Files())
            game_.AddFile(file.OutputName);
        if (description) CheckDescription(*description, *descriptionPath, *sources);
        LintFiles(*sources);
        return std::move(report_);
    }

private:
    std::optional<TProjectDescription> ReadDescription(const fs::path& path) {
        try {
            return ParseProjectDescription(ReadText(path), path.generic_string());
        } catch (const ETovaError& e) {
            report_.AddError(path.generic_string(), 0, e.Message());
            return std::nullopt;
        }
    }

    void CheckDescription(const TProjectDescription& description, const fs::path& path,
                          const TBuildSources& sources) {
        for (const TParamData& variable : description.Setting.ProjectVariables)
            game_.AddVariable(variable.Name);
        const auto check = [&](const TPageReference& page, const std::string& key) {
            try {
                ResolvePageReference(sources, page, key, path.generic_string());
            } catch (const ETovaError& e) {
                report_.AddError(path.generic_string(), page.Line, e.Message());
            }
        };
        check(description.StartPage, "start_page");
        if (description.EndPage) check(*description.EndPage, "end_page");
    }

    void LintFiles(const TBuildSources& sources) {
        std::vector<TPageText> pages;
        // Every page's variables are known before a page is read, as the
        // build knows them: a variable wins over a constant of its spelling.
        std::vector<std::optional<std::string>> texts;
        for (const TSourceFile& file : sources.Files()) {
            texts.emplace_back();
            if (!file.Compile) continue;
            try {
                texts.back() = ReadText(file.HostPath);
                game_.PageVariables.merge(DeclaredVariables(*texts.back()));
            } catch (const ETovaError&) {
                // Reported where the page is read below.
            }
        }
        size_t index = 0;
        for (const TSourceFile& file : sources.Files()) {
            const std::optional<std::string>& text = texts[index++];
            try {
                if (file.Compile) {
                    TPageText page{&file, text ? *text : ReadText(file.HostPath), {}, false};
                    page.Source = ReadPageSource(file, page.Text, game_, report_, page.ReadFailed);
                    AddDeclaredVariables(page.Source, game_);
                    pages.push_back(std::move(page));
                } else if (IsTextDataFile(file.HostPath.filename().string())) {
                    TextDataForPlayer(ReadText(file.HostPath), file.HostPath.generic_string());
                }
            } catch (const ETovaError& e) {
                report_.AddError(file.HostPath.generic_string(), 0, e.Message());
            }
        }
        for (const TPageText& page : pages)
            LintPage(*page.File, page.Text, page.Source, page.ReadFailed, game_, report_);
    }

    fs::path srcDir_;
    TLintGame game_;
    TLintReport report_;
};

}  // namespace

void TLintReport::Add(TLintSeverity severity, const std::string& file, int line,
                      const std::string& utf8Message) {
    std::string text = file + (line > 0 ? ":" + std::to_string(line) : "") + ": ";
    if (severity == TLintSeverity::Warning) text += "warning: ";
    findings_.push_back({severity, text + utf8Message, file, line});
}

void TLintReport::AddError(const std::string& file, int line, const std::string& cp932Text) {
    findings_.push_back({TLintSeverity::Error, Cp932ToUtf8(cp932Text), file, line});
}

int TLintReport::Errors() const {
    return static_cast<int>(std::count_if(findings_.begin(), findings_.end(), [](const TLintFinding& f) {
        return f.Severity == TLintSeverity::Error;
    }));
}

int TLintReport::Warnings() const {
    return static_cast<int>(findings_.size()) - Errors();
}

std::string TLintReport::Text() const {
    std::vector<const TLintFinding*> order;
    for (const TLintFinding& finding : findings_)
        order.push_back(&finding);
    std::stable_sort(order.begin(), order.end(), [](const TLintFinding* a, const TLintFinding* b) {
        return a->File != b->File ? a->File < b->File : a->Line < b->Line;
    });
    std::string text;
    for (const TLintFinding* finding : order)
        text += finding->Text + "\n";
    return text;
}

TLintReport LintGame(const fs::path& srcDir) {
    return TGameLinter(srcDir).Run();
}

std::string LintSummary(const TLintReport& report) {
    return Plural(report.Errors(), "error") + ", " + Plural(report.Warnings(), "warning");
}

}  // namespace tova::sdk
