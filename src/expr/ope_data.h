// One operator record of a compiled expression: an operation computed from
// constant or variable operands into a named target variable, and its
// stored form inside command records.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "expr/custom_param.h"
#include "expr/param_collection.h"

namespace tova {

class TParamVar;

// Operator codes, one byte in the stored form.
enum TOpeCode : uint8_t {
    ocNone = 0,
    ocTo = 1,         // =
    ocPlus = 2,       // +
    ocMinus = 3,      // -
    ocMul = 4,        // *
    ocDiv = 5,        // /
    ocMod = 6,        // %
    ocOr = 7,         // |
    ocAnd = 8,        // &
    ocXor = 9,        // ^
    ocDimTo = 10,     // name[i, ...]
    ocFunc = 11,      // name(a, ...)
    ocEqual = 12,     // ==
    ocBig = 13,       // >
    ocSmall = 14,     // <
    ocEBig = 15,      // >=
    ocESmall = 16,    // <=
    ocShiftL = 17,    // <<
    ocShiftR = 18,    // >>
    ocComboStr = 19,  // ++
    ocNEqual = 20,    // <>
};

inline constexpr int kOpeCodeCount = 21;

// "ocTo" and so on; a code without a name gives its decimal value.
std::string OpeCodeName(int code);

// Names of temporaries start with this prefix; element references use
// "____d_" and the value of an expression that is no assignment "____arg".
inline constexpr std::string_view kTemporaryPrefix = "____";
inline constexpr std::string_view kElementTemporaryPrefix = "____d_";
inline constexpr std::string_view kResultTemporary = "____arg";

// Stored operand tags.
inline constexpr uint8_t kOperandReference = 0;
inline constexpr uint8_t kOperandInt = 1;
inline constexpr uint8_t kOperandFloat = 2;
inline constexpr uint8_t kOperandBool = 3;
inline constexpr uint8_t kOperandStr = 4;

// The smallest stored record: op, an empty target and the operand count.
inline constexpr int64_t kMinStoredRecordSize = 1 + 4 + 4;

class TOpeData {
public:
    TOpeData() = default;
    TOpeData(uint8_t op, std::string target, uint8_t functionId = 0)
        : Op(op), Target(std::move(target)), FunctionId(functionId) {}
    TOpeData(const TOpeData&) = delete;
    TOpeData& operator=(const TOpeData&) = delete;

    uint8_t Op = ocNone;
    std::string Target;
    uint8_t FunctionId = 0;  // meaningful for ocFunc only

    // Constants (TParamInt, TParamFloat, TParamFlag, TParamStr) and
    // references (TParamVar naming the variable as written).
    int OperandCount() const { return static_cast<int>(operands_.size()); }
    TCustomParam& Operand(int index) const { return *operands_[static_cast<size_t>(index)]; }
    std::span<TCustomParam* const> Operands() const { return view_; }
    // The reference operands among them, in order.
    std::span<TParamVar* const> References() const { return references_; }
    // Where the evaluator last found the name of reference i, and the target.
    TFoundName& FoundReference(size_t i) const { return found_[i]; }
    TFoundName& FoundTarget() const { return foundTarget_; }

    void AddOperand(std::unique_ptr<TCustomParam> operand);
    void AddReference(std::string name);

    // Reads one record; damaged or truncated data raises ETovaError.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    // Constants copied by type and value, references as new unbound ones.
    std::unique_ptr<TOpeData> Clone() const;

private:
    std::vector<std::unique_ptr<TCustomParam>> operands_;
    std::vector<TCustomParam*> view_;
    std::vector<TParamVar*> references_;
    // Remembered lookups: the evaluator's to keep, never part of the record.
    mutable std::vector<TFoundName> found_;
    mutable TFoundName foundTarget_;
};

}  // namespace tova
