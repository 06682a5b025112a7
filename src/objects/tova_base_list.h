// The screen as the interpreter sees it: the registry of every component by
// name and the event queue the components fill.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "objects/timer_list.h"
#include "objects/tova_object.h"

namespace tova {

class TTovaBaseList {
public:
    // Registers a component; the screen owns it from now on.
    TTovaObject& AddObject(std::unique_ptr<TTovaObject> object);
    // The component of that name (exact comparison), or null.
    TTovaObject* FindObject(std::string_view name) const;
    // Whether the pointer still stands for a registered component.
    bool Contains(const TTovaObject* object) const;
    // The name of a component that still exists, else empty.
    std::string NameOf(const TTovaObject* object) const;
    // Frees a component and drops the events it queued.
    void RemoveObject(TTovaObject& object);
    // Frees every component and the events they queued.
    void ClearObjects();

    size_t ObjectCount() const { return objects_.size(); }

    TTimerList Events;

private:
    std::vector<std::unique_ptr<TTovaObject>> objects_;
};

}  // namespace tova
