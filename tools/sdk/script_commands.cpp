// tova compile and tova decompile.
#include "core/error.h"
#include "sdk/commands.h"

namespace tova::sdk {

int RunCompile(const TArgs&) { throw ETovaError("not built yet"); }
int RunDecompile(const TArgs&) { throw ETovaError("not built yet"); }

}  // namespace tova::sdk
