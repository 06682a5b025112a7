// The stored form of the database: one table (its name, status flag, field
// list, raw record blocks and cursor) and the database section of the game
// save and of the status record (TDBManager::SaveSection / LoadSection).
#pragma once

#include <memory>

#include "core/stream.h"
#include "expr/db_table.h"

namespace tova {

void SaveTable(TStream& stream, const TDBTable& table);
// Checks every count and length against what is left and every field's size
// against its type; raises ETovaError on damaged or truncated data.
std::unique_ptr<TDBTable> LoadTable(TStream& stream);

}  // namespace tova
