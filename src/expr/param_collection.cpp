#include "expr/param_collection.h"

#include <unordered_set>

#include "core/error.h"
#include "expr/param_factory.h"
#include "expr/param_system.h"
#include "expr/param_var.h"
#include "expr/system_variable_names.h"

namespace tova {

TParamCollection::TParamCollection() {
    for (int i = 0; i < kSystemVariableCount; ++i) {
        auto item = std::make_unique<TParamCollectionItem>(
            std::make_unique<TParamSystem>(static_cast<uint8_t>(i), *this));
        item->SetName(std::string(SystemVariableName(i)));
        THashCollection::AddItem(std::move(item));
    }
}

void TParamCollection::SetSystemHost(TSystemVariableHost* host) {
    systemHost_ = host ? host : &defaultHost_;
}

TParamCollectionItem* TParamCollection::FindItem(std::string_view name) const {
    TParamCollectionItem* global = nullptr;
    // The chain runs from the newest item to the oldest, so the last global
    // seen is the one linked earliest.
    for (THashCollectionItem* link = FirstNamed(name); link; link = link->NextSameName()) {
        auto* item = static_cast<TParamCollectionItem*>(link);
        if (item->LocalFlag == 0) {
            global = item;
        } else if (item->LocalFlag == 1 && item->Owner == CurrentDepth) {
            return item;
        }
    }
    return global;
}

TParamCollectionItem* TParamCollection::FindDeclared(std::string_view name, bool local) const {
    for (THashCollectionItem* link = FirstNamed(name); link; link = link->NextSameName()) {
        auto* item = static_cast<TParamCollectionItem*>(link);
        const bool isLocalHere = item->LocalFlag == 1 && item->Owner == CurrentDepth;
        if (local ? isLocalHere : item->LocalFlag == 0) return item;
    }
    return nullptr;
}

TParamCollectionItem* TParamCollection::AddItem(int typeCode) {
    std::unique_ptr<TCustomParam> value = CreateParam(typeCode, this);
    if (!value) throw ETovaError::Format("内部エラー");
    return Add(std::make_unique<TParamCollectionItem>(std::move(value)));
}

TParamCollection::TDeclared TParamCollection::Declare(std::string_view name, int typeCode, int kind) {
    if (name.empty()) throw ETovaError::Format("変数名がありません");
    if (TParamCollectionItem* found = FindDeclared(name, kind == VK_LOCAL))
        return {found, found->StatusFlag == 0};
    TParamCollectionItem::CheckName(name);
    TParamCollectionItem* item = AddItem(typeCode);
    item->SetName(std::string(name));
    if (kind == VK_AUTOFREE || kind == VK_LOCAL) item->Owner = CurrentDepth;
    if (kind == VK_LOCAL) item->LocalFlag = 1;
    if (kind == VK_STATUS) item->StatusFlag = 1;
    return {item, true};
}

std::unique_ptr<TCustomParam> TParamCollection::DetachedCopy(std::string_view name) const {
    const TParamCollectionItem* item = FindItem(name);
    if (!item) return nullptr;
    const int type = item->Value().StoredType();
    if (type < PT_INT || type > PT_STR) throw ETovaError::Format("%s:不正な変数です", {name});
    std::unique_ptr<TCustomParam> copy = CreateParam(type);
    copy->AssignRaw(item->Value());
    return copy;
}

void TParamCollection::DestroyWhere(const std::function<bool(const TParamCollectionItem&)>& doom) {
    std::unordered_set<const TParamCollectionItem*> doomed;
    for (int i = Count() - 1; i >= 0; --i)
        if (!Item(i)->IsSystem() && doom(*Item(i))) doomed.insert(Item(i));
    if (doomed.empty()) return;
    // A reference must not outlive its target.
    for (int i = 0; i < Count(); ++i) {
        auto* ref = dynamic_cast<TParamVar*>(&Item(i)->Value());
        if (ref && doomed.count(ref->Target())) ref->Bind(nullptr);
    }
    for (int i = Count() - 1; i >= 0; --i)
        if (doomed.count(Item(i))) Delete(i);
}

void TParamCollection::DeleteVariable(TParamCollectionItem& item) {
    DestroyWhere([&item](const TParamCollectionItem& candidate) { return &candidate == &item; });
}

void TParamCollection::FreeOwned(int32_t depth) {
    DestroyWhere([depth](const TParamCollectionItem& item) { return item.Owner == depth; });
}

void TParamCollection::ClearVars() {
    DestroyWhere([](const TParamCollectionItem& item) { return item.StatusFlag == 0; });
    TextDelay = 50;
    Cursor.clear();
}

}  // namespace tova
