// tova build.
#include "core/error.h"
#include "sdk/commands.h"

namespace tova::sdk {

int RunBuild(const TArgs&) { throw ETovaError("not built yet"); }

}  // namespace tova::sdk
