#include "variable_dump_reader.h"

#include <stdexcept>

#include "core/json_value.h"

namespace tova::testing {
namespace {

const TJsonValue& Required(const TJsonValue& object, std::string_view key, TJsonValue::TKind kind) {
    const TJsonValue* member = object.Member(key);
    if (!member || member->Kind != kind)
        throw std::runtime_error("variable dump: the member \"" + std::string(key) +
                                 "\" is missing or of the wrong kind");
    return *member;
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

TDumpVariable ReadVariable(const TJsonValue& item) {
    using TKind = TJsonValue::TKind;
    TDumpVariable variable;
    variable.Name = Required(item, "name", TKind::String).String;
    variable.Type = Required(item, "type", TKind::String).String;
    for (const TJsonValue& size : Required(item, "dims", TKind::Array).Items)
        variable.Dims.push_back(static_cast<int>(size.Number));
    // Numbers and booleans are JSON numbers and booleans; the tests compare
    // every value by the text a script would see.
    for (const TJsonValue& value : Required(item, "values", TKind::Array).Items)
        variable.Values.push_back(value.Kind == TKind::Bool ? (value.Bool ? "TRUE" : "FALSE") : value.String);
    variable.Status = Required(item, "status", TKind::Bool).Bool;
    variable.Local = Required(item, "local", TKind::Bool).Bool;
    variable.Owner = static_cast<int>(Required(item, "owner", TKind::Number).Number);
    return variable;
}

}  // namespace

void PrintTo(const TDumpVariable& variable, std::ostream* out) {
    *out << variable.Name << ": " << variable.Type << " [";
    for (size_t i = 0; i < variable.Values.size(); ++i)
        *out << (i ? ", " : "") << variable.Values[i];
    *out << "]" << (variable.Status ? " status" : "") << (variable.Local ? " local" : "") << " owner "
         << variable.Owner;
}

TVariableDump TVariableDump::Parse(std::string_view json) {
    const TJsonValue document = ParseJson(json);
    TVariableDump dump;
    for (const TJsonValue& item : Required(document, "variables", TJsonValue::TKind::Array).Items)
        dump.variables_.push_back(ReadVariable(item));
    return dump;
}

const TDumpVariable* TVariableDump::Find(std::string_view name) const {
    for (const TDumpVariable& variable : variables_)
        if (SameAsciiText(variable.Name, name)) return &variable;
    return nullptr;
}

std::string TVariableDump::Value(std::string_view name, size_t index) const {
    const TDumpVariable* variable = Find(name);
    if (!variable) return "<no variable " + std::string(name) + ">";
    if (index >= variable->Values.size())
        return "<no element " + std::to_string(index) + " of " + std::string(name) + ">";
    return variable->Values[index];
}

}  // namespace tova::testing
