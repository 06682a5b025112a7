#include "expr/element_address.h"

#include <limits>
#include <string>

#include "core/error.h"
#include "expr/param_collection.h"
#include "expr/param_var.h"

namespace tova {
namespace {

[[noreturn]] void ThrowAddress(std::string_view name, std::span<const int32_t> indexes,
                               const char* utf8Reason) {
    std::string text(name);
    text += '[';
    for (size_t k = 0; k < indexes.size(); ++k) {
        if (k > 0) text += ',';
        text += std::to_string(indexes[k]);
    }
    text += "]\r\n";
    throw ETovaError(text + SysText(utf8Reason));
}

}  // namespace

int32_t ElementIndexOf(const TParamCollectionItem& variable, std::string_view name,
                       std::span<const int32_t> indexes) {
    if (static_cast<int64_t>(indexes.size()) != variable.GetDimCount())
        ThrowAddress(name, indexes, "添え字が不正です");
    // Dimension sizes come from stored data as well, so the sums are checked:
    // an address beyond 64 bits is past the elements whatever its sign.
    int64_t flat = 0;
    int64_t weight = 1;
    bool overflow = false;
    for (size_t k = indexes.size(); k-- > 0;) {
        int64_t term = 0;
        overflow = overflow || __builtin_mul_overflow(weight, static_cast<int64_t>(indexes[k]), &term) ||
                   __builtin_add_overflow(flat, term, &flat);
        if (k > 0) {
            const int64_t size = variable.GetDimSize(static_cast<int>(k));
            overflow = overflow || __builtin_mul_overflow(weight, size, &weight);
        }
    }
    if (overflow || flat >= variable.GetCount()) ThrowAddress(name, indexes, "要素数を超えています");
    // Any negative index fails at the element access the same way.
    return flat < std::numeric_limits<int32_t>::min() ? -1 : static_cast<int32_t>(flat);
}

void BindElement(TParamVar& ref, const TParamCollection& vars, std::string_view name,
                 std::span<const int32_t> indexes) {
    TParamCollectionItem* variable = vars.FindItem(name);
    if (!variable) throw ETovaError::Format("\"%s\" 変数がありません", {name});
    ref.BindElement(variable, ElementIndexOf(*variable, name, indexes));
}

}  // namespace tova
