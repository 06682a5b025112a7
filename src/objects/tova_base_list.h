// The screen as the interpreter sees it: the registry of every component by
// name and the event queue the components fill. It takes the window's input;
// until the layers exist, nothing reads it and it is dropped.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "objects/input_sink.h"
#include "objects/timer_list.h"
#include "objects/tova_object.h"

namespace tova {

class TTovaBaseList final : public TInputSink {
public:
    void KeyDown(int, bool) override {}
    void KeyUp(int) override {}
    void MouseDown(TMouseButton) override {}
    void MouseUp(TMouseButton) override {}
    void MouseMove(int32_t, int32_t) override {}
    void Wheel(int32_t) override {}

    // Registers a component and gives it its handle; the screen owns it
    // from now on.
    TTovaObject& AddObject(std::unique_ptr<TTovaObject> object);
    // The component of that name (exact comparison), or null.
    TTovaObject* FindObject(std::string_view name) const;
    // The handle of the component of that name, or none.
    TComponentHandle FindHandle(std::string_view name) const;
    // The component a handle stands for while it exists, else null.
    TTovaObject* Resolve(TComponentHandle handle) const;
    // Whether the handle stands for a component that still exists.
    bool Contains(TComponentHandle handle) const { return Resolve(handle) != nullptr; }
    // The name of a component that still exists, else empty.
    std::string NameOf(TComponentHandle handle) const;
    // Frees a component and drops the events it queued.
    void RemoveObject(TTovaObject& object);
    // Frees every component and the events they queued.
    void ClearObjects();

    size_t ObjectCount() const { return objects_.size(); }

    TTimerList Events;

private:
    // Slot n - 1 of a handle: the component in it (null when free) and the
    // generation of the handle that finds it.
    struct TSlot {
        TTovaObject* Object = nullptr;
        uint32_t Generation = 0;
    };
    void FreeSlot(const TTovaObject& object);

    std::vector<std::unique_ptr<TTovaObject>> objects_;
    std::vector<TSlot> slots_;
    std::vector<uint32_t> freeSlots_;  // slot numbers ready for reuse
};

}  // namespace tova
