// The subcommands of the tova tool. Each takes the arguments after its
// name, writes its output to standard output and returns the exit code;
// bad data throws ETovaError (exit 1), a wrong command line EUsage (exit 2).
#pragma once

#include <string>
#include <vector>

namespace tova::sdk {

using TArgs = std::vector<std::string>;

int RunPack(const TArgs& args);
int RunList(const TArgs& args);
int RunExtract(const TArgs& args);
int RunCat(const TArgs& args);
int RunVerify(const TArgs& args);
int RunProject(const TArgs& args);      // tova project FILE
int RunInstallInfo(const TArgs& args);  // tova install-info FILE
int RunExpr(const TArgs& args);         // tova expr TEXT
int RunEval(const TArgs& args);         // tova eval [--var SPEC]... [--dump-vars FILE] TEXT
int RunCompile(const TArgs& args);      // tova compile SRC.tss OUT.tsb
int RunDecompile(const TArgs& args);    // tova decompile IN.tsb
int RunBuild(const TArgs& args);        // tova build SRC_DIR OUT_DIR [--pack]
int RunLint(const TArgs& args);         // tova lint SRC_DIR
int RunImg(const TArgs& args);          // tova img info|decode|encode ...

}  // namespace tova::sdk
