// Feeds arbitrary text to the expression compiler. What compiles must write,
// read back and run against a small collection, leaving no temporary behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/error.h"
#include "core/stream.h"
#include "expr/build_tova_parser.h"
#include "expr/tova_parser.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tova::TTpMemoryStream stream;
    try {
        tova::TBuildTovaParser compiler;
        compiler.Compile(text);
        compiler.SaveToStream(stream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    stream.SetPosition(0);
    tova::TTovaParser parser;
    parser.LoadFromStream(stream);  // what the compiler writes always reads back
    Require(stream.Remaining() == 0);

    tova::TParamCollection vars;
    for (const char* name : {"a", "b", "x", "s"})
        vars.Declare(name, name[0] == 's' ? tova::PT_STR : tova::PT_INT, tova::VK_GLOBAL);
    vars.FindItem("a")->SetDims({3, 4});
    const int count = vars.Count();
    tova::TOpeEvaluator evaluator(vars);
    parser.Execute(evaluator);
    Require(vars.Count() == count);
    return 0;
}
