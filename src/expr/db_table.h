// A table of the script database: a named list of typed fields and fixed-size
// records kept in one block of memory, with a current-record cursor.
// Failures (no current record, unknown field, index out of range) are
// answered with false, -1 or an empty reference; nothing raises.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/db_field.h"

namespace tova {

class TCustomParam;

// The kind byte stored before every table; the only kind there is.
constexpr uint8_t kDBTableKind = 0;

// What every kind of table has: its fields, its name and whether it is kept
// with the status record (1) or with the game save (0).
class TDBCustomTable {
public:
    TDBCustomTable(std::string name, uint8_t status) : Name(std::move(name)), Status(status) {}

    const TDBFieldList& Fields() const { return fields_; }

    std::string Name;
    uint8_t Status;

protected:
    TDBFieldList fields_;
};

// One field of one record: reads and writes convert as TDBField does. Empty
// (false) when the record or the field does not exist.
class TDBFieldRef {
public:
    TDBFieldRef() = default;
    TDBFieldRef(const TDBField* field, uint8_t* bytes) : field_(field), bytes_(bytes) {}

    explicit operator bool() const { return field_ != nullptr; }
    const TDBField& Field() const { return *field_; }

    int32_t GetInt() const { return field_->GetInt(bytes_); }
    long double GetFloat() const { return field_->GetFloat(bytes_); }
    bool GetBool() const { return field_->GetBool(bytes_); }
    std::string GetStr() const { return field_->GetStr(bytes_); }
    void SetInt(int32_t v) const { field_->SetInt(bytes_, v); }
    void SetFloat(long double v) const { field_->SetFloat(bytes_, v); }
    void SetBool(bool v) const { field_->SetBool(bytes_, v); }
    void SetStr(std::string_view v) const { field_->SetStr(bytes_, v); }

private:
    const TDBField* field_ = nullptr;
    uint8_t* bytes_ = nullptr;
};

// The keys of a search: field names and the wanted values, each a script
// value whose elements are taken in order (a scalar is one element). Null
// names or values match every record.
struct TDBKeys {
    const TCustomParam* Names = nullptr;
    const TCustomParam* Values = nullptr;
    bool Partial = false;
    bool IgnoreCase = false;
};

class TDBTable final : public TDBCustomTable {
public:
    using TDBCustomTable::TDBCustomTable;

    int32_t RecordCount() const { return count_; }
    int32_t Cursor() const { return cursor_; }
    // The block of record i (RecordSize bytes); i must be a record index.
    uint8_t* Record(int32_t i) { return records_.data() + static_cast<size_t>(i) * RecordBytesPerRecord(); }
    const uint8_t* Record(int32_t i) const {
        return records_.data() + static_cast<size_t>(i) * RecordBytesPerRecord();
    }
    // Every record block, one after the other.
    const std::vector<uint8_t>& RecordBytes() const { return records_; }

    // Adds a field of type with the declared string length (ignored for the
    // other types); every record grows by its size, zero-filled. False for an
    // unknown type, a negative length or a record grown too large.
    bool AddField(std::string name, uint8_t type, int32_t stringLength);
    // Adds a field of a given byte size, as a stored table declares it.
    bool AddSizedField(std::string name, uint8_t type, int32_t size);
    // Drops field i (a field index) and its bytes from every record.
    void RemoveField(int i);

    // A zero-filled record at the end becomes current.
    void Append();
    // Appends a copy of a block of RecordSize bytes and makes it current.
    void AppendCopy(const uint8_t* block);
    // Deletes the current record; the cursor stays at its index, or moves to
    // the new last record (-1 when none is left). False without a current record.
    bool DeleteCurrent();

    bool First();
    bool Last();
    bool Next();
    bool Prior();
    // i >= count: false and unchanged; i < 0: no current record.
    bool SetCursor(int32_t i);

    TDBFieldRef FieldAt(int32_t record, int field);
    TDBFieldRef FieldOf(int32_t record, std::string_view fieldName);
    TDBFieldRef CurrentField(std::string_view fieldName) { return FieldOf(cursor_, fieldName); }

    // Indexes of the records matching every key, in order.
    std::vector<int32_t> Find(const TDBKeys& keys) const;
    // Reorders the records by the fields named in names (unknown names are
    // skipped), each descending where the matching element of descending is
    // true; the cursor keeps its index.
    void Sort(const TCustomParam& names, const TCustomParam& descending);

    // Removes every field and record.
    void Clear();
    void ClearRecords();
    // Replaces the records by count blocks in bytes; the cursor must be -1 or
    // a record index. False (nothing changed) when the sizes do not agree.
    bool AssignRecords(std::vector<uint8_t> bytes, int32_t count, int32_t cursor);

private:
    size_t RecordBytesPerRecord() const { return static_cast<size_t>(fields_.RecordSize()); }
    // Rebuilds every record of oldSize bytes as its bytes [0, keep) and
    // [keep + drop, oldSize) followed by grow zero bytes.
    void ReshapeRecords(size_t oldSize, size_t keep, size_t drop, size_t grow);

    std::vector<uint8_t> records_;
    int32_t count_ = 0;
    int32_t cursor_ = -1;
};

}  // namespace tova
