// Which class stands behind each LT_ type code: one table in
// component_factory.cpp, one line per class.
#pragma once

#include <memory>

#include "objects/tova_object.h"

namespace tova {

// A new, unregistered component for the code (0 .. 27), or null for a code
// that has no class (yet).
std::unique_ptr<TTovaObject> MakeComponent(int typeCode);

}  // namespace tova
