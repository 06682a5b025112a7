#include "expr/sys_host.h"

namespace tova {

// Defined here so that the host's virtual table has one home.
TSysHost::~TSysHost() = default;

}  // namespace tova
