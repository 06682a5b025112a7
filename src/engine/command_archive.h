// The visitor through which every command record states its fields once, in
// stored order: the page reader and writer run it over a stream, and the SDK
// runs it in describing mode to learn the expression fields of a command by
// the names its script language gives them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/record_archive.h"
#include "engine/command.h"
#include "engine/command_flow.h"
#include "expr/tova_parser.h"

namespace tova {

// One expression field of a command record, as a describing archive sees it.
struct TExpressionField {
    std::string_view Name;
    TTovaParser* Parser = nullptr;  // a single expression
    TParserList* List = nullptr;    // a counted list of expressions
    int32_t MinVersion = 0;         // pages of older versions do not store it
};

class TCommandArchive final : public TRecordArchive {
public:
    using TRecordArchive::TRecordArchive;

    void Expression(std::string_view name, TTovaParser& parser, int32_t since = 0);
    // An int32 count followed by that many expressions.
    void ExpressionList(std::string_view name, TParserList& list);
    // The property slots of a component command: one expression for every
    // slot the page's mask created, in ascending id order. Described
    // separately by the SDK (by property name), so not listed as fields.
    void Properties(std::array<std::unique_ptr<TTovaParser>, kComponentPropertyCount>& slots);

    // The expression fields visited so far (describing mode only).
    const std::vector<TExpressionField>& Fields() const { return fields_; }

private:
    std::vector<TExpressionField> fields_;
};

// The expression fields of a command in record order, with the version from
// which each is stored; component properties are not among them.
std::vector<TExpressionField> DescribeExpressions(TCommand& command);

}  // namespace tova
