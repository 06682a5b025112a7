// The player's variable dump (--dump-vars) read back: every variable with
// its type, shape, values and scope, found by name.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tova::testing {

struct TDumpVariable {
    std::string Name;
    std::string Type;                 // "ref", "int", "float", "bool" or "str"
    std::vector<int> Dims;            // empty for a scalar
    std::vector<std::string> Values;  // every element as text (UTF-8)
    bool Status = false;
    bool Local = false;
    int Owner = -1;  // the call depth that destroys the variable, -1 for none

    bool operator==(const TDumpVariable&) const = default;
};

// How a failed expectation shows a variable.
void PrintTo(const TDumpVariable& variable, std::ostream* out);

class TVariableDump {
public:
    // Throws std::runtime_error when the text is not a variable dump.
    static TVariableDump Parse(std::string_view json);

    // The variable of that name (ASCII letter case ignored, as the scripts
    // do), or null.
    const TDumpVariable* Find(std::string_view name) const;
    // Element index of the variable as text, or "<no variable NAME>" /
    // "<no element N of NAME>", so that a failed expectation says what is missing.
    std::string Value(std::string_view name, size_t index = 0) const;
    const std::vector<TDumpVariable>& Variables() const { return variables_; }

private:
    std::vector<TDumpVariable> variables_;
};

}  // namespace tova::testing
