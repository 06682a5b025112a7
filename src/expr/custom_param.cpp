#include "expr/custom_param.h"

#include <limits>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/sjis.h"

namespace tova {

int TCustomParam::GetDimCount() const {
    return dims_.empty() ? 1 : static_cast<int>(dims_.size());
}

int TCustomParam::GetDimSize(int dim) const {
    if (dim < 0 || static_cast<size_t>(dim) >= dims_.size()) return 1;
    return dims_[static_cast<size_t>(dim)];
}

void TCustomParam::AssignRaw(const TCustomParam& src) {
    dims_ = src.dims_;
}

int TCustomParam::CheckedElementCount(const TDynamicIntArray& dims) {
    bool valid = true;
    int64_t product = 1;
    std::string listed;
    for (const int32_t size : dims) {
        if (!listed.empty()) listed += ',';
        listed += std::to_string(size);
        if (size < 1) valid = false;
        // An element count that does not fit the index type is as invalid as a zero.
        if (valid) product *= size;
        if (product > std::numeric_limits<int32_t>::max()) valid = false;
    }
    if (!valid) throw ETovaError::Format("配列の要素数[%s]が不正です", {listed});
    return static_cast<int>(product);
}

void TCustomParam::SetDims(const TDynamicIntArray& dims) {
    const int count = CheckedElementCount(dims);
    dims_ = dims;
    SetCount(count);
}

TDynamicIntArray TCustomParam::ShapeOf() const {
    TDynamicIntArray shape;
    const int dimCount = GetDimCount();
    for (int d = 0; d < dimCount; ++d)
        shape.push_back(GetDimSize(d));
    return shape;
}

void TCustomParam::CopyMem(const TCustomParam& src) {
    SetCount(src.GetCount());
    dims_ = src.ShapeOf();
}

void TCustomParam::SaveToStream(TStream& stream) const {
    WriteI32(stream, static_cast<int32_t>(dims_.size()));
    for (const int32_t size : dims_)
        WriteI32(stream, size);
}

void TCustomParam::LoadFromStream(TStream& stream) {
    const int32_t count = ReadI32(stream);
    if (count < 0 || static_cast<int64_t>(count) * 4 > stream.Remaining())
        throw ETovaError("damaged value: dimension count " + std::to_string(count) + " exceeds the data");
    TDynamicIntArray dims(static_cast<size_t>(count));
    for (int32_t& size : dims)
        size = ReadI32(stream);
    dims_ = std::move(dims);
}

int TCustomParam::IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (IndexTextMatches(GetStrAt(i), s, caseSensitive, partial)) return i;
    return -1;
}

void TCustomParam::AssignConverted(const TCustomParam& src) {
    // A scalar stays a scalar (ShapeOf would make it an array of one).
    const bool scalar = src.Dims().empty() && src.GetCount() == 1;
    SetDims(scalar ? TDynamicIntArray{} : src.ShapeOf());
    const int count = src.GetCount();
    const int ownType = GetParamType();
    for (int i = 0; i < count; ++i) {
        switch (ownType) {
            case PT_INT:
                SetIntAt(i, src.GetIntAt(i));
                break;
            case PT_FLOAT:
                SetFloatAt(i, src.GetFloatAt(i));
                break;
            case PT_BOOL:
                SetBoolAt(i, src.GetBoolAt(i));
                break;
            case PT_STR:
                SetStrAt(i, src.GetStrAt(i));
                break;
            default:
                return;
        }
    }
}

bool IndexTextMatches(std::string_view hay, std::string_view s, bool caseSensitive, bool partial) {
    if (partial) {
        if (caseSensitive) return SjisFind(hay, s) != std::string_view::npos;
        return SjisFind(SjisLowerCase(hay), SjisLowerCase(s)) != std::string_view::npos;
    }
    return caseSensitive ? hay == s : SjisSameText(hay, s);
}

void AssignScalarAs(int typeCode, TCustomParam& dest, const TCustomParam& src) {
    switch (typeCode) {
        case PT_INT:
            dest.SetInt(src.GetInt());
            break;
        case PT_FLOAT:
            dest.SetFloat(src.GetFloat());
            break;
        case PT_BOOL:
            dest.SetBool(src.GetBool());
            break;
        case PT_STR:
            dest.SetStr(src.GetStr());
            break;
        default:
            break;
    }
}

}  // namespace tova
