// Stored forms shared by the command records: the page string (an int32
// length, 0 or less for empty), lists of expressions with their int32 count,
// and expressions that only pages from a given version on carry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/stream.h"
#include "engine/command_flow.h"
#include "expr/tova_parser.h"

namespace tova {

std::string ReadPageString(TStream& stream);
void WritePageString(TStream& stream, std::string_view text);

// A count that must fit in what is left, at minSize bytes per item.
int32_t ReadCount(TStream& stream, int64_t minSize, std::string_view what);

void ReadParserList(TStream& stream, TParserList& list);
void WriteParserList(TStream& stream, const TParserList& list);

// The smallest stored expression: its int32 record count.
constexpr int64_t kMinExpressionSize = 4;

}  // namespace tova
