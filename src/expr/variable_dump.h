// The variable dump of the SDK and the player: the variables (without the
// system variables and the evaluator's temporaries) and the tables as JSON.
//
// {"variables": [{"name", "type" ("ref", "int", "float", "bool" or "str"),
//   "dims" (the dimension sizes, [] for a scalar), "values" (every element:
//   integers and floats as JSON numbers in the text a script sees, booleans
//   as true/false, strings as strings), "status", "local" (booleans),
//   "owner" (the call depth that destroys the variable, -1 for none)}, ...],
//  "tables": [{"name", "status" (boolean), "fields": [{"name", "type" (the
//   same type names), "size"}], "records": [[values typed like the
//   variables'], ...], "cursor"}, ...], "active_table": NAME}
// A reference shows the dimensions and elements of the variable it stands for.
#pragma once

#include <string>

namespace tova {

class TParamCollection;
class TDBManager;

// database may be null: no tables.
std::string VariableDumpJson(const TParamCollection& vars, const TDBManager* database);

// One value of a variable or a table field of that type code, given as the
// text a script reads: a JSON number, boolean or string.
void AppendTypedJsonValue(std::string& out, int type, const std::string& text);

}  // namespace tova
