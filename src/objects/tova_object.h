// The base of everything that lives on the screen or in its component list
// and is addressed by name from scripts: the name, tag and drawing priority,
// the property accessors every component overrides for what it holds, and
// the object part of the save record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/stream.h"
#include "expr/component_types.h"
#include "objects/component_handle.h"
#include "objects/property_support.h"

namespace tova {

class TCustomParam;
class TRecordIO;
class TTovaBaseList;
class TTovaControl;

// The save version this build writes; readers test older versions against
// the thresholds of each record.
inline constexpr int32_t kObjectsSaveVersion = 139;

class TTovaObject {
public:
    // The first save versions that hold PriorityBias and Tag.
    static constexpr int32_t kPriorityBiasVersion = 104;
    static constexpr int32_t kTagVersion = 120;

    TTovaObject() = default;
    virtual ~TTovaObject() = default;
    TTovaObject(const TTovaObject&) = delete;
    TTovaObject& operator=(const TTovaObject&) = delete;

    // The LT_ code (PR_COMPOTYPE); 0 for abstract classes, layers and the screen.
    virtual int TypeCode() const { return LT_NONE; }
    virtual TObjectKind Kind() const { return TObjectKind::Plain; }
    // Whether the component holds the property (the property table's
    // "supported by" column by TypeCode and Kind).
    virtual bool AcceptsProperty(int id) const;

    // The property of a PR_ id, written into result (already of the
    // property's type). The base answers PR_NAME, PR_TAG, PR_PRIORITY and
    // PR_COMPOTYPE and the neutral default for everything else; a component
    // overrides this for what it holds and calls the base for the rest.
    virtual void GetProp(int id, TCustomParam& result) const;
    // Writes a property (value already of its type); the base takes
    // PR_NAME, PR_TAG and PR_PRIORITY and ignores the rest.
    virtual void SetProp(int id, const TCustomParam& value);

    // Renames the object; the screen's name index follows. Controls keep
    // names unique by renaming an older holder (see TTovaControl).
    virtual void SetName(std::string name);
    // Setting Priority clears PriorityBias; both re-sort the siblings.
    virtual void SetPriority(int32_t priority);
    virtual void SetPriorityBias(int32_t bias);
    // Whether the screen gives the object a generated name ("object0" ...)
    // when it is registered without one.
    virtual bool WantsAutoName() const { return false; }

    // The frame's work; false when the component is finished and frees
    // itself (an ended sound with PR_AUTOSCRAP).
    virtual bool Step(int32_t frameMs);
    // PR_PAUSED of the components that have it.
    virtual bool Paused() const { return false; }
    // The PR_ONIDLE text of the components that have it.
    virtual std::string IdleText() const { return {}; }
    // True while a component has taken the mouse for itself (a menu closing
    // after a choice): no generic mouse event is queued then.
    virtual bool HandlesMouse() const { return false; }
    // The object or an ancestor is a cabinet.
    virtual bool InCabinet() const { return false; }
    virtual TTovaControl* AsControl() { return nullptr; }
    const TTovaControl* AsControl() const { return const_cast<TTovaObject*>(this)->AsControl(); }

    // The component's part of the save data; each class adds its fields
    // after its base's.
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromStream(TStream& stream, int32_t version);

    // The handle the screen gave the object when it was added.
    TComponentHandle Handle() const { return handle_; }
    // Names beginning with character 1 mark system objects (the layers).
    bool IsSystemObject() const { return !Name.empty() && Name[0] == '\x01'; }

    TTovaBaseList* Screen = nullptr;  // the owning screen, or null while free-standing
    // Change it through SetName once the object is registered.
    std::string Name;
    std::string Tag;
    int32_t Priority = 0;
    int32_t PriorityBias = 0;

protected:
    // The object part of the record: Name, Priority, PriorityBias, Tag.
    void VisitObjectRecord(TRecordIO& io, int32_t version);

private:
    friend class TTovaBaseList;
    friend class TObjectRegistry;
    TComponentHandle handle_;
    uint64_t serial_ = 0;      // registration order, for "the first of that name"
    std::string indexedName_;  // the name the screen's index has it under
};

// The sibling order: true when a is drawn before (below) b. Names of one
// leading character 1 go below everything, the name of two characters 1
// above everything; else Priority + PriorityBias ascending, ties by name
// with the later name first.
bool DrawsBefore(const TTovaObject& a, const TTovaObject& b);

// A component without a place on the screen (sound, timer, HTTP request,
// property motion) and the base of the visual ones.
class TTovaComponent : public TTovaObject {
public:
    bool WantsAutoName() const override { return true; }
};

}  // namespace tova
