// The table database functions of the script language (ids 87..124). Each
// works on the active table of Env.Database unless a table name is given;
// without a database the result keeps its default. RegisterDbFunctions
// (sys_func_registry.h) stores them at their ids.
#pragma once

#include "expr/sys_call.h"

namespace tova {

void DBCreateTable(TSysCall& call);
void DBSetActive(TSysCall& call);
void DBAddField(TSysCall& call);
void DBSetRecNo(TSysCall& call);
void DBInsert(TSysCall& call);
void DBDelete(TSysCall& call);
void DBGetInt(TSysCall& call);
void DBSetInt(TSysCall& call);
void DBGetFloat(TSysCall& call);
void DBSetFloat(TSysCall& call);
void DBGetBool(TSysCall& call);
void DBSetBool(TSysCall& call);
void DBGetStr(TSysCall& call);
void DBSetStr(TSysCall& call);
void DBRecordCount(TSysCall& call);
void DBFindFirst(TSysCall& call);
void DBFindLast(TSysCall& call);
void DBFindNext(TSysCall& call);
void DBFindPrior(TSysCall& call);
void DBLocate(TSysCall& call);
void DBLoadTsvFile(TSysCall& call);
void DBDirectGetInt(TSysCall& call);
void DBDirectSetInt(TSysCall& call);
void DBDirectGetFloat(TSysCall& call);
void DBDirectSetFloat(TSysCall& call);
void DBDirectGetBool(TSysCall& call);
void DBDirectSetBool(TSysCall& call);
void DBDirectGetStr(TSysCall& call);
void DBDirectSetStr(TSysCall& call);
void DBCopyTable(TSysCall& call);
void DBDeleteTable(TSysCall& call);
void DBInsertTable(TSysCall& call);
void DBCopy(TSysCall& call);
void DBClearTable(TSysCall& call);
void DBSort(TSysCall& call);
void DBGetActive(TSysCall& call);
void DBGetRecNo(TSysCall& call);
void DBClearRecord(TSysCall& call);

}  // namespace tova
