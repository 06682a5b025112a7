// Searching and sorting the records of a table.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/sjis.h"
#include "expr/custom_param.h"
#include "expr/db_table.h"

namespace tova {
namespace {

bool TextMatches(std::string_view field, std::string_view wanted, bool partial, bool ignoreCase) {
    if (partial && ignoreCase) return SjisUpperCase(field).find(SjisUpperCase(wanted)) != std::string::npos;
    if (partial) return field.find(wanted) != std::string_view::npos;
    if (ignoreCase) return SjisSameText(field, wanted);
    return field == wanted;
}

bool KeyMatches(const TDBField& field, const uint8_t* p, const TDBKeys& keys, int i) {
    const TCustomParam& values = *keys.Values;
    switch (values.GetParamType()) {
        case PT_INT:
            return field.GetInt(p) == values.GetIntAt(i);
        case PT_FLOAT:
            return field.GetFloat(p) == values.GetFloatAt(i);
        case PT_BOOL:
            return field.GetBool(p) == values.GetBoolAt(i);
        default:
            return TextMatches(field.GetStr(p), values.GetStrAt(i), keys.Partial, keys.IgnoreCase);
    }
}

template <class T>
int ThreeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Floats order with NaN after every number, so that the order stays a
// strict weak ordering whatever the records hold.
int CompareFloats(long double a, long double b) {
    const bool aNan = std::isnan(a);
    const bool bNan = std::isnan(b);
    if (aNan || bNan) return ThreeWay(aNan, bNan);
    return ThreeWay(a, b);
}

struct TSortKey {
    int Field;
    bool Descending;
};

// Integers and floats honour the descending flag; booleans (by their byte)
// and strings (by ordinal byte comparison) always sort ascending.
int CompareKey(const TDBField& field, const uint8_t* a, const uint8_t* b, bool descending) {
    switch (field.Type) {
        case DB_INT: {
            const int c = ThreeWay(field.GetInt(a), field.GetInt(b));
            return descending ? -c : c;
        }
        case DB_FLOAT: {
            const int c = CompareFloats(field.GetFloat(a), field.GetFloat(b));
            return descending ? -c : c;
        }
        case DB_BOOL:
            return ThreeWay(*a, *b);
        default:
            return ThreeWay(field.GetStr(a).compare(field.GetStr(b)), 0);  // bytes as unsigned
    }
}

}  // namespace

std::vector<int32_t> TDBTable::Find(const TDBKeys& keys) const {
    std::vector<int32_t> found;
    const int keyCount =
        keys.Names && keys.Values ? std::min(keys.Names->GetCount(), keys.Values->GetCount()) : 0;
    if (keyCount <= 0) {
        found.resize(static_cast<size_t>(count_));
        std::iota(found.begin(), found.end(), 0);
        return found;
    }
    // A key naming no field ends the search before any record can match.
    std::vector<int> keyFields;
    for (int i = 0; i < keyCount; ++i) {
        const int field = fields_.IndexOf(keys.Names->GetStrAt(i));
        if (field < 0) return found;
        keyFields.push_back(field);
    }
    for (int32_t r = 0; r < count_; ++r) {
        const uint8_t* record = Record(r);
        bool matches = true;
        for (int i = 0; i < keyCount && matches; ++i) {
            const int field = keyFields[static_cast<size_t>(i)];
            matches = KeyMatches(fields_.Field(field), record + fields_.Offset(field), keys, i);
        }
        if (matches) found.push_back(r);
    }
    return found;
}

void TDBTable::Sort(const TCustomParam& names, const TCustomParam& descending) {
    std::vector<TSortKey> sortKeys;
    const int keyCount = std::min(names.GetCount(), descending.GetCount());
    for (int i = 0; i < keyCount; ++i) {
        const int field = fields_.IndexOf(names.GetStrAt(i));
        if (field >= 0) sortKeys.push_back({field, descending.GetBoolAt(i)});
    }
    if (sortKeys.empty() || count_ < 2) return;

    std::vector<int32_t> order(static_cast<size_t>(count_));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t x, int32_t y) {
        for (const TSortKey& key : sortKeys) {
            const int32_t offset = fields_.Offset(key.Field);
            const int c =
                CompareKey(fields_.Field(key.Field), Record(x) + offset, Record(y) + offset, key.Descending);
            if (c != 0) return c < 0;
        }
        return false;
    });

    const size_t size = RecordBytesPerRecord();
    std::vector<uint8_t> sorted(records_.size());
    for (size_t i = 0; i < order.size(); ++i)
        std::memcpy(sorted.data() + i * size, Record(order[i]), size);
    records_ = std::move(sorted);
}

}  // namespace tova
