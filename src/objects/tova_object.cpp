#include "objects/tova_object.h"

namespace tova {

void TTovaObject::GetProp(int, TCustomParam&) const {}
void TTovaObject::SetProp(int, const TCustomParam&) {}

}  // namespace tova
