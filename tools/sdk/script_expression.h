// Expression values of the script language: compiling a written value (text
// or raw form) into a parser, and printing a stored expression as the text
// that compiles back to exactly its records, or else in raw form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "expr/tova_parser.h"
#include "sdk/script_text.h"

namespace tova::sdk {

// Where a printed expression stands, which decides what it may contain.
enum class TExpressionPlace {
    Line,      // up to the end of the line
    Argument,  // one item of a parenthesised, comma-separated list
};

// Compiles value (already cut out of the line, code page 932): "{...}" is the
// raw form, anything else expression text. Errors name the cursor's line.
void CompileValue(std::string_view value, const TLineCursor& at, TTovaParser& parser);

bool SameRecords(const TTovaParser& a, const TTovaParser& b);

// A text (code page 932) that compiles to exactly the records of parser, or
// none when no such text is found.
std::optional<std::string> ExpressionText(const TTovaParser& parser);

// The value as printed at place (UTF-8): the expression text when it
// compiles back exactly and can stand there (not containing keyword, when
// given, as a word of its own), else the raw form.
std::string ExpressionSource(const TTovaParser& parser, TExpressionPlace place,
                             std::string_view keyword = {});

}  // namespace tova::sdk
