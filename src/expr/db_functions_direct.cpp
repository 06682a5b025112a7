// The database functions that name their table: direct access by key,
// copying and inserting between tables, and the whole-table operations.
#include "expr/db_function_args.h"
#include "expr/db_functions.h"

namespace tova {
namespace {

// Direct access: table (1), names (2), values (3), partial (4),
// ignoreCase (5), field (6), default or value (7).
TDBFieldRef DirectFieldOf(const TSysCall& call) {
    return call.Env.Database->DirectField(call.Arg(1).GetStr(), DBKeysOf(call, 2), call.Arg(6).GetStr());
}

template <class Get>
void DirectGet(TSysCall& call, Get&& get) {
    if (!call.Env.Database) return;
    const TDBFieldRef field = DirectFieldOf(call);
    get(field, call.Arg(7));
}

template <class Store>
void DirectSet(TSysCall& call, Store&& store) {
    if (!call.Env.Database) return;
    const TDBFieldRef field = DirectFieldOf(call);
    if (field) store(field, call.Arg(7));
    call.Target.SetBool(static_cast<bool>(field));
}

}  // namespace

void DBDirectGetInt(TSysCall& call) {
    DirectGet(call, [&](const TDBFieldRef& field, const TCustomParam& def) {
        call.Target.SetInt(field ? field.GetInt() : def.GetInt());
    });
}

void DBDirectGetFloat(TSysCall& call) {
    DirectGet(call, [&](const TDBFieldRef& field, const TCustomParam& def) {
        call.Target.SetFloat(field ? field.GetFloat() : def.GetFloat());
    });
}

void DBDirectGetBool(TSysCall& call) {
    DirectGet(call, [&](const TDBFieldRef& field, const TCustomParam& def) {
        call.Target.SetBool(field ? field.GetBool() : def.GetBool());
    });
}

void DBDirectGetStr(TSysCall& call) {
    DirectGet(call, [&](const TDBFieldRef& field, const TCustomParam& def) {
        call.Target.SetStr(field ? field.GetStr() : def.GetStr());
    });
}

void DBDirectSetInt(TSysCall& call) {
    DirectSet(call, [](const TDBFieldRef& field, const TCustomParam& v) { field.SetInt(v.GetInt()); });
}

void DBDirectSetFloat(TSysCall& call) {
    DirectSet(call, [](const TDBFieldRef& field, const TCustomParam& v) { field.SetFloat(v.GetFloat()); });
}

void DBDirectSetBool(TSysCall& call) {
    DirectSet(call, [](const TDBFieldRef& field, const TCustomParam& v) { field.SetBool(v.GetBool()); });
}

void DBDirectSetStr(TSysCall& call) {
    DirectSet(call, [](const TDBFieldRef& field, const TCustomParam& v) { field.SetStr(v.GetStr()); });
}

void DBCopyTable(TSysCall& call) {
    TDBManager* db = call.Env.Database;
    if (!db) return;
    const TDBTable* active = db->ActiveTable();
    call.Target.SetBool(active && db->CopyToTable(call.Arg(1).GetStr(), active->Find(DBKeysOf(call, 2))));
}

void DBInsertTable(TSysCall& call) {
    TDBManager* db = call.Env.Database;
    if (!db) return;
    const TDBTable* source = db->Find(call.Arg(1).GetStr());
    call.Target.SetBool(source && db->InsertFromTable(call.Arg(1).GetStr(), source->Find(DBKeysOf(call, 2))));
}

void DBDeleteTable(TSysCall& call) {
    TDBManager* db = call.Env.Database;
    if (!db) return;
    call.Target.SetBool(call.HasArg(1) ? db->DeleteTable(call.Arg(1).GetStr()) : db->DeleteActiveTable());
}

void DBCopy(TSysCall& call) {
    if (!call.Env.Database) return;
    call.Target.SetBool(call.Env.Database->CopyCurrentTo(call.Arg(1).GetStr()));
}

void DBClearTable(TSysCall& call) {
    if (call.Env.Database) call.Env.Database->Clear();
}

void DBSort(TSysCall& call) {
    TDBTable* table = DBActiveOf(call);
    if (!table) return;
    table->Sort(call.Arg(1), call.Arg(2));
    call.Target.SetBool(true);
}

void DBGetActive(TSysCall& call) {
    if (const TDBTable* table = DBActiveOf(call)) call.Target.SetStr(table->Name);
}

void DBGetRecNo(TSysCall& call) {
    if (!call.Env.Database) return;
    const TDBTable* table = DBActiveOf(call);
    call.Target.SetInt(table ? table->Cursor() : -1);
}

void DBClearRecord(TSysCall& call) {
    if (!call.Env.Database) return;
    TDBTable* table = DBNamedOrActive(call);
    if (table) table->ClearRecords();
    call.Target.SetBool(table != nullptr);
}

}  // namespace tova
