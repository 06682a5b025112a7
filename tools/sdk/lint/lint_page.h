// The checks of one script page against what the whole game declares and
// holds: the pages and files of the source folder and the variables that
// the project description, status variables and VarNew commands declare.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sdk/build_sources.h"
#include "sdk/lint/lint.h"
#include "sdk/script_source.h"

namespace tova::sdk {

struct TLintGame {
    // Lower-cased (code page 932) output name -> the name as the file has it.
    std::map<std::string, std::string> Files;
    std::vector<std::string> FileNames;
    // Lower-cased variable names -> as declared; system variables included.
    std::map<std::string, std::string> Variables;
    std::vector<std::string> VariableNames;

    // Lower-cased names that the pages' VarNew lines declare, known before
    // any page is read: a variable wins over a constant of its spelling.
    std::set<std::string> PageVariables;

    void AddFile(const std::string& name);
    void AddVariable(const std::string& name);
    // Whether a name is a variable of the game (as the build compiles it).
    bool IsVariable(std::string_view name) const;
};

// A page's source read with every syntax error collected; the errors go to
// report, the commands that did read into the result.
TScriptSource ReadPageSource(const TSourceFile& file, const std::string& text, const TLintGame& game,
                             TLintReport& report, bool& failed);

// The variables a page declares with VarNew.
void AddDeclaredVariables(const TScriptSource& source, TLintGame& game);

// Every check of the commands that were read; then, when nothing was wrong,
// compiles the page as the build would, so that its own errors (masks,
// versions, fields) are reported too.
void LintPage(const TSourceFile& file, const std::string& text, const TScriptSource& source, bool readFailed,
              const TLintGame& game, TLintReport& report);

}  // namespace tova::sdk
