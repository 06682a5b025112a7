// A compiled expression: the operator records in evaluation order and the
// value of its last evaluation.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "expr/custom_param.h"
#include "expr/ope_data.h"
#include "expr/ope_evaluator.h"

namespace tova {

class TTovaParser {
public:
    TTovaParser() = default;
    TTovaParser(const TTovaParser&) = delete;
    TTovaParser& operator=(const TTovaParser&) = delete;
    TTovaParser(TTovaParser&&) = default;
    TTovaParser& operator=(TTovaParser&&) = default;

    // Clears, then reads the record count and the records.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    // Clears and copies every record of other.
    void Assign(const TTovaParser& other);
    void Clear();

    // Evaluates the records in order. The first error ends the evaluation
    // silently; the temporaries it created are destroyed in any case.
    // Afterwards Result holds the value of "____arg" when the last record
    // assigns it, else nothing. With error, the message of the error that
    // ended the evaluation (code page 932) is stored there, or it is cleared.
    void Execute(TOpeEvaluator& evaluator, std::string* error = nullptr);

    const std::vector<std::unique_ptr<TOpeData>>& Records() const { return records_; }
    void AddRecord(std::unique_ptr<TOpeData> record) { records_.push_back(std::move(record)); }

    // Valid until the next Execute or the parser's destruction.
    std::unique_ptr<TCustomParam> Result;

private:
    std::vector<std::unique_ptr<TOpeData>> records_;
};

// Compiles text, writes the records in their stored form and reads them
// back into parser, so that parser holds exactly what a command record would
// carry. A name isVariable answers true for stays a variable where it spells
// a named constant. A compile error raises ETovaError.
void CompileExpression(std::string_view text, TTovaParser& parser,
                       const std::function<bool(std::string_view)>& isVariable = {});

// Trims text and runs it as an expression: false for an empty text, a
// compile error or a damaged compiled form; an error while evaluating does
// not make it false.
bool RunStatement(std::string_view text, TOpeEvaluator& evaluator);

}  // namespace tova
