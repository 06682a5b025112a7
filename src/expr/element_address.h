// The address of an array element name[i1, ..., in]: the last index varies
// fastest, and a scalar counts as one dimension of size 1.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tova {

class TParamCollection;
class TParamCollectionItem;
class TParamVar;

// The flat element index. The number of indexes must equal the dimension
// count ("添え字が不正です") and the index must lie below the element count
// ("要素数を超えています"), both after the text name[i1,...,in] and CR LF.
// A negative result is left to the element access to reject.
int32_t ElementIndexOf(const TParamCollectionItem& variable, std::string_view name,
                       std::span<const int32_t> indexes);

// Looks the variable up and binds ref to the element; a missing variable
// raises "\"%s\" 変数がありません".
void BindElement(TParamVar& ref, const TParamCollection& vars, std::string_view name,
                 std::span<const int32_t> indexes);

}  // namespace tova
