#include "expr/variable_dump.h"

#include "core/json_text.h"
#include "expr/db_dump.h"
#include "expr/db_manager.h"
#include "expr/param_collection.h"
#include "expr/param_types.h"

namespace tova {
namespace {}  // namespace

void AppendTypedJsonValue(std::string& out, int type, const std::string& text) {
    if (type == PT_BOOL) {
        out += text == "TRUE" ? "true" : "false";
    } else if ((type == PT_INT || type == PT_FLOAT) && IsJsonNumber(text)) {
        out += text;
    } else {
        AppendJsonString(out, text);  // strings, and floats JSON cannot write (infinite, not a number)
    }
}

namespace {

bool IsDumped(const TParamCollectionItem& item) {
    return !item.IsSystem() && !item.GetName().starts_with("____");
}

void AppendVariable(std::string& out, const TParamCollectionItem& item) {
    const TCustomParam& value = item.Value();
    out += "{\"name\": " + JsonString(item.GetName()) + ", \"type\": \"" +
           ParamTypeShortName(value.StoredType() == PT_SYSTEM ? PT_NONE : value.StoredType()) +
           "\", \"dims\": [";
    // A scalar has one dimension of size 1 as far as the value is asked;
    // the dump shows it as having none.
    const bool scalar = item.GetDimCount() == 1 && item.GetCount() == 1 &&
                        (value.StoredType() == PT_NONE || value.Dims().empty());
    if (!scalar)
        for (int d = 0; d < item.GetDimCount(); ++d)
            out += (d ? ", " : "") + std::to_string(item.GetDimSize(d));
    out += "], \"values\": [";
    const int type = value.StoredType();
    for (int i = 0; i < item.GetCount(); ++i) {
        if (i) out += ", ";
        AppendTypedJsonValue(out, type, item.GetStrAt(i));
    }
    out += std::string("], \"status\": ") + (item.StatusFlag ? "true" : "false") +
           ", \"local\": " + (item.LocalFlag ? "true" : "false") +
           ", \"owner\": " + std::to_string(item.Owner) + "}";
}

}  // namespace

std::string VariableDumpJson(const TParamCollection& vars, const TDBManager* database) {
    std::string out = "{\"variables\": [";
    bool first = true;
    for (int i = 0; i < vars.Count(); ++i) {
        const TParamCollectionItem& item = *vars.Item(i);
        if (!IsDumped(item)) continue;
        out += first ? "\n  " : ",\n  ";
        first = false;
        AppendVariable(out, item);
    }
    out += "],\n ";
    if (database) {
        AppendDbTablesJson(out, *database);
    } else {
        out += "\"tables\": [], \"active_table\": \"\"";
    }
    out += "}\n";
    return out;
}

}  // namespace tova
