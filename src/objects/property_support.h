// Which objects accept which property, and what a property reads as on an
// object that does not hold it. One table for every component type, so a
// new component gets the property contract by its type code alone.
#pragma once

namespace tova {

class TCustomParam;

// What kind of object asks: the "every object" properties hold for all,
// the "every visual component" ones for controls and layers, and the screen
// has a few of its own.
enum class TObjectKind { Plain, Control, Screen };

// Whether an object of this kind and LT_ type code accepts the property id;
// false for an id outside 0 .. 162.
bool PropertySupported(int id, int typeCode, TObjectKind kind);

// Writes the neutral default of the id into result: 0, an empty string,
// false, or the id's own default (256 for the zooms, -1 for PR_INDEX ...).
// PR_ORIGWIDTH and PR_ORIGHEIGHT default to the width and height, which only
// the caller knows; here they give 0.
void NeutralDefault(int id, TCustomParam& result);

// Ids a script may read but never write (writes are ignored).
bool IsReadOnlyProperty(int id);

}  // namespace tova
