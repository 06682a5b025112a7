// tova lint: every error and warning of a game's sources at once, without
// building: the project description, file names, text data, and every script
// page (syntax, commands, pages, labels, variables, data files, unreachable
// commands). tova build runs the same checks first and refuses on errors.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tova::sdk {

enum class TLintSeverity { Error, Warning };

struct TLintFinding {
    TLintSeverity Severity = TLintSeverity::Error;
    // "FILE:LINE: message" or "FILE:LINE:COLUMN: message" (UTF-8), with
    // "warning: " before the message of a warning.
    std::string Text;
    std::string File;  // for the order of the report
    int Line = 0;
};

class TLintReport {
public:
    void Add(TLintSeverity severity, const std::string& file, int line, const std::string& utf8Message);
    // An error already formatted as "FILE:LINE: message" (code page 932).
    void AddError(const std::string& file, int line, const std::string& cp932Text);

    int Errors() const;
    int Warnings() const;
    // Every finding, one per line, by file and line.
    std::string Text() const;
    const std::vector<TLintFinding>& Findings() const { return findings_; }

private:
    std::vector<TLintFinding> findings_;
};

TLintReport LintGame(const std::filesystem::path& srcDir);

// "N errors, M warnings".
std::string LintSummary(const TLintReport& report);

}  // namespace tova::sdk
