// The raw form of a stored expression in the script language:
// "{ocBig ____0 n int:3; ocTo ____arg ____0}", one record after the other,
// for expressions that no expression text compiles to.
#pragma once

#include <string>

#include "expr/tova_parser.h"
#include "sdk/script_text.h"

namespace tova::sdk {

// The raw form (UTF-8) of the records; "{}" for none.
std::string RawExpressionText(const TTovaParser& parser);
// Reads the raw form at the cursor (which stands on "{") into parser.
void ReadRawExpression(TLineCursor& cursor, TTovaParser& parser);

}  // namespace tova::sdk
