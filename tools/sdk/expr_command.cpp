// Placeholder until the command is written.
#include "sdk/command_line.h"
#include "sdk/commands.h"

namespace tova::sdk {

int RunExpr(const TArgs&) { throw EUsage("this command is not built yet"); }

}  // namespace tova::sdk
