// Calc: compiles a text as an expression and runs it against the variables,
// with the built-in functions of the calling run.
#include "expr/build_tova_parser.h"
#include "expr/param_collection.h"
#include "expr/sys_func_host_util.h"
#include "expr/sys_func_man.h"
#include "expr/tova_parser.h"

namespace tova {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

void Calc(TSysCall& call) {
    if (!call.Env.Vars) return;
    const std::string text = TextArg(call, 1);
    const std::string_view statement = TrimBlanks(text);
    if (statement.empty()) return;
    // A compile error propagates and ends the calling expression.
    TBuildTovaParser builder;
    builder.IsVariable = [vars = call.Env.Vars](std::string_view name) {
        return vars->FindItem(name) != nullptr;
    };
    builder.Compile(statement);
    TTpMemoryStream compiled;
    builder.SaveToStream(compiled);
    compiled.SetPosition(0);
    TTovaParser parser;
    parser.LoadFromStream(compiled);
    // The dispatcher keeps no state, so a fresh one over the same
    // environment runs the functions exactly as the caller's would.
    TSysFuncMan dispatcher(call.Env);
    TOpeEvaluator evaluator(*call.Env.Vars, &dispatcher);
    evaluator.SetWarnings(call.Env.Warnings);
    parser.Execute(evaluator);
    call.Target.SetStr("TRUE");
}

}  // namespace

void RegisterHostCalcFunction(TSysFunctionImpl* table) {
    table[136] = Calc;
}

}  // namespace tova
