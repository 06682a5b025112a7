#include "expr/db_manager.h"

#include <algorithm>

#include "core/sjis.h"

namespace tova {

int TDBManager::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SjisSameText(Table(i).Name, name)) return i;
    return -1;
}

TDBTable* TDBManager::Find(std::string_view name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &Table(i);
}

int TDBManager::ActiveIndex() const {
    for (int i = 0; i < Count(); ++i)
        if (&Table(i) == active_) return i;
    return -1;
}

bool TDBManager::SetActive(std::string_view name) {
    TDBTable* table = Find(name);
    if (!table) return false;
    active_ = table;
    return true;
}

int TDBManager::CreateTable(std::string name, uint8_t status) {
    if (name.empty() || IndexOf(name) >= 0) return -1;
    tables_.push_back(std::make_unique<TDBTable>(std::move(name), status != 0 ? 1 : 0));
    active_ = tables_.back().get();
    return Count() - 1;
}

bool TDBManager::DeleteTable(std::string_view name) {
    const int i = IndexOf(name);
    if (i < 0) return false;
    if (active_ == &Table(i)) active_ = nullptr;
    tables_.erase(tables_.begin() + i);
    return true;
}

bool TDBManager::DeleteActiveTable() {
    const int i = ActiveIndex();
    if (i < 0) return false;
    active_ = nullptr;
    tables_.erase(tables_.begin() + i);
    return true;
}

void TDBManager::RemoveWhere(uint8_t status) {
    std::erase_if(tables_, [&](const std::unique_ptr<TDBTable>& table) { return table->Status == status; });
    active_ = nullptr;
}

void TDBManager::RemoveOrdinaryTables() {
    RemoveWhere(0);
}

void TDBManager::Clear() {
    tables_.clear();
    active_ = nullptr;
}

TDBFieldRef TDBManager::DirectField(std::string_view tableName, const TDBKeys& keys,
                                    std::string_view fieldName) const {
    TDBTable* table = Find(tableName);
    if (!table) return {};
    const std::vector<int32_t> found = table->Find(keys);
    return found.empty() ? TDBFieldRef() : table->FieldOf(found.front(), fieldName);
}

bool TDBManager::CopyToTable(std::string_view destination, const std::vector<int32_t>& records) const {
    TDBTable* target = Find(destination);
    if (!active_ || !target || target == active_) return false;
    target->Clear();
    for (int i = 0; i < active_->Fields().Count(); ++i) {
        const TDBField& field = active_->Fields().Field(i);
        target->AddSizedField(field.Name, field.Type, field.Size);
    }
    for (const int32_t r : records)
        if (r >= 0 && r < active_->RecordCount()) target->AppendCopy(active_->Record(r));
    return true;
}

bool TDBManager::InsertFromTable(std::string_view source, const std::vector<int32_t>& records) const {
    const TDBTable* from = Find(source);
    if (!active_ || !from || !(from->Fields() == active_->Fields())) return false;
    for (const int32_t r : records)
        if (r >= 0 && r < from->RecordCount()) active_->AppendCopy(from->Record(r));
    return true;
}

bool TDBManager::CopyCurrentTo(std::string_view destination) const {
    TDBTable* target = Find(destination);
    if (!active_ || !target || active_->Cursor() < 0 || !(target->Fields() == active_->Fields()))
        return false;
    target->AppendCopy(active_->Record(active_->Cursor()));
    return true;
}

}  // namespace tova
