#include "expr/db_stored.h"

#include <string>
#include <vector>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/db_manager.h"

namespace tova {
namespace {

// The fewest bytes a stored field takes: size, an empty name and the type.
constexpr int64_t kMinStoredField = 4 + 4 + 1;
// The fewest bytes a stored table takes after its kind byte: an empty name,
// the status, the field and record counts and the cursor.
constexpr int64_t kMinStoredTable = 4 + 1 + 4 + 4 + 4;
// Records of a table without fields take no bytes, so their count is
// bounded by this instead of by what is left.
constexpr int32_t kMaxFieldlessRecords = 1 << 20;

[[noreturn]] void Damaged(const std::string& what) {
    throw ETovaError("damaged table data: " + what);
}

void CheckCount(TStream& stream, int32_t count, int64_t bytesEach, const char* what) {
    const int64_t left = stream.Remaining();
    if (count < 0 || (bytesEach > 0 && count > left / bytesEach))
        Damaged(std::string(what) + " count " + std::to_string(count) + ", but only " + std::to_string(left) +
                " bytes left");
}

}  // namespace

void SaveTable(TStream& stream, const TDBTable& table) {
    WriteString(stream, table.Name);
    WriteU8(stream, table.Status);
    const TDBFieldList& fields = table.Fields();
    WriteI32(stream, fields.Count());
    for (int i = 0; i < fields.Count(); ++i) {
        const TDBField& field = fields.Field(i);
        WriteI32(stream, field.Size);
        WriteString(stream, field.Name);
        WriteU8(stream, field.Type);
    }
    WriteI32(stream, table.RecordCount());
    stream.WriteBuffer(table.RecordBytes());
    WriteI32(stream, table.Cursor());
}

std::unique_ptr<TDBTable> LoadTable(TStream& stream) {
    std::string name = ReadString(stream);
    const uint8_t status = ReadU8(stream);
    auto table = std::make_unique<TDBTable>(std::move(name), status);

    const int32_t fieldCount = ReadI32(stream);
    CheckCount(stream, fieldCount, kMinStoredField, "field");
    for (int32_t i = 0; i < fieldCount; ++i) {
        const int32_t size = ReadI32(stream);
        std::string fieldName = ReadString(stream);
        const uint8_t type = ReadU8(stream);
        if (!table->AddSizedField(fieldName, type, size))
            Damaged("field " + fieldName + " of type " + std::to_string(type) + " with size " +
                    std::to_string(size));
    }

    const int32_t recordCount = ReadI32(stream);
    const int32_t recordSize = table->Fields().RecordSize();
    CheckCount(stream, recordCount, recordSize, "record");
    if (recordSize == 0 && recordCount > kMaxFieldlessRecords)
        Damaged(std::to_string(recordCount) + " records without fields");
    std::vector<uint8_t> records = ReadBytes(stream, static_cast<int64_t>(recordCount) * recordSize);
    const int32_t cursor = ReadI32(stream);
    if (!table->AssignRecords(std::move(records), recordCount, cursor))
        Damaged("cursor " + std::to_string(cursor) + " of " + std::to_string(recordCount) + " records");
    return table;
}

void TDBManager::SaveSection(TStream& stream, uint8_t flag) const {
    WriteI32(stream, kSectionVersion);
    std::vector<const TDBTable*> stored;
    for (const auto& table : tables_)
        if (table->Status == flag) stored.push_back(table.get());
    WriteI32(stream, static_cast<int32_t>(stored.size()));
    for (const TDBTable* table : stored) {
        WriteU8(stream, kDBTableKind);
        SaveTable(stream, *table);
    }
    if (flag == 0) WriteString(stream, active_ ? active_->Name : std::string());
}

void TDBManager::LoadSection(TStream& stream, uint8_t flag) {
    const int32_t version = ReadI32(stream);
    if (version != kSectionVersion) Damaged("section version " + std::to_string(version));
    const int32_t tableCount = ReadI32(stream);
    CheckCount(stream, tableCount, 1 + kMinStoredTable, "table");
    std::vector<std::unique_ptr<TDBTable>> loaded;
    for (int32_t i = 0; i < tableCount; ++i) {
        const uint8_t kind = ReadU8(stream);
        if (kind != kDBTableKind) Damaged("table kind " + std::to_string(kind));
        loaded.push_back(LoadTable(stream));
        if (loaded.back()->Status != flag)
            Damaged("table " + loaded.back()->Name + " with status " + std::to_string(loaded.back()->Status) +
                    " in the section of status " + std::to_string(flag));
    }
    // A section that ends before the active table's name leaves none active.
    const std::string activeName = flag == 0 && stream.Remaining() > 0 ? ReadString(stream) : std::string();

    RemoveWhere(flag);
    for (auto& table : loaded)
        tables_.push_back(std::move(table));
    if (flag == 0) {
        if (!activeName.empty()) SetActive(activeName);
    } else if (tableCount > 0) {
        active_ = tables_.back().get();
    }
}

}  // namespace tova
