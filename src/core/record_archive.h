// A save-and-load visitor for versioned records: one function per record
// visits its fields in stored order, and the same function reads the record,
// writes it, or only describes it (names and versions of its fields, without
// touching a stream). Fields that a record carries only from a given format
// version on name that version at the field, so the reader and the writer can
// never disagree about it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/stream.h"

namespace tova {

enum class TArchiveMode {
    Read,      // fields are filled from the stream
    Write,     // fields are written to the stream
    Describe,  // nothing is read or written; subclasses collect the fields
};

class TRecordArchive {
public:
    // A reader or writer over stream for a record of the given format version;
    // damage is the error kind a reader raises for data that does not fit.
    TRecordArchive(TArchiveMode mode, TStream& stream, int32_t version, TErrorKind damage);
    // A describing archive: every field counts as present.
    explicit TRecordArchive(int32_t version);
    virtual ~TRecordArchive() = default;
    TRecordArchive(const TRecordArchive&) = delete;
    TRecordArchive& operator=(const TRecordArchive&) = delete;

    TArchiveMode Mode() const { return mode_; }
    bool IsReading() const { return mode_ == TArchiveMode::Read; }
    bool IsWriting() const { return mode_ == TArchiveMode::Write; }
    int32_t Version() const { return version_; }
    // True when a field stored from version since on belongs to this record.
    bool Holds(int32_t since) const { return version_ >= since; }

    void Int32(int32_t& value, int32_t since = 0);
    void Byte(uint8_t& value, int32_t since = 0);
    // An int32 byte length and the bytes; a length of 0 or less reads as empty.
    void String(std::string& value, int32_t since = 0);
    // The int32 count of a list, written from count and returned as read; a
    // count that cannot fit in what is left at minItemSize bytes per item is
    // damage. Describing returns count unchanged.
    int32_t Count(int32_t count, int64_t minItemSize, std::string_view what);

protected:
    // Only for Read and Write.
    TStream& Stream() { return *stream_; }
    TErrorKind DamageKind() const { return damage_; }

private:
    TArchiveMode mode_;
    TStream* stream_ = nullptr;
    int32_t version_;
    TErrorKind damage_ = TErrorKind::DamagedData;
};

}  // namespace tova
