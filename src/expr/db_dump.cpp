#include "expr/db_dump.h"

#include "core/json_text.h"
#include "expr/db_manager.h"
#include "expr/param_types.h"
#include "expr/variable_dump.h"

namespace tova {
namespace {

void AppendTable(std::string& out, TDBTable& table) {
    out += "{\"name\": ";
    AppendJsonString(out, table.Name);
    out += std::string(", \"status\": ") + (table.Status ? "true" : "false") + ", \"fields\": [";
    const TDBFieldList& fields = table.Fields();
    for (int i = 0; i < fields.Count(); ++i) {
        const TDBField& field = fields.Field(i);
        out += i ? ", {\"name\": " : "{\"name\": ";
        AppendJsonString(out, field.Name);
        out += std::string(", \"type\": \"") + ParamTypeShortName(field.Type) +
               "\", \"size\": " + std::to_string(field.Size) + "}";
    }
    out += "], \"records\": [";
    for (int32_t r = 0; r < table.RecordCount(); ++r) {
        out += r ? ", [" : "[";
        for (int i = 0; i < fields.Count(); ++i) {
            if (i) out += ", ";
            AppendTypedJsonValue(out, fields.Field(i).Type, table.FieldAt(r, i).GetStr());
        }
        out += "]";
    }
    out += "], \"cursor\": " + std::to_string(table.Cursor()) + "}";
}

}  // namespace

void AppendDbTablesJson(std::string& out, const TDBManager& database) {
    out += "\"tables\": [";
    for (int i = 0; i < database.Count(); ++i) {
        if (i) out += ", ";
        AppendTable(out, database.Table(i));
    }
    out += "], \"active_table\": ";
    const TDBTable* active = database.ActiveTable();
    AppendJsonString(out, active ? active->Name : std::string());
}

}  // namespace tova
