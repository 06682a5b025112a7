#include "expr/db_dump.h"

#include <cstdio>

#include "core/encoding.h"
#include "expr/db_manager.h"

namespace tova {
namespace {

void AppendJsonString(std::string& out, std::string_view cp932) {
    out += '"';
    for (const char c : Cp932ToUtf8(cp932)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void AppendTable(std::string& out, TDBTable& table) {
    out += "{\"name\": ";
    AppendJsonString(out, table.Name);
    out += ", \"status\": " + std::to_string(table.Status) + ", \"fields\": [";
    const TDBFieldList& fields = table.Fields();
    for (int i = 0; i < fields.Count(); ++i) {
        const TDBField& field = fields.Field(i);
        out += i ? ", {\"name\": " : "{\"name\": ";
        AppendJsonString(out, field.Name);
        out +=
            ", \"type\": " + std::to_string(field.Type) + ", \"size\": " + std::to_string(field.Size) + "}";
    }
    out += "], \"records\": [";
    for (int32_t r = 0; r < table.RecordCount(); ++r) {
        out += r ? ", [" : "[";
        for (int i = 0; i < fields.Count(); ++i) {
            if (i) out += ", ";
            AppendJsonString(out, table.FieldAt(r, i).GetStr());
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
