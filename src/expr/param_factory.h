// Creation of a value from its stored type code.
#pragma once

#include <memory>

#include "expr/custom_param.h"

namespace tova {

class TParamCollection;

// The code is taken modulo 128: 0 gives a reference (binding through lookup
// when read from a stream), 1..4 the data classes, anything else null.
std::unique_ptr<TCustomParam> CreateParam(int typeCode, const TParamCollection* lookup = nullptr);

}  // namespace tova
