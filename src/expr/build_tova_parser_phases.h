// The phases of compiling one expression text, used by TBuildTovaParser.
// The text is held as one 16-bit code per character (a double-byte
// character is lead * 256 + trail), so positions count characters and a
// trail byte is never mistaken for an ASCII symbol.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "expr/build_tova_parser.h"

namespace tova {

using TCodeText = std::u16string;

TCodeText ToCodeText(std::string_view cp932);
std::string FromCodeText(std::u16string_view codes);

class TExpressionCompiler {
public:
    explicit TExpressionCompiler(TBuildTovaParser& owner) : owner_(owner) {}

    // Appends the records of text (every phase but the copy removal).
    void CompileText(TCodeText text);

private:
    std::string NewTemporary();
    std::string NewElementTemporary();
    void Append(uint8_t op, std::string target, std::vector<std::string> operands);

    void ExtractLiterals(TCodeText& text);
    void ExtractCalls(TCodeText& text);
    void ExtractElements(TCodeText& text);
    void ExtractGroups(TCodeText& text);
    void Reduce(const TCodeText& text);

    // A call argument or an index: its text, or the temporary that a
    // sub-expression is compiled into.
    std::string Operand(std::u16string_view text);

    TBuildTovaParser& owner_;
};

}  // namespace tova
