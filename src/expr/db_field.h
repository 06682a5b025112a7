// The fields of a database table: typed slots of fixed byte size inside a
// record block, with the conversions every read and write of a field goes
// through, and the ordered field list that gives a record its layout.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

constexpr uint8_t DB_INT = 1;
constexpr uint8_t DB_FLOAT = 2;
constexpr uint8_t DB_BOOL = 3;
constexpr uint8_t DB_STR = 4;

// Byte sizes of the fixed-size types; a string field takes its declared
// length plus the terminating zero.
constexpr int32_t kDBIntSize = 4;
constexpr int32_t kDBFloatSize = 10;
constexpr int32_t kDBBoolSize = 1;
// Upper bound of a record's byte size, so that a script or a damaged save
// cannot make every record of a table enormous.
constexpr int32_t kDBMaxRecordSize = 16 * 1024 * 1024;

// The byte size of a field of type with the declared string length (ignored
// for the fixed-size types); 0 for an unknown type or a negative length.
int32_t DBFieldSizeFor(uint8_t type, int32_t stringLength);

class TDBField {
public:
    TDBField(std::string name, uint8_t type, int32_t size) : Size(size), Name(std::move(name)), Type(type) {}

    // Reads and writes of the field's bytes at p (Size bytes of a record).
    // A float read as an integer, or stored into an integer field, is
    // rounded to the nearest integer, ties to even; a string stored into a
    // string field is cut to the declared length in bytes.
    int32_t GetInt(const uint8_t* p) const;
    long double GetFloat(const uint8_t* p) const;
    bool GetBool(const uint8_t* p) const;
    std::string GetStr(const uint8_t* p) const;
    void SetInt(uint8_t* p, int32_t v) const;
    void SetFloat(uint8_t* p, long double v) const;
    void SetBool(uint8_t* p, bool v) const;
    void SetStr(uint8_t* p, std::string_view v) const;

    int32_t Size;
    std::string Name;
    uint8_t Type;
};

// Rounds to the nearest integer, ties to even, keeping the low 32 bits; a
// value beyond the 64-bit range, or NaN, gives 0 (the database raises no
// errors of its own).
int32_t DBRoundFloat(long double v);

class TDBFieldList {
public:
    int Count() const { return static_cast<int>(fields_.size()); }
    const TDBField& Field(int i) const { return *fields_[static_cast<size_t>(i)]; }
    // Byte offset of field i inside a record.
    int32_t Offset(int i) const { return offsets_[static_cast<size_t>(i)]; }
    int32_t RecordSize() const { return recordSize_; }

    // Appends a field (duplicates are allowed). False, and nothing added,
    // for an unknown type, a size that is not that of the type, or a record
    // that would grow beyond kDBMaxRecordSize.
    bool Add(std::string name, uint8_t type, int32_t size);
    void Remove(int i);
    void Clear();

    // The first field of that name ignoring case, or -1.
    int IndexOf(std::string_view name) const;

    // Same count and, field by field, the same name (byte-exact), type and size.
    bool operator==(const TDBFieldList& other) const;

private:
    void Relayout();

    std::vector<std::unique_ptr<TDBField>> fields_;
    std::vector<int32_t> offsets_;
    int32_t recordSize_ = 0;
};

}  // namespace tova
