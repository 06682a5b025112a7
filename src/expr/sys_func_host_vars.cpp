// The built-in functions about the variables themselves: existence, type,
// the @Temp target and the pushed variable sets.
#include "expr/param_collection.h"
#include "expr/sys_func_host_util.h"

namespace tova {
namespace {

void VarExists(TSysCall& call) {
    const std::string name = TextArg(call, 1);
    // The temporaries of evaluation have no name; they are not variables.
    if (!call.Env.Vars || name.empty()) return;
    call.Target.SetBool(call.Env.Vars->FindItem(name) != nullptr);
}

void AssignTemp(TSysCall& call) {
    TParamCollection* vars = call.Env.Vars;
    if (!vars) return;
    std::string name = TextArg(call, 1);
    if (name.empty() || !vars->FindItem(name)) return;
    vars->TempTarget = std::move(name);
    call.Target.SetBool(true);
}

void GetVarType(TSysCall& call) {
    if (call.HasArg(1)) call.Target.SetInt(call.Arg(1).GetParamType());
}

void PushVar(TSysCall& call) {
    if (!call.Env.Vars) return;
    std::vector<std::string> names;
    for (int n = 1; n <= call.ArgCount(); ++n)
        names.push_back(call.Arg(n).GetStr());
    call.Env.Vars->PushVars(names);
    call.Target.SetBool(true);
}

void PopVar(TSysCall& call) {
    if (!call.Env.Vars) return;
    call.Env.Vars->PopVars();
    call.Target.SetBool(true);
}

}  // namespace

void RegisterHostVariableFunctions(TSysFunctionImpl* table) {
    table[50] = VarExists;
    table[84] = AssignTemp;
    table[130] = GetVarType;
    table[155] = PushVar;
    table[156] = PopVar;
}

}  // namespace tova
