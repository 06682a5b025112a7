// The script database: the owned list of tables, looked up by name without
// regard to case, and the active table that the script functions work on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "expr/db_table.h"

namespace tova {

class TVrFileManager;

class TDBManager {
public:
    // Version of the stored database section.
    static constexpr int32_t kSectionVersion = 100;

    int Count() const { return static_cast<int>(tables_.size()); }
    TDBTable& Table(int i) const { return *tables_[static_cast<size_t>(i)]; }
    // The first table of that name ignoring case, or -1 / null.
    int IndexOf(std::string_view name) const;
    TDBTable* Find(std::string_view name) const;

    TDBTable* ActiveTable() const { return active_; }
    int ActiveIndex() const;
    // False, and the active table unchanged, when no table has that name.
    bool SetActive(std::string_view name);

    // Appends an empty table (status: 1 status table, 0 ordinary) and makes
    // it active; -1 for an empty name or one in use.
    int CreateTable(std::string name, uint8_t status);
    // The active table stays active unless it is the one deleted.
    bool DeleteTable(std::string_view name);
    // Deletes the active table itself; none is active afterwards.
    bool DeleteActiveTable();
    // Removes every table with status flag 0; none is active afterwards.
    void RemoveOrdinaryTables();
    void Clear();

    // The field of that name in the first record of the named table that
    // matches keys; the cursor does not move. Empty when any is missing.
    TDBFieldRef DirectField(std::string_view tableName, const TDBKeys& keys,
                            std::string_view fieldName) const;

    // Clears the destination, gives it the active table's field list and a
    // copy of each listed record of the active table. False without an
    // active table, or when the destination is missing or the active table.
    bool CopyToTable(std::string_view destination, const std::vector<int32_t>& records) const;
    // Appends to the active table a copy of each listed record of the source
    // (which may be the active table), the last becoming current. False
    // without an active table, a source, or with unequal field lists.
    bool InsertFromTable(std::string_view source, const std::vector<int32_t>& records) const;
    // Appends a copy of the active table's current record to the
    // destination, whose field list must equal the active table's.
    bool CopyCurrentTo(std::string_view destination) const;

    // The database section of the game save (flag 0: ordinary tables and the
    // active table's name) or of the status record (flag 1: status tables).
    // Loading replaces the tables of that flag only once the whole section
    // has been read; a damaged section raises ETovaError and changes nothing.
    // Defined with the stored table layout in db_stored.cpp.
    void SaveSection(TStream& stream, uint8_t flag) const;
    void LoadSection(TStream& stream, uint8_t flag);

    // Where DBLoadTsvFile reads when the call brings no file manager.
    TVrFileManager* Files = nullptr;

private:
    void RemoveWhere(uint8_t status);

    std::vector<std::unique_ptr<TDBTable>> tables_;
    TDBTable* active_ = nullptr;
};

}  // namespace tova
