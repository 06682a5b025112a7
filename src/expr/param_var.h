// A reference: an alias of a whole variable (ElementIndex 0) or of one array
// element. Scalar reads and writes go to the target's element ElementIndex;
// every other operation goes to the target's value unchanged. Unbound, it
// answers count 0, dimension count 0, type 0, empty values and ignores writes.
#pragma once

#include <cstdint>
#include <string>

#include "expr/forwarding_param.h"

namespace tova {

class TParamCollection;
class TParamCollectionItem;

class TParamVar final : public TForwardingParam<TParamVar> {
public:
    // lookup binds the target by name when the value is read from a stream.
    explicit TParamVar(const TParamCollection* lookup = nullptr) : lookup_(lookup) {}

    int StoredType() const override { return PT_NONE; }

    TParamCollectionItem* Target() const { return target_; }
    // Binds to target (null unbinds). A binding that would make a chain of
    // references lead back to this one is refused and leaves it unbound.
    // Returns whether the reference is bound afterwards.
    bool Bind(TParamCollectionItem* target);
    bool BindElement(TParamCollectionItem* target, int32_t elementIndex);

    // Unbound, the shape and type readers answer 0 and IndexOfStr -1.
    int GetCount() const override;
    int GetParamType() const override;
    int GetDimCount() const override;
    int GetDimSize(int dim) const override;
    int IndexOfStr(std::string_view s, bool caseSensitive, bool partial) const override;

    // Scalar reads and writes address element ElementIndex of the target.
    bool GetBool() const override;
    long double GetFloat() const override;
    int32_t GetInt() const override;
    std::string GetStr() const override;
    void SetBool(bool value) override;
    void SetFloat(long double value) override;
    void SetInt(int32_t value) override;
    void SetStr(std::string_view value) override;

    // The dimension list, TargetName, the bound target's name (empty when
    // unbound), RefFlag and ElementIndex.
    void SaveToStream(TStream& stream) const override;
    void LoadFromStream(TStream& stream) override;

    std::string TargetName;  // the name as written in the expression
    uint8_t RefFlag = 0;     // kept with the value, no other use
    int32_t ElementIndex = 0;

private:
    friend class TForwardingParam<TParamVar>;
    // The target's value, or null when unbound.
    TCustomParam* ForwardTarget() const;

    const TParamCollection* lookup_;
    TParamCollectionItem* target_ = nullptr;
};

}  // namespace tova
