#include "expr/system_variables_values.h"

#include "expr/param_convert.h"

namespace tova {

std::string TSysBool::GetStr() const {
    return BoolToText(get_());
}

void TSysBool::SetStr(std::string_view value) {
    Store(TextToInt(value) != 0);
}

void TSysBool::SetStrAt(int, std::string_view value) {
    Store(TextToBool(value));
}

std::string TSysInt::GetStr() const {
    return IntToText(get_());
}

void TSysInt::SetFloat(long double value) {
    Store(FloatToInt(value));
}

void TSysInt::SetStr(std::string_view value) {
    if (const std::optional<int32_t> parsed = TryTextToInt(value)) Store(*parsed);
}

int32_t TSysFloat::GetInt() const {
    return FloatToInt(value_);
}

std::string TSysFloat::GetStr() const {
    return FloatToText(value_);
}

bool TSysStr::GetBool() const {
    return TextToBool(get_());
}

long double TSysStr::GetFloat() const {
    return TextToFloat(get_());
}

int32_t TSysStr::GetInt() const {
    return TextToInt(get_());
}

void TSysStr::SetBool(bool value) {
    Store(BoolToText(value));
}

void TSysStr::SetFloat(long double value) {
    Store(FloatToText(value));
}

void TSysStr::SetInt(int32_t value) {
    Store(IntToText(value));
}

std::string TSysBoolArray::GetStrAt(int index) const {
    return BoolToText(GetBoolAt(index));
}

bool TSysStrArray::GetBool() const {
    return TextToBool(scalar_());
}

long double TSysStrArray::GetFloat() const {
    return TextToFloat(scalar_());
}

int32_t TSysStrArray::GetInt() const {
    return TextToInt(scalar_());
}

int32_t TSysStrArray::GetIntAt(int index) const {
    return TextToInt(GetStrAt(index));
}

long double TSysStrArray::GetFloatAt(int index) const {
    return TextToFloat(GetStrAt(index));
}

bool TSysStrArray::GetBoolAt(int index) const {
    return TextToBool(GetStrAt(index));
}

}  // namespace tova
