// The status record: the entry "STATUSSAVEDATA" of the save file, holding
// what belongs to the installation rather than to one saved game. It is the
// nine bytes "Status" + the version as three digits, then each part in turn,
// written and read by its owner with the status version as argument.
#pragma once

#include <string_view>
#include <vector>

#include "core/stream.h"

namespace tova {

// One owner's share of the status record.
class TStatusPart {
public:
    virtual ~TStatusPart() = default;
    virtual void Save(TStream& stream, int version) const = 0;
    // Throws ETovaError on damaged or truncated data.
    virtual void Load(TStream& stream, int version) = 0;
};

class TStatusRecord {
public:
    static constexpr int kVersion = 103;
    static constexpr std::string_view kEntryName = "STATUSSAVEDATA";

    // Parts are saved and loaded in the order they were added; they must
    // outlive the record.
    void AddPart(TStatusPart& part) { parts_.push_back(&part); }

    // Writes the header with kVersion and every part.
    void Save(TStream& stream) const;
    // Reads the header: "Status" and three digits give the version (0 when
    // they are not digits); a record without "Status" is read from its first
    // byte as version 0. Then every part. Returns the version.
    int Load(TStream& stream);

private:
    std::vector<TStatusPart*> parts_;
};

}  // namespace tova
