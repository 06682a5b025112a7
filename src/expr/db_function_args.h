// What the database functions share in reading their arguments.
#pragma once

#include "expr/db_manager.h"
#include "expr/sys_call.h"

namespace tova {

// The search keys in arguments first (names), first + 1 (values), first + 2
// (partial) and first + 3 (ignoreCase); missing ones match every record and
// count as false.
inline TDBKeys DBKeysOf(const TSysCall& call, int first) {
    TDBKeys keys;
    if (call.HasArg(first)) keys.Names = &call.Arg(first);
    if (call.HasArg(first + 1)) keys.Values = &call.Arg(first + 1);
    keys.Partial = call.HasArg(first + 2) && call.Arg(first + 2).GetBool();
    keys.IgnoreCase = call.HasArg(first + 3) && call.Arg(first + 3).GetBool();
    return keys;
}

// The active table, or null without a database or an active table.
inline TDBTable* DBActiveOf(const TSysCall& call) {
    return call.Env.Database ? call.Env.Database->ActiveTable() : nullptr;
}

// The table named by argument 1, or the active one without that argument;
// Env.Database must be set.
inline TDBTable* DBNamedOrActive(const TSysCall& call) {
    TDBManager& db = *call.Env.Database;
    return call.HasArg(1) ? db.Find(call.Arg(1).GetStr()) : db.ActiveTable();
}

}  // namespace tova
