#include "expr/db_table.h"

#include <cstring>

namespace tova {

bool TDBTable::AddField(std::string name, uint8_t type, int32_t stringLength) {
    const int32_t size = DBFieldSizeFor(type, stringLength);
    return size > 0 && AddSizedField(std::move(name), type, size);
}

bool TDBTable::AddSizedField(std::string name, uint8_t type, int32_t size) {
    const size_t oldSize = RecordBytesPerRecord();
    if (!fields_.Add(std::move(name), type, size)) return false;
    ReshapeRecords(oldSize, oldSize, 0, static_cast<size_t>(size));
    return true;
}

void TDBTable::RemoveField(int i) {
    const size_t oldSize = RecordBytesPerRecord();
    const auto offset = static_cast<size_t>(fields_.Offset(i));
    const auto size = static_cast<size_t>(fields_.Field(i).Size);
    fields_.Remove(i);
    ReshapeRecords(oldSize, offset, size, 0);
}

void TDBTable::ReshapeRecords(size_t oldSize, size_t keep, size_t drop, size_t grow) {
    const size_t newSize = oldSize - drop + grow;
    std::vector<uint8_t> reshaped(static_cast<size_t>(count_) * newSize, 0);
    for (size_t r = 0; r < static_cast<size_t>(count_); ++r) {
        const uint8_t* from = records_.data() + r * oldSize;
        uint8_t* to = reshaped.data() + r * newSize;
        std::memcpy(to, from, keep);
        std::memcpy(to + keep, from + keep + drop, oldSize - keep - drop);
    }
    records_ = std::move(reshaped);
}

void TDBTable::Append() {
    records_.resize(records_.size() + RecordBytesPerRecord(), 0);
    cursor_ = count_++;
}

void TDBTable::AppendCopy(const uint8_t* block) {
    // The block may be a record of this very table, which the growth moves.
    const std::vector<uint8_t> copy(block, block + RecordBytesPerRecord());
    Append();
    if (!copy.empty()) std::memcpy(Record(cursor_), copy.data(), copy.size());
}

bool TDBTable::DeleteCurrent() {
    if (cursor_ < 0) return false;
    const auto begin =
        records_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(cursor_) * RecordBytesPerRecord());
    records_.erase(begin, begin + static_cast<std::ptrdiff_t>(RecordBytesPerRecord()));
    --count_;
    if (cursor_ >= count_) cursor_ = count_ - 1;
    return true;
}

bool TDBTable::First() {
    if (count_ < 1) return false;
    cursor_ = 0;
    return true;
}

bool TDBTable::Last() {
    if (count_ < 1) return false;
    cursor_ = count_ - 1;
    return true;
}

bool TDBTable::Next() {
    if (cursor_ < 0 || cursor_ >= count_ - 1) return false;
    ++cursor_;
    return true;
}

bool TDBTable::Prior() {
    if (cursor_ <= 0) return false;
    --cursor_;
    return true;
}

bool TDBTable::SetCursor(int32_t i) {
    if (i >= count_) return false;
    cursor_ = i < 0 ? -1 : i;
    return true;
}

TDBFieldRef TDBTable::FieldAt(int32_t record, int field) {
    if (record < 0 || record >= count_ || field < 0 || field >= fields_.Count()) return {};
    return TDBFieldRef(&fields_.Field(field), Record(record) + fields_.Offset(field));
}

TDBFieldRef TDBTable::FieldOf(int32_t record, std::string_view fieldName) {
    if (record < 0 || record >= count_) return {};
    return FieldAt(record, fields_.IndexOf(fieldName));
}

void TDBTable::Clear() {
    fields_.Clear();
    ClearRecords();
}

void TDBTable::ClearRecords() {
    records_.clear();
    count_ = 0;
    cursor_ = -1;
}

bool TDBTable::AssignRecords(std::vector<uint8_t> bytes, int32_t count, int32_t cursor) {
    if (count < 0 || bytes.size() != static_cast<size_t>(count) * RecordBytesPerRecord()) return false;
    if (cursor < -1 || cursor >= count) return false;
    records_ = std::move(bytes);
    count_ = count;
    cursor_ = cursor;
    return true;
}

}  // namespace tova
