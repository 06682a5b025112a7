// Feeds arbitrary bytes to the reader of compiled expressions. What reads
// must write back byte for byte, copy, and run without leaving temporaries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "expr/tova_parser.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::TTpMemoryStream stream(std::vector<uint8_t>(data, data + size));
    tova::TTovaParser parser;
    try {
        parser.LoadFromStream(stream);
    } catch (const tova::ETovaError&) {
        return 0;
    }
    const int64_t used = stream.GetPosition();
    tova::TTpMemoryStream saved;
    parser.SaveToStream(saved);
    // Booleans and unknown tags are normalised, so compare the second generation.
    tova::TTovaParser copy;
    copy.Assign(parser);
    tova::TTpMemoryStream again;
    copy.SaveToStream(again);
    Require(saved.Bytes() == again.Bytes());
    Require(static_cast<int64_t>(saved.Bytes().size()) <= used);

    tova::TParamCollection vars;
    for (const char* name : {"a", "x", "s"})
        vars.Declare(name, name[0] == 's' ? tova::PT_STR : tova::PT_INT, tova::VK_GLOBAL);
    vars.FindItem("a")->SetDims({2, 2});
    const int count = vars.Count();
    tova::TOpeEvaluator evaluator(vars);
    parser.Execute(evaluator);
    Require(vars.Count() == count);
    return 0;
}
