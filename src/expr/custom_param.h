// A typed script value: a scalar or a multi-dimensional array of integers,
// floats, booleans or strings, a reference to another variable, or a system
// variable. Every read and write converts between the stored and the
// requested type (see param_convert.h); element operations take a flat index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/stream.h"
#include "expr/param_types.h"

namespace tova {

class TCustomParam {
public:
    virtual ~TCustomParam() = default;
    TCustomParam(const TCustomParam&) = delete;
    TCustomParam& operator=(const TCustomParam&) = delete;

    // The type code this class is stored under: PT_NONE for a reference,
    // PT_INT..PT_STR for the data classes, PT_SYSTEM for a system variable.
    // Unlike GetParamType it never looks through a reference.
    virtual int StoredType() const = 0;

    // The base behaviour below is that of a value without storage.
    virtual int GetCount() const { return 1; }
    virtual void SetCount(int) {}
    virtual int GetParamType() const { return PT_INT; }

    virtual bool GetBool() const { return false; }
    virtual long double GetFloat() const { return 0.0L; }
    virtual int32_t GetInt() const { return 0; }
    virtual std::string GetStr() const { return {}; }
    virtual void SetBool(bool) {}
    virtual void SetFloat(long double) {}
    virtual void SetInt(int32_t) {}
    virtual void SetStr(std::string_view) {}

    virtual int32_t GetIntAt(int) const { return 0; }
    virtual void SetIntAt(int, int32_t) {}
    virtual long double GetFloatAt(int) const { return 0.0L; }
    virtual void SetFloatAt(int, long double) {}
    virtual bool GetBoolAt(int) const { return false; }
    virtual void SetBoolAt(int, bool) {}
    virtual std::string GetStrAt(int) const { return {}; }
    virtual void SetStrAt(int, std::string_view) {}

    // A scalar counts as one dimension of size 1.
    virtual int GetDimCount() const;
    virtual int GetDimSize(int dim) const;
    // Copies the shape (and, in the data classes, the elements) of a value of
    // the same class.
    virtual void AssignRaw(const TCustomParam& src);
    // Every entry must be at least 1 ("配列の要素数[...]が不正です" otherwise,
    // nothing changed). The flat element prefix is kept; new elements get the
    // default, so elements do not keep their old coordinates.
    virtual void SetDims(const TDynamicIntArray& dims);

    virtual void FillInt(int32_t) {}
    virtual void FillFloat(long double) {}
    virtual void FillBool(bool) {}
    virtual void FillStr(std::string_view) {}

    // Takes the count and the dimension sizes of src (a scalar gives [1]).
    virtual void CopyMem(const TCustomParam& src);

    // The dimension list, then what the class stores.
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromStream(TStream& stream);

    virtual void MakeScalar() {}

    // Index of the first element that matches s, or -1: partial finds s
    // inside the element; otherwise the whole element must equal s. Case is
    // ignored (ASCII letters outside double-byte characters) unless caseSensitive.
    virtual int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const;

    // Takes src's shape (a scalar's too) and converts each of its elements
    // into the own type.
    void AssignConverted(const TCustomParam& src);

    const TDynamicIntArray& Dims() const { return dims_; }

protected:
    TCustomParam() = default;

    // The dimension sizes as GetDimCount/GetDimSize report them.
    TDynamicIntArray ShapeOf() const;
    // Validates dims as SetDims does and returns their product.
    static int CheckedElementCount(const TDynamicIntArray& dims);

    TDynamicIntArray dims_;
};

// Whether element text hay matches s under the IndexOfStr rules.
bool IndexTextMatches(std::string_view hay, std::string_view s, bool caseSensitive, bool partial);

// Stores src into dest converted by typeCode, whatever dest holds:
// SetInt(src.GetInt) for PT_INT and so on; other codes store nothing.
void AssignScalarAs(int typeCode, TCustomParam& dest, const TCustomParam& src);

}  // namespace tova
