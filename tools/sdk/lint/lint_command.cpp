// tova lint [--strict] SRC_DIR: the report on standard output, exit 1 when it
// holds an error (with --strict, also when it holds a warning).
#include <iostream>

#include "sdk/command_line.h"
#include "sdk/commands.h"
#include "sdk/lint/lint.h"

namespace tova::sdk {

int RunLint(const TArgs& args) {
    const TCommandLine line(args, {"--strict"}, {});
    line.ExpectOperands(1);
    const TLintReport report = LintGame(line.Operands()[0]);
    std::cout << report.Text() << LintSummary(report) << "\n";
    const bool strict = line.Has("--strict");
    return report.Errors() > 0 || (strict && report.Warnings() > 0) ? 1 : 0;
}

}  // namespace tova::sdk
