#include "expr/param_data.h"

#include <algorithm>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/param_convert.h"
#include "expr/script_limits.h"

namespace tova {
namespace {

// Conversions from and to the stored element type, one specialisation each.
template <class Element>
struct TConv;

template <>
struct TConv<TIntElement> {
    static bool ToBool(int32_t v) { return v != 0; }
    static int32_t ToInt(int32_t v) { return v; }
    static long double ToFloat(int32_t v) { return v; }
    static std::string ToStr(int32_t v) { return IntToText(v); }
    static int32_t FromBool(bool b) { return b ? 1 : 0; }
    static int32_t FromInt(int32_t v) { return v; }
    static int32_t FromFloat(long double x) { return FloatToInt(x); }
    static int32_t FromStr(std::string_view s) { return TextToInt(s); }
    static void Write(TStream& s, int32_t v) { WriteI32(s, v); }
    static int32_t Read(TStream& s) { return ReadI32(s); }
};

template <>
struct TConv<TFloatElement> {
    static bool ToBool(long double x) { return x != 0; }
    static int32_t ToInt(long double x) { return FloatToInt(x); }
    static long double ToFloat(long double x) { return x; }
    static std::string ToStr(long double x) { return FloatToText(x); }
    static long double FromBool(bool b) { return b ? 1.0L : 0.0L; }
    static long double FromInt(int32_t v) { return v; }
    static long double FromFloat(long double x) { return x; }
    static long double FromStr(std::string_view s) { return TextToFloat(s); }
    static void Write(TStream& s, long double x) { WriteExtended(s, x); }
    static long double Read(TStream& s) { return ReadExtended(s); }
};

template <>
struct TConv<TFlagElement> {
    static bool ToBool(uint8_t b) { return b != 0; }
    static int32_t ToInt(uint8_t b) { return b != 0 ? 1 : 0; }
    static long double ToFloat(uint8_t b) { return b != 0 ? 1.0L : 0.0L; }
    static std::string ToStr(uint8_t b) { return BoolToText(b != 0); }
    static uint8_t FromBool(bool b) { return b ? 1 : 0; }
    static uint8_t FromInt(int32_t v) { return v != 0 ? 1 : 0; }
    static uint8_t FromFloat(long double x) { return x != 0 ? 1 : 0; }
    static uint8_t FromStr(std::string_view s) { return TextToBool(s) ? 1 : 0; }
    static void Write(TStream& s, uint8_t b) { WriteBool(s, b != 0); }
    static uint8_t Read(TStream& s) { return ReadBool(s) ? 1 : 0; }
};

template <>
struct TConv<TStrElement> {
    static bool ToBool(const std::string& s) { return TextToBool(s); }
    static int32_t ToInt(const std::string& s) { return TextToInt(s); }
    static long double ToFloat(const std::string& s) { return TextToFloat(s); }
    static std::string ToStr(const std::string& s) { return s; }
    static std::string FromBool(bool b) { return BoolToText(b); }
    static std::string FromInt(int32_t v) { return IntToText(v); }
    static std::string FromFloat(long double x) { return FloatToText(x); }
    static std::string FromStr(std::string_view s) {
        CheckScriptTextLength(s.size());
        return std::string(s);
    }
    static void Write(TStream& s, const std::string& v) { WriteString(s, v); }
    static std::string Read(TStream& s) { return ReadString(s); }
};

[[noreturn]] void ThrowBadIndex() {
    throw ETovaError::Format("配列の添字が不正です");
}

}  // namespace

template <class E>
const typename TTypedParam<E>::T& TTypedParam<E>::At(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= Items.size()) ThrowBadIndex();
    return Items[static_cast<size_t>(index)];
}

template <class E>
typename TTypedParam<E>::T& TTypedParam<E>::At(int index) {
    if (index < 0 || static_cast<size_t>(index) >= Items.size()) ThrowBadIndex();
    return Items[static_cast<size_t>(index)];
}

template <class E>
const TTypedParam<E>& TTypedParam<E>::SameClass(const TCustomParam& src, const char* utf8Message) const {
    const auto* same = dynamic_cast<const TTypedParam*>(&src);
    if (!same) throw ETovaError::Format(utf8Message);
    return *same;
}

template <class E>
void TTypedParam<E>::SetCount(int count) {
    Items.resize(static_cast<size_t>(std::max(count, 0)));
}

template <class E>
void TTypedParam<E>::SetBool(bool value) {
    MakeScalar();
    Items[0] = TConv<E>::FromBool(value);
}

