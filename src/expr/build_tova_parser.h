// The expression compiler: turns expression text (code page 932) into
// operator records with named temporaries, and writes them in the stored
// form of a compiled expression.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

// An operator record while compiling: operands are still texts. For ocFunc
// operand 0 is the function name and the others are the arguments.
struct TBuildOpeData {
    uint8_t Op = 0;
    std::string Target;
    std::vector<std::string> Operands;
};

// text without the blanks and control characters at both ends.
std::string_view TrimExpressionText(std::string_view text);

class TBuildTovaParser {
public:
    // Appends the records of text, then removes redundant copies between
    // temporaries and turns the named constants (PR_LEFT, VK_RETURN, ...)
    // into their numbers. Malformed text raises ETovaError ("構文エラー"
    // and the like).
    void Compile(std::string_view text);

    // Whether a name is a variable of the program being compiled: such a
    // name stays a variable even where it spells a constant. Unset: no
    // variable shadows a constant.
    std::function<bool(std::string_view name)> IsVariable;
    // Writes the records in the stored form; an unknown function name or a
    // wrong argument count raises ETovaError.
    void SaveToStream(TStream& stream) const;
    void Clear();

    const std::vector<TBuildOpeData>& Records() const { return records_; }

private:
    friend class TExpressionCompiler;

    // Drops the copies from one temporary into another, renaming the later uses.
    void RemoveCopies();
    // Replaces the operands that name a constant (and no variable) by its number.
    void ResolveConstants();

    std::vector<TBuildOpeData> records_;
    int32_t tempCounter_ = 0;
};

}  // namespace tova
