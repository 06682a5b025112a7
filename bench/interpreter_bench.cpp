// Commands per second of the interpreter on a chained loop page: a While
// with a counter whose body is one Calc, all in memory, run by TCallMan::Run
// exactly as the frame loop runs it.
// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/call_man.h"
#include "engine/command_flow.h"
#include "engine/interpreter_host.h"
#include "engine/page.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/sys_func_man.h"
#include "objects/tova_base_list.h"
#include "platform/message_box.h"
#include "vfs/file_manager.h"

namespace {

using namespace tova;

constexpr int kRounds = 100000;
// WhileInit and VarNew once; While, Calc and WhileLoop every round; the last While.
constexpr int64_t kCommandsPerRun = 2 + 3 * int64_t{kRounds} + 1;

class TMemoryHost final : public TInterpreterHost {
public:
    explicit TMemoryHost(TVrFileManager& files) : files_(files) {}
    bool PageExists(std::string_view name) override { return files_.Exists(name); }
    void RequestSave(int32_t, std::string, std::string, int32_t) override {}
    void RequestLoad(int32_t) override {}

private:
    TVrFileManager& files_;
};

template <class T>
T& Add(TPage& page, TCommandCode code, int32_t indent) {
    auto command = CreateCommand(page, static_cast<uint8_t>(code));
    command->Chained = 1;
    command->Indent = indent;
    T& typed = static_cast<T&>(*command);
    page.Commands.push_back(std::move(command));
    return typed;
}

void LoopPage(TVrFileManager& files) {
    TPage page;
    page.Name = "loop.tsb";
    auto& declare = Add<TComVarNew>(page, TCommandCode::VarNew, 0);
    declare.Name = "x";
    declare.Type = 1;
    CompileExpression("0", declare.InitialValue);
    auto& init = Add<TComWhileInit>(page, TCommandCode::WhileInit, 0);
    CompileExpression("n = 0", init.Expression);
    auto& test = Add<TComWhile>(page, TCommandCode::While, 0);
    CompileExpression("n < " + std::to_string(kRounds), test.Condition);
    test.ExitTarget = 5;
    CompileExpression("x = x + 1", Add<TComCalc>(page, TCommandCode::Calc, 1).Expression);
    auto& loop = Add<TComWhileLoop>(page, TCommandCode::WhileLoop, 0);
    loop.LoopTarget = 2;
    CompileExpression("n = n + 1", loop.Expression);
    TVrFile* file = files.Archive(0).AddMemoryFile(page.Name);
    file->Data = std::make_unique<TTpMemoryStream>();
    page.SaveToStream(*file->Data);
}

void ChainedLoop(benchmark::State& state) {
    TVrFileManager files;
    files.AddArchive("");
    LoopPage(files);
    TParamCollection vars;
    vars.Declare("n", 1, 0);
    TSysFuncMan functions(TSysFuncEnvironment{&vars, &files, nullptr, nullptr, nullptr});
    TOpeEvaluator evaluator(vars, &functions);
    TTovaBaseList screen;
    TRunFlags flags;
    THeadlessMessageBox messageBox;
    TMemoryHost host(files);
    TCallManEnvironment env{&host, &files, &vars, &evaluator, &screen, &flags, &messageBox, nullptr, nullptr};
    TCallMan callMan(env);
    for (auto _ : state) {
        callMan.Start("loop.tsb");
        while (!callMan.IsFinished())
            callMan.Run();
    }
    state.SetItemsProcessed(state.iterations() * kCommandsPerRun);
}
BENCHMARK(ChainedLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