template <class E>
void TTypedParam<E>::SetFloat(long double value) {
    // Convert before reshaping, so that a failed conversion changes nothing.
    T converted = TConv<E>::FromFloat(value);
    MakeScalar();
    Items[0] = std::move(converted);
}

template <class E>
void TTypedParam<E>::SetInt(int32_t value) {
    MakeScalar();
    Items[0] = TConv<E>::FromInt(value);
}

template <class E>
void TTypedParam<E>::SetStr(std::string_view value) {
    MakeScalar();
    Items[0] = TConv<E>::FromStr(value);
}

template <class E>
int32_t TTypedParam<E>::GetIntAt(int index) const {
    return TConv<E>::ToInt(At(index));
}

template <class E>
void TTypedParam<E>::SetIntAt(int index, int32_t value) {
    At(index) = TConv<E>::FromInt(value);
}

template <class E>
long double TTypedParam<E>::GetFloatAt(int index) const {
    return TConv<E>::ToFloat(At(index));
}

template <class E>
void TTypedParam<E>::SetFloatAt(int index, long double value) {
    T& slot = At(index);
    slot = TConv<E>::FromFloat(value);
}

template <class E>
bool TTypedParam<E>::GetBoolAt(int index) const {
    return TConv<E>::ToBool(At(index));
}

template <class E>
void TTypedParam<E>::SetBoolAt(int index, bool value) {
    At(index) = TConv<E>::FromBool(value);
}

template <class E>
std::string TTypedParam<E>::GetStrAt(int index) const {
    return TConv<E>::ToStr(At(index));
}

template <class E>
void TTypedParam<E>::SetStrAt(int index, std::string_view value) {
    At(index) = TConv<E>::FromStr(value);
}

template <class E>
void TTypedParam<E>::AssignRaw(const TCustomParam& src) {
    const TTypedParam& same = SameClass(src, "内部エラー");
    dims_ = same.dims_;
    Items = same.Items;
}

template <class E>
void TTypedParam<E>::FillInt(int32_t value) {
    if constexpr (E::Code == PT_INT) std::fill(Items.begin(), Items.end(), value);
}

template <class E>
void TTypedParam<E>::FillFloat(long double value) {
    if constexpr (E::Code == PT_FLOAT) std::fill(Items.begin(), Items.end(), value);
}

template <class E>
void TTypedParam<E>::FillBool(bool value) {
    if constexpr (E::Code == PT_BOOL) std::fill(Items.begin(), Items.end(), TConv<E>::FromBool(value));
}

template <class E>
void TTypedParam<E>::FillStr(std::string_view value) {
    if constexpr (E::Code == PT_STR) std::fill(Items.begin(), Items.end(), std::string(value));
}

template <class E>
void TTypedParam<E>::CopyMem(const TCustomParam& src) {
    const TTypedParam& same = SameClass(src, "CopyMem:変数の型があいません");
    if (&same == this) return;
    TCustomParam::CopyMem(src);
    Items = same.Items;
}

template <class E>
void TTypedParam<E>::SaveToStream(TStream& stream) const {
    TCustomParam::SaveToStream(stream);
    WriteI32(stream, static_cast<int32_t>(Items.size()));
    for (const T& item : Items)
        TConv<E>::Write(stream, item);
}

template <class E>
void TTypedParam<E>::LoadFromStream(TStream& stream) {
    TCustomParam::LoadFromStream(stream);
    const int32_t count = ReadI32(stream);
    if (count < 0 || count * E::MinStoredSize > stream.Remaining())
        throw ETovaError("damaged value: element count " + std::to_string(count) + " exceeds the data");
    std::vector<T> items(static_cast<size_t>(count));
    for (T& item : items)
        item = TConv<E>::Read(stream);
    Items = std::move(items);
}

template <class E>
void TTypedParam<E>::MakeScalar() {
    // An element-less value (only a damaged stream makes one) becomes a
    // scalar too, so that a scalar write always has its element 0.
    if (dims_.empty() && !Items.empty()) return;
    dims_.clear();
    Items.resize(1);
}

template <class E>
int TTypedParam<E>::IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const {
    if constexpr (E::Code != PT_STR) {
        return TCustomParam::IndexOfStr(s, caseSensitive, partial);
    } else {
        for (size_t i = 0; i < Items.size(); ++i)
            if (IndexTextMatches(Items[i], s, caseSensitive, partial)) return static_cast<int>(i);
        return -1;
    }
}

template class TTypedParam<TIntElement>;
template class TTypedParam<TFloatElement>;
template class TTypedParam<TFlagElement>;
template class TTypedParam<TStrElement>;

}  // namespace tova
