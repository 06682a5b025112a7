#include "expr/param_collection_item.h"

#include "core/error.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"

namespace tova {

void TParamCollectionItem::SetType(int typeCode) {
    std::unique_ptr<TCustomParam> fresh =
        CreateParam(typeCode, dynamic_cast<const TParamCollection*>(Collection()));
    if (!fresh) throw ETovaError::Format("内部エラー");
    value_ = std::move(fresh);
    if (auto* vars = dynamic_cast<TParamCollection*>(Collection())) vars->NoteRetyped(*this);
}

void TParamCollectionItem::CheckName(std::string_view name) {
    if (name.empty() || name.find(' ') != std::string_view::npos || (name[0] >= '0' && name[0] <= '9'))
        throw ETovaError::Format("\"%s\"：変数名が不正です", {name});
}

void TParamCollectionItem::SetName(std::string name) {
    CheckName(name);
    THashCollectionItem::SetName(std::move(name));
}

}  // namespace tova
