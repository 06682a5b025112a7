#include "expr/param_collection.h"

#include <algorithm>
#include <functional>
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
    return FindInChain(FirstNamed(name));
}

TParamCollectionItem* TParamCollection::FindAndRemember(std::string_view name, TFoundName& found) const {
    const TChain* chain = ChainOf(name);
    if (!chain) return nullptr;  // no chain to watch: nothing remembered
    found = {Epoch(), chain, chain->version, CurrentDepth, FindInChain(chain->head)};
    return found.Item;
}

TParamCollectionItem* TParamCollection::FindInChain(THashCollectionItem* head) const {
    TParamCollectionItem* global = nullptr;
    // The chain runs from the newest item to the oldest, so the last global
    // seen is the one linked earliest.
    for (THashCollectionItem* link = head; link; link = link->NextSameName()) {
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
    TParamCollectionItem* item = Add(std::make_unique<TParamCollectionItem>(std::move(value)));
    if (dynamic_cast<TParamVar*>(&item->Value())) references_.insert(item);
    return item;
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
    Track(*item);
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

void TParamCollection::Track(TParamCollectionItem& item) {
    // Its owner and scope were set after it was named: lookups of its name
    // remembered since then must look again.
    TouchChain(item);
    if (item.Owner >= 0) owned_[item.Owner].push_back(&item);
    if (dynamic_cast<TParamVar*>(&item.Value())) references_.insert(&item);
}

void TParamCollection::NoteRetyped(TParamCollectionItem& item) {
    if (dynamic_cast<TParamVar*>(&item.Value())) {
        references_.insert(&item);
    } else {
        references_.erase(&item);
    }
}

void TParamCollection::DestroyWhere(const std::function<bool(const TParamCollectionItem&)>& doom) {
    std::unordered_set<const TParamCollectionItem*> doomed;
    for (int i = Count() - 1; i >= 0; --i)
        if (!Item(i)->IsSystem() && doom(*Item(i))) doomed.insert(Item(i));
    DestroyItems(doomed);
}

void TParamCollection::DestroyItems(const std::unordered_set<const TParamCollectionItem*>& doomed) {
    if (doomed.empty()) return;
    // A reference must not outlive its target.
    for (TParamCollectionItem* item : references_) {
        auto* ref = dynamic_cast<TParamVar*>(&item->Value());
        if (ref && doomed.count(ref->Target())) ref->Bind(nullptr);
    }
    std::vector<int> indices;
    indices.reserve(doomed.size());
    for (const TParamCollectionItem* item : doomed) {
        indices.push_back(item->Index());
        references_.erase(const_cast<TParamCollectionItem*>(item));
        if (item->Owner < 0) continue;
        const auto list = owned_.find(item->Owner);
        if (list == owned_.end()) continue;
        std::erase(list->second, item);
        if (list->second.empty()) owned_.erase(list);
    }
    // From the last to the first: the items after a deleted one move down.
    std::sort(indices.begin(), indices.end(), std::greater<int>());
    for (int index : indices)
        Delete(index);
}

void TParamCollection::DeleteVariable(TParamCollectionItem& item) {
    if (item.IsSystem()) return;
    DestroyItems({&item});
}

void TParamCollection::FreeOwned(int32_t depth) {
    const auto list = owned_.find(depth);
    if (list == owned_.end()) return;
    const std::vector<TParamCollectionItem*> items = std::move(list->second);
    owned_.erase(list);
    std::unordered_set<const TParamCollectionItem*> doomed;
    for (const TParamCollectionItem* item : items)
        if (!item->IsSystem()) doomed.insert(item);
    DestroyItems(doomed);
}

void TParamCollection::ClearVars() {
    DestroyWhere([](const TParamCollectionItem& item) { return item.StatusFlag == 0; });
    TextDelay = 50;
    Cursor.clear();
}

}  // namespace tova
