// Reading and writing a component's property by number, as the GetProp and
// SetProp commands and system functions do: the id checks and their errors,
// the ids the object answers itself, the parent by name, the read-only ids
// and the neutral default of a property the component does not hold.
#pragma once

namespace tova {

class TCustomParam;
class TTovaObject;

// Writes the property into result (converted to result's type). An id
// outside 0 .. 162 throws ETovaError "GetPropエラー".
void GetProperty(const TTovaObject& object, int id, TCustomParam& result);
// Converts value to the property's type and writes it. Ids 92, 93 and ids
// outside 0 .. 162 throw ETovaError "SetPropエラー"; read-only ids and ids
// the component does not hold are ignored; PR_PARENT takes the name of a
// control of the same screen (an unknown name, a layer, or a parent that
// would make a cycle change nothing).
void SetProperty(TTovaObject& object, int id, const TCustomParam& value);
// Whether SetProperty writes the id (0 .. 162) into the object at all: it
// holds the property and the property is not read-only.
bool TakesProperty(const TTovaObject& object, int id);

}  // namespace tova
