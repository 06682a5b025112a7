// tova expr TEXT: compiles an expression and prints its operator records,
// one per line: the operator, the target and the operands.
// GCC 12 at -O3 reports -Wrestrict inside libstdc++'s inlined string code
// where a string literal is joined to a std::string here: an overlap that
// cannot happen (GCC bug 105329, fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
#include <iostream>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_convert.h"
#include "expr/param_var.h"
#include "expr/sys_function_table.h"
#include "expr/tova_parser.h"
#include "sdk/command_line.h"
#include "sdk/commands.h"

namespace tova::sdk {
namespace {

// A trail byte that looks like a backslash is part of its character.
std::string QuotedText(const std::string& text) {
    std::string quoted = "\"";
    ForEachSjisChar(text, [&](uint16_t code, size_t pos, size_t length) {
        if (code == '"' || code == '\\') quoted.push_back('\\');
        quoted.append(text, pos, length);
    });
    return quoted + "\"";
}

std::string OperandText(const TCustomParam& operand) {
    switch (operand.StoredType()) {
        case PT_INT:
            return IntToText(operand.GetInt());
        case PT_FLOAT:
            return FloatToText(operand.GetFloat());
        case PT_BOOL:
            return BoolToText(operand.GetBool());
        case PT_STR:
            return QuotedText(operand.GetStr());
        default:
            return static_cast<const TParamVar&>(operand).TargetName;
    }
}

// The record as one line, still in code page 932.
std::string RecordLine(const TOpeData& record) {
    std::string line = OpeCodeName(record.Op) + " " + record.Target;
    if (record.Op == ocFunc) line += " " + std::string(SysFunctionInfo(record.FunctionId).Name);
    for (const TCustomParam* operand : record.Operands())
        line += " " + OperandText(*operand);
    return line;
}

}  // namespace

int RunExpr(const TArgs& args) {
    const TCommandLine line(args, {}, {});
    line.ExpectOperands(1);
    TTovaParser parser;
    try {
        CompileExpression(Utf8ToCp932(line.Operands().front()), parser);
    } catch (const ETovaError& e) {
        std::cerr << "error: " << Cp932ToUtf8(e.Message()) << "\n";
        return 1;
    }
    for (const auto& record : parser.Records())
        std::cout << Cp932ToUtf8(RecordLine(*record)) << "\n";
    return 0;
}

}  // namespace tova::sdk
