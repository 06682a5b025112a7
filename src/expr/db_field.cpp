#include "expr/db_field.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/extended_real.h"
#include "core/sjis.h"
#include "expr/param_convert.h"

namespace tova {
namespace {

int32_t LoadInt(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, sizeof v);  // records hold little-endian integers, as the host does
    return v;
}

void StoreInt(uint8_t* p, int32_t v) {
    std::memcpy(p, &v, sizeof v);
}

long double LoadFloat(const uint8_t* p) {
    Extended80 bytes;
    std::memcpy(bytes.data(), p, bytes.size());
    return ExtendedToLongDouble(bytes);
}

void StoreFloat(uint8_t* p, long double v) {
    const Extended80 bytes = LongDoubleToExtended(v);
    std::memcpy(p, bytes.data(), bytes.size());
}

}  // namespace

int32_t DBFieldSizeFor(uint8_t type, int32_t stringLength) {
    switch (type) {
        case DB_INT:
            return kDBIntSize;
        case DB_FLOAT:
            return kDBFloatSize;
        case DB_BOOL:
            return kDBBoolSize;
        case DB_STR:
            return stringLength >= 0 && stringLength < kDBMaxRecordSize ? stringLength + 1 : 0;
        default:
            return 0;
    }
}

int32_t DBRoundFloat(long double v) {
    constexpr long double kTwoTo63 = 9223372036854775808.0L;
    const long double rounded = std::nearbyint(v);  // the default rounding mode: nearest, ties to even
    if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(rounded))));
}

int32_t TDBField::GetInt(const uint8_t* p) const {
    switch (Type) {
        case DB_INT:
            return LoadInt(p);
        case DB_FLOAT:
            return DBRoundFloat(LoadFloat(p));
        case DB_BOOL:
            return *p != 0 ? 1 : 0;
        default:
            return TextToInt(GetStr(p));
    }
}

long double TDBField::GetFloat(const uint8_t* p) const {
    switch (Type) {
        case DB_INT:
            return LoadInt(p);
        case DB_FLOAT:
            return LoadFloat(p);
        case DB_BOOL:
            return *p != 0 ? 1.0L : 0.0L;
        default:
            return TextToFloat(GetStr(p));
    }
}

bool TDBField::GetBool(const uint8_t* p) const {
    switch (Type) {
        case DB_INT:
            return LoadInt(p) != 0;
        case DB_FLOAT:
            return LoadFloat(p) != 0;
        case DB_BOOL:
            return *p != 0;
        default:
            return TextToBool(GetStr(p));
    }
}

std::string TDBField::GetStr(const uint8_t* p) const {
    switch (Type) {
        case DB_INT:
            return IntToText(LoadInt(p));
        case DB_FLOAT:
            return FloatToText(LoadFloat(p));
        case DB_BOOL:
            return BoolToText(*p != 0);
        default: {
            // A damaged block may lack the zero: the text never runs past the field.
            const auto* end = static_cast<const uint8_t*>(std::memchr(p, 0, static_cast<size_t>(Size)));
            return std::string(reinterpret_cast<const char*>(p),
                               end ? static_cast<size_t>(end - p) : static_cast<size_t>(Size));
        }
    }
}

void TDBField::SetInt(uint8_t* p, int32_t v) const {
    switch (Type) {
        case DB_INT:
            StoreInt(p, v);
            break;
        case DB_FLOAT:
            StoreFloat(p, v);
            break;
        case DB_BOOL:
            *p = v != 0 ? 1 : 0;
            break;
        default:
            SetStr(p, IntToText(v));
            break;
    }
}

void TDBField::SetFloat(uint8_t* p, long double v) const {
    switch (Type) {
        case DB_INT:
            StoreInt(p, DBRoundFloat(v));
            break;
        case DB_FLOAT:
            StoreFloat(p, v);
            break;
        case DB_BOOL:
            *p = v != 0 ? 1 : 0;
            break;
        default:
            SetStr(p, FloatToText(v));
            break;
    }
}

void TDBField::SetBool(uint8_t* p, bool v) const {
    switch (Type) {
        case DB_INT:
            StoreInt(p, v ? 1 : 0);
            break;
        case DB_FLOAT:
            StoreFloat(p, v ? 1.0L : 0.0L);
            break;
        case DB_BOOL:
            *p = v ? 1 : 0;
            break;
        default:
            SetStr(p, BoolToText(v));
            break;
    }
}

void TDBField::SetStr(uint8_t* p, std::string_view v) const {
    switch (Type) {
        case DB_INT:
            StoreInt(p, TextToInt(v));
            break;
        case DB_FLOAT:
            StoreFloat(p, TextToFloat(v));
            break;
        case DB_BOOL:
            *p = TextToBool(v) ? 1 : 0;
            break;
        default: {
            // The bytes after the terminator keep what the block held.
            const size_t length = std::min(v.size(), static_cast<size_t>(Size - 1));
            std::memcpy(p, v.data(), length);
            p[length] = 0;
            break;
        }
    }
}

bool TDBFieldList::Add(std::string name, uint8_t type, int32_t size) {
    const bool sizeFits = type == DB_STR ? size >= 1 : size == DBFieldSizeFor(type, 0);
    if (type < DB_INT || type > DB_STR || !sizeFits || size > kDBMaxRecordSize - recordSize_) return false;
    fields_.push_back(std::make_unique<TDBField>(std::move(name), type, size));
    Relayout();
    return true;
}

void TDBFieldList::Remove(int i) {
    fields_.erase(fields_.begin() + i);
    Relayout();
}

void TDBFieldList::Clear() {
    fields_.clear();
    Relayout();
}

int TDBFieldList::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SjisSameText(Field(i).Name, name)) return i;
    return -1;
}

bool TDBFieldList::operator==(const TDBFieldList& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i) {
        const TDBField& a = Field(i);
        const TDBField& b = other.Field(i);
        if (a.Name != b.Name || a.Type != b.Type || a.Size != b.Size) return false;
    }
    return true;
}

void TDBFieldList::Relayout() {
    offsets_.clear();
    recordSize_ = 0;
    for (const auto& field : fields_) {
        offsets_.push_back(recordSize_);
        recordSize_ += field->Size;
    }
}

}  // namespace tova
