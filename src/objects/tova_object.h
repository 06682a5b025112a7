// The base of everything that lives on the screen or in its component list
// and is addressed by name from scripts.
#pragma once

#include <string>

#include "objects/component_handle.h"

namespace tova {

class TCustomParam;

class TTovaObject {
public:
    TTovaObject() = default;
    virtual ~TTovaObject() = default;
    TTovaObject(const TTovaObject&) = delete;
    TTovaObject& operator=(const TTovaObject&) = delete;

    // The property of a PR_ id, written into result (already of the
    // property's type). The base has no properties of its own and leaves
    // result as it is.
    virtual void GetProp(int id, TCustomParam& result) const;
    // Writes a property; the base ignores every id.
    virtual void SetProp(int id, const TCustomParam& value);

    // The handle the screen gave the component when it was added.
    TComponentHandle Handle() const { return handle_; }

    std::string Name;

private:
    friend class TTovaBaseList;
    TComponentHandle handle_;
};

}  // namespace tova
