// The event queue: what components report (a click, a timer, the end of a
// sound) waits here, oldest first, until the interpreter runs its handler
// page.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "objects/component_handle.h"

namespace tova {

// One queued event.
struct TTimerData {
    std::string Handler;      // page name, optionally ":" and a label
    TComponentHandle Sender;  // the component that queued it, or none
    uint8_t Kind = 0;         // the PR_ id of the event
    int32_t State = 0;        // 0 while waiting; else the level handling it
    std::vector<std::string> Args;
};

class TTimerList {
public:
    // The first version of the save data that stores State as an int32.
    static constexpr int32_t kIntStateVersion = 114;

    TTimerData& Add(TTimerData event);
    // The oldest event still waiting, or null.
    TTimerData* NextPending();
    // Whether an event of this sender and kind is waiting.
    bool HasPending(TComponentHandle sender, uint8_t kind) const;
    // Deletes every event handled at level n.
    void RemoveLevel(int32_t n);
    // Deletes every event that is being handled (State not 0).
    void RemoveTaken();
    void Remove(const TTimerData* event);
    // Deletes every event the sender queued (the component is going away).
    void RemoveSender(TComponentHandle sender);
    void Clear() { events_.clear(); }

    size_t Count() const { return events_.size(); }
    const TTimerData& operator[](size_t i) const { return *events_[i]; }

    // The saved form: int32 count, then per event Handler, the sender's name
    // (empty when it has none), Kind, State and Args.
    void SaveToStream(TStream& stream, const std::function<std::string(TComponentHandle)>& nameOf) const;
    // Replaces the queue by the saved one. Saves of versions up to 113 keep
    // State in one byte (non-zero meaning 1). Senders are looked up by name;
    // a name that finds nothing leaves the event without a sender. Damaged
    // data throws ETovaError and leaves the queue unchanged.
    void LoadFromStream(TStream& stream, int32_t version,
                        const std::function<TComponentHandle(std::string_view)>& findByName);

private:
    void RemoveWhere(const std::function<bool(const TTimerData&)>& doom);

    std::vector<std::unique_ptr<TTimerData>> events_;
};

}  // namespace tova
