// The variable dump of the SDK and the player: the variables (without the
// system variables and the evaluator's temporaries) and the tables as JSON.
//
// {"variables": [{"name", "type" ("ref", "int", "float", "bool" or "str"),
//   "dims" (the dimension sizes, [] for a scalar), "values" (every element
//   read as text), "status", "local" (booleans), "owner" (the call depth
//   that destroys the variable, -1 for none)}, ...],
//  "tables": [...], "active_table": ...}
// A reference shows the dimensions and elements of the variable it stands for.
#pragma once

#include <string>

namespace tova {

class TParamCollection;
class TDBManager;

// database may be null: no tables.
std::string VariableDumpJson(const TParamCollection& vars, const TDBManager* database);

}  // namespace tova
