#include "expr/tova_parser.h"

#include <exception>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/build_tova_parser.h"

namespace tova {
namespace {

// Destroys the temporaries of one evaluation however it ends.
class TTemporaryScope {
public:
    explicit TTemporaryScope(TOpeEvaluator& evaluator) : evaluator_(evaluator) {}
    ~TTemporaryScope() { evaluator_.DestroyTemporaries(List); }
    TTemporaryScope(const TTemporaryScope&) = delete;
    TTemporaryScope& operator=(const TTemporaryScope&) = delete;

    TTemporaryList List;

private:
    TOpeEvaluator& evaluator_;
};

// The error an expression stopped on (code page 932), to the caller's error
// text when it asked for it, else to the evaluator's warnings.
void Swallowed(TOpeEvaluator& evaluator, std::string* error, const std::string& message) {
    if (error)
        *error = message;
    else if (evaluator.Warnings())
        evaluator.Warnings()->Warn(message);
}

}  // namespace

void TTovaParser::LoadFromStream(TStream& stream) {
    Clear();
    const int32_t count = ReadI32(stream);
    if (count < 0 || count > stream.Remaining() / kMinStoredRecordSize)
        throw ETovaError("damaged expression: record count " + std::to_string(count) + " exceeds the data");
    records_.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<TOpeData>();
        record->LoadFromStream(stream);
        records_.push_back(std::move(record));
    }
}

void TTovaParser::SaveToStream(TStream& stream) const {
    WriteI32(stream, static_cast<int32_t>(records_.size()));
    for (const auto& record : records_)
        record->SaveToStream(stream);
}

void TTovaParser::Assign(const TTovaParser& other) {
    if (&other == this) return;
    Clear();
    for (const auto& record : other.records_)
        records_.push_back(record->Clone());
}

void TTovaParser::Clear() {
    records_.clear();
}

void TTovaParser::Execute(TOpeEvaluator& evaluator, std::string* error) {
    Result.reset();
    if (error) error->clear();
    TTemporaryScope temporaries(evaluator);
    try {
        for (const auto& record : records_)
            evaluator.Evaluate(*record, temporaries.List);
    } catch (const ETovaError& e) {
        // An expression that fails has no value; the records before the
        // failing one keep their effect. The caller hears of it when it asks,
        // the author through the evaluator's warnings otherwise.
        Swallowed(evaluator, error, e.Message());
    } catch (const std::exception& e) {
        Swallowed(evaluator, error, e.what());
    }
    if (records_.empty()) return;
    const TOpeData& last = *records_.back();
    if (last.Op != ocTo || last.Target != kResultTemporary) return;
    try {
        Result = evaluator.Vars().DetachedCopy(kResultTemporary);
    } catch (const ETovaError&) {
        // "____arg" holds no data of its own (an unbound reference): no value.
    }
}

void CompileExpression(std::string_view text, TTovaParser& parser,
                       const std::function<bool(std::string_view)>& isVariable) {
    TBuildTovaParser compiler;
    compiler.IsVariable = isVariable;
    compiler.Compile(text);
    TTpMemoryStream stream;
    compiler.SaveToStream(stream);
    stream.SetPosition(0);
    parser.LoadFromStream(stream);
}

bool RunStatement(std::string_view text, TOpeEvaluator& evaluator) {
    const std::string_view statement = TrimExpressionText(text);
    if (statement.empty()) return false;
    TTovaParser parser;
    try {
        CompileExpression(statement, parser, [&evaluator](std::string_view name) {
            return evaluator.Vars().FindItem(name) != nullptr;
        });
    } catch (const ETovaError&) {
        return false;
    }
    parser.Execute(evaluator);
    return true;
}

}  // namespace tova
