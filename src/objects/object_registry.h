// The screen's registry of components: it owns them in registration order
// (the order of Step and ListNames), gives each a handle, and finds them by
// name through a hash index rather than a scan.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "objects/component_handle.h"
#include "objects/tova_object.h"

namespace tova {

class TObjectRegistry {
public:
    TObjectRegistry() = default;
    TObjectRegistry(const TObjectRegistry&) = delete;
    TObjectRegistry& operator=(const TObjectRegistry&) = delete;
    ~TObjectRegistry();

    // Takes the object, gives it a handle and indexes its name.
    TTovaObject& Add(std::unique_ptr<TTovaObject> object);
    // Gives an object that the registry does not own (a layer) a handle.
    void AddUnowned(TTovaObject& object);
    // Takes the object out (handle freed, name unindexed) and hands it back
    // for freeing; an index below the step cursor moves the cursor back.
    std::unique_ptr<TTovaObject> Take(TTovaObject& object);
    void ReleaseUnowned(TTovaObject& object);
    // Frees every owned object at once.
    void Clear();

    // The first registered object of that name (case-sensitive), or null.
    TTovaObject* Find(std::string_view name) const;
    // The first registered control of that name, or null.
    TTovaControl* FindControl(std::string_view name) const;
    TTovaObject* Resolve(TComponentHandle handle) const;
    // Re-indexes an object after its Name changed.
    void Renamed(TTovaObject& object);
    // The registration index of the object of that name, or -1.
    int IndexOfName(std::string_view name) const;
    // Prefix + 0, Prefix + 1 ... the first that no registered object has.
    // Where the search starts is remembered per prefix (and moved back when
    // a name below it is freed), so that naming many objects one after the
    // other does not try every name taken before.
    std::string FreeName(std::string_view prefix) const;

    size_t Count() const { return objects_.size(); }
    TTovaObject& At(size_t i) const { return *objects_[i]; }

    // The walk of Step: an index that freeing objects keeps pointing at the
    // next object not yet visited.
    size_t Cursor = 0;

private:
    struct TSlot {
        TTovaObject* Object = nullptr;
        uint32_t Generation = 0;
    };
    struct THash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Objects of one name in registration order (usually one).
    using TBucket = std::vector<TTovaObject*>;

    void GiveHandle(TTovaObject& object);
    void FreeHandle(TTovaObject& object);
    void Index(TTovaObject& object);
    void Unindex(TTovaObject& object);

    std::vector<std::unique_ptr<TTovaObject>> objects_;
    std::vector<TSlot> slots_;
    std::vector<uint32_t> freeSlots_;
    std::unordered_map<std::string, TBucket, THash, std::equal_to<>> names_;
    // Per prefix of FreeName: every Prefix + k with k below it is taken.
    mutable std::unordered_map<std::string, uint64_t, THash, std::equal_to<>> freeFrom_;
    uint64_t nextSerial_ = 1;
};

}  // namespace tova
