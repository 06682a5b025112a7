// The tables of the database as JSON, for the variable dumps of the SDK and
// the player.
#pragma once

#include <string>

namespace tova {

class TDBManager;

// Appends, without enclosing braces and without a trailing comma or newline:
//   "tables": [{"name": ..., "status": ..., "fields": [{"name": ..., "type": ...,
//   "size": ...}, ...], "records": [[...], ...], "cursor": ...}, ...],
//   "active_table": ...
// in the order of the table list, where
// - "status" is the table's status flag as a number: 1 for a status table
//   (kept with the status record across games), 0 for an ordinary table
//   (kept with each game save);
// - "type" is the field's type code (1 integer, 2 float, 3 boolean,
//   4 string) and "size" its byte size inside a record (a string field's
//   declared length plus one);
// - "records" holds one array per record, in record order, of the fields'
//   values read as text (integers in decimal, floats in the general format,
//   booleans as TRUE or FALSE, strings up to their zero byte);
// - "cursor" is the index of the table's current record (0-based), -1 when
//   the table has none;
// - "active_table" is the name of the active table, "" when none is active.
// Names and texts are converted from code page 932 to UTF-8 and escaped.
void AppendDbTablesJson(std::string& out, const TDBManager& database);

}  // namespace tova
