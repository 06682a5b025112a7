// Expression evaluation and compilation rates: a condition, an increment, a
// function call, and the compilation of a statement of 60 characters.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "expr/build_tova_parser.h"
#include "expr/tova_parser.h"

namespace {

// Only IntToStr, as the real dispatcher formats it.
class TIntToStrDispatcher : public tova::TFunctionDispatcher {
public:
    void CallFunction(tova::TParamCollectionItem& target, int functionId,
                      std::span<tova::TCustomParam* const> operands) override {
        if (functionId != 0) return;
        char text[32];
        const int digits = operands.size() > 1 ? operands[1]->GetInt() : 0;
        std::snprintf(text, sizeof text, "%.*d", digits, operands[0]->GetInt());
        target.SetStr(text);
    }
};

tova::TTovaParser Compiled(std::string_view text) {
    tova::TBuildTovaParser compiler;
    compiler.Compile(text);
    tova::TTpMemoryStream stream;
    compiler.SaveToStream(stream);
    stream.SetPosition(0);
    tova::TTovaParser parser;
    parser.LoadFromStream(stream);
    return parser;
}

// A collection of a realistic size: the system variables and 200 script variables.
void AddScriptVariables(tova::TParamCollection& vars) {
    for (int i = 0; i < 200; ++i)
        vars.Declare("var" + std::to_string(i), tova::PT_INT, tova::VK_GLOBAL);
}

void RunEvaluations(benchmark::State& state, std::string_view text, tova::TParamCollection& vars) {
    TIntToStrDispatcher dispatcher;
    tova::TOpeEvaluator evaluator(vars, &dispatcher);
    tova::TTovaParser parser = Compiled(text);
    for (auto _ : state) {
        parser.Execute(evaluator);
        benchmark::DoNotOptimize(parser.Result);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateCondition(benchmark::State& state) {
    tova::TParamCollection vars;
    AddScriptVariables(vars);
    vars.Declare("flag", tova::PT_BOOL, tova::VK_GLOBAL).Item->SetBool(true);
    RunEvaluations(state, "flag == TRUE", vars);
}
BENCHMARK(BM_EvaluateCondition);

void BM_EvaluateIncrement(benchmark::State& state) {
    tova::TParamCollection vars;
    AddScriptVariables(vars);
    vars.Declare("x", tova::PT_INT, tova::VK_GLOBAL);
    RunEvaluations(state, "x = x + 1", vars);
}
BENCHMARK(BM_EvaluateIncrement);

void BM_EvaluateFunctionCall(benchmark::State& state) {
    tova::TParamCollection vars;
    AddScriptVariables(vars);
    vars.Declare("n", tova::PT_INT, tova::VK_GLOBAL).Item->SetInt(7);
    RunEvaluations(state, "IntToStr(n, 3)", vars);
}
BENCHMARK(BM_EvaluateFunctionCall);

void BM_CompileStatement(benchmark::State& state) {
    const std::string text = "total = (price[i, 2] + 15) * count - IntToStr(n, 3) ++ \"yen\"";
    for (auto _ : state) {
        tova::TBuildTovaParser compiler;
        compiler.Compile(text);
        tova::TTpMemoryStream stream;
        compiler.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Bytes().data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::to_string(text.size()) + " characters");
}
BENCHMARK(BM_CompileStatement);

}  // namespace

BENCHMARK_MAIN();
