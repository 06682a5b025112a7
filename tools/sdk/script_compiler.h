// The script language: the text form of a script page. CompileScript turns
// source text (UTF-8) into a page holding exactly the records the player
// reads; DecompileScript prints a page as source that compiles back to the
// same bytes.
#pragma once

#include <string>
#include <string_view>

#include "engine/page.h"
#include "sdk/script_text.h"

namespace tova::sdk {

// Replaces the page's commands, version, result type and masks by those of
// the source. sourceName is used in error messages ("NAME:LINE: message");
// a source error throws ETovaError and leaves the page empty. The language
// is described in docs/script-language.md. projectVariables names the game's
// variables declared elsewhere (a variable wins over a named constant of the
// same spelling; the source's own VarNew commands count anyway).
void CompileScript(std::string_view source, std::string_view sourceName, TPage& page,
                   const TVariableTest& projectVariables = {});

// The source text (UTF-8) of a page; compiling it gives back the page's
// bytes. Jumps into the page itself (its Name's file name) print label names.
std::string DecompileScript(const TPage& page);

}  // namespace tova::sdk
