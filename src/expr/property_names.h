// The identifiers of the component property ids ("PR_NAME" for 0 and so on),
// as scripts and the SDK tools write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tova {

// "PR_NAME" for 0 ... "PR_REPEATPOS" for 162; empty for any other id.
std::string_view PropertyName(int id);
// The id of an identifier (exact, case-sensitive), or none.
std::optional<int> PropertyIdOfName(std::string_view name);

// The warning for a value a component does not take (component name in code
// page 932, id 0 .. 162): "the component NAME does not take PR_..."
std::string NotTakenMessage(std::string_view component, int id);

}  // namespace tova
