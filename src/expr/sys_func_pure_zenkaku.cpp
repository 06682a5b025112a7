// The half-width / full-width conversions as built-in functions.
#include "expr/sys_func_pure.h"
#include "expr/zenkaku.h"

namespace tova::pure {

void HanToZen(TSysCall& call) {
    call.Target.SetStr(tova::HanToZen(TextArg(call, 1)));
}

void ZenToHan(TSysCall& call) {
    call.Target.SetStr(tova::ZenToHan(TextArg(call, 1)));
}

}  // namespace tova::pure
