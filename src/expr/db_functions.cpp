// The database functions that work on the active table and its current
// record, and the registration of every database function.
#include "expr/db_functions.h"

#include <algorithm>

#include "expr/db_function_args.h"
#include "expr/db_tsv.h"
#include "expr/sys_func_registry.h"

namespace tova {
namespace {

// Runs f on the active table and writes its answer as a boolean; false
// without an active table.
template <class F>
void OnActive(TSysCall& call, F&& f) {
    if (!call.Env.Database) return;
    TDBTable* table = DBActiveOf(call);
    call.Target.SetBool(table && f(*table));
}

// The field named by argument 1 in the current record of the active table.
TDBFieldRef CurrentFieldOf(const TSysCall& call) {
    TDBTable* table = DBActiveOf(call);
    return table ? table->CurrentField(call.Arg(1).GetStr()) : TDBFieldRef();
}

// Stores a value into the current record's field named by argument 1.
template <class F>
void SetCurrent(TSysCall& call, F&& store) {
    if (!call.Env.Database) return;
    const TDBFieldRef field = CurrentFieldOf(call);
    if (field) store(field);
    call.Target.SetBool(static_cast<bool>(field));
}

// Stores value into field converted from the value's own type.
void StoreConverted(const TDBFieldRef& field, const TCustomParam& value) {
    switch (value.GetParamType()) {
        case PT_INT:
            field.SetInt(value.GetInt());
            break;
        case PT_FLOAT:
            field.SetFloat(value.GetFloat());
            break;
        case PT_BOOL:
            field.SetBool(value.GetBool());
            break;
        default:
            field.SetStr(value.GetStr());
            break;
    }
}

}  // namespace

void DBCreateTable(TSysCall& call) {
    if (!call.Env.Database) return;
    const uint8_t status = call.Arg(2).GetBool() ? 1 : 0;
    call.Target.SetBool(call.Env.Database->CreateTable(call.Arg(1).GetStr(), status) >= 0);
}

void DBSetActive(TSysCall& call) {
    if (!call.Env.Database) return;
    call.Target.SetBool(call.Env.Database->SetActive(call.Arg(1).GetStr()));
}

void DBAddField(TSysCall& call) {
    OnActive(call, [&](TDBTable& table) {
        const int32_t type = call.Arg(2).GetInt();
        const int32_t length = call.HasArg(3) ? call.Arg(3).GetInt() : 0;
        return type >= DB_INT && type <= DB_STR &&
               table.AddField(call.Arg(1).GetStr(), static_cast<uint8_t>(type), length);
    });
}

void DBSetRecNo(TSysCall& call) {
    OnActive(call, [&](TDBTable& table) { return table.SetCursor(call.Arg(1).GetInt()); });
}

void DBInsert(TSysCall& call) {
    OnActive(call, [&](TDBTable& table) {
        table.Append();
        const int stored = std::min(call.ArgCount(), table.Fields().Count());
        for (int i = 0; i < stored; ++i)
            StoreConverted(table.FieldAt(table.Cursor(), i), call.Arg(i + 1));
        return true;
    });
}

void DBDelete(TSysCall& call) {
    OnActive(call, [](TDBTable& table) { return table.DeleteCurrent(); });
}

void DBGetInt(TSysCall& call) {
    if (const TDBFieldRef field = CurrentFieldOf(call)) call.Target.SetInt(field.GetInt());
}

void DBGetFloat(TSysCall& call) {
    if (const TDBFieldRef field = CurrentFieldOf(call)) call.Target.SetFloat(field.GetFloat());
}

void DBGetBool(TSysCall& call) {
    if (const TDBFieldRef field = CurrentFieldOf(call)) call.Target.SetBool(field.GetBool());
}

void DBGetStr(TSysCall& call) {
    if (const TDBFieldRef field = CurrentFieldOf(call)) call.Target.SetStr(field.GetStr());
}

void DBSetInt(TSysCall& call) {
    SetCurrent(call, [&](const TDBFieldRef& field) { field.SetInt(call.Arg(2).GetInt()); });
}

void DBSetFloat(TSysCall& call) {
    SetCurrent(call, [&](const TDBFieldRef& field) { field.SetFloat(call.Arg(2).GetFloat()); });
}

void DBSetBool(TSysCall& call) {
    SetCurrent(call, [&](const TDBFieldRef& field) { field.SetBool(call.Arg(2).GetBool()); });
}

void DBSetStr(TSysCall& call) {
    SetCurrent(call, [&](const TDBFieldRef& field) { field.SetStr(call.Arg(2).GetStr()); });
}

void DBRecordCount(TSysCall& call) {
    if (!call.Env.Database) return;
    const TDBTable* table = DBNamedOrActive(call);
    call.Target.SetInt(table ? table->RecordCount() : -1);
}

void DBFindFirst(TSysCall& call) {
    OnActive(call, [](TDBTable& table) { return table.First(); });
}

void DBFindLast(TSysCall& call) {
    OnActive(call, [](TDBTable& table) { return table.Last(); });
}

void DBFindNext(TSysCall& call) {
    OnActive(call, [](TDBTable& table) { return table.Next(); });
}

void DBFindPrior(TSysCall& call) {
    OnActive(call, [](TDBTable& table) { return table.Prior(); });
}

void DBLocate(TSysCall& call) {
    OnActive(call, [&](TDBTable& table) {
        const std::vector<int32_t> found = table.Find(DBKeysOf(call, 1));
        return !found.empty() && table.SetCursor(found.front());
    });
}

void DBLoadTsvFile(TSysCall& call) {
    OnActive(call, [&](TDBTable& table) {
        TVrFileManager* files = call.Env.Files ? call.Env.Files : call.Env.Database->Files;
        return files && LoadTsvFile(table, *files, call.Arg(1).GetStr());
    });
}

void RegisterDbFunctions(TSysFunctionImpl* table) {
    constexpr TSysFunctionImpl kFunctions[] = {
        DBCreateTable,    DBSetActive,     DBAddField,      DBSetRecNo,     DBInsert,       DBDelete,
        DBGetInt,         DBSetInt,        DBGetFloat,      DBSetFloat,     DBGetBool,      DBSetBool,
        DBGetStr,         DBSetStr,        DBRecordCount,   DBFindFirst,    DBFindLast,     DBFindNext,
        DBFindPrior,      DBLocate,        DBLoadTsvFile,   DBDirectGetInt, DBDirectSetInt, DBDirectGetFloat,
        DBDirectSetFloat, DBDirectGetBool, DBDirectSetBool, DBDirectGetStr, DBDirectSetStr, DBCopyTable,
        DBDeleteTable,    DBInsertTable,   DBCopy,          DBClearTable,   DBSort,         DBGetActive,
        DBGetRecNo,       DBClearRecord,
    };
    constexpr int kFirstId = 87;
    static_assert(std::size(kFunctions) == 124 - kFirstId + 1);
    for (size_t i = 0; i < std::size(kFunctions); ++i)
        table[kFirstId + i] = kFunctions[i];
}

}  // namespace tova
