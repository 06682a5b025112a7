#include "objects/timer_list.h"

#include <algorithm>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {

TTimerData& TTimerList::Add(TTimerData event) {
    events_.push_back(std::make_unique<TTimerData>(std::move(event)));
    return *events_.back();
}

TTimerData* TTimerList::NextPending() {
    for (const auto& event : events_)
        if (event->State == 0) return event.get();
    return nullptr;
}

bool TTimerList::HasPending(TComponentHandle sender, uint8_t kind) const {
    return std::any_of(events_.begin(), events_.end(), [&](const auto& event) {
        return event->State == 0 && event->Sender == sender && event->Kind == kind;
    });
}

void TTimerList::RemoveWhere(const std::function<bool(const TTimerData&)>& doom) {
    std::erase_if(events_, [&](const auto& event) { return doom(*event); });
}

void TTimerList::RemoveLevel(int32_t n) {
    RemoveWhere([n](const TTimerData& event) { return event.State == n; });
}

void TTimerList::RemoveTaken() {
    RemoveWhere([](const TTimerData& event) { return event.State != 0; });
}

void TTimerList::Remove(const TTimerData* event) {
    RemoveWhere([event](const TTimerData& item) { return &item == event; });
}

void TTimerList::RemoveSender(TComponentHandle sender) {
    RemoveWhere([sender](const TTimerData& event) { return event.Sender == sender; });
}

void TTimerList::SaveToStream(TStream& stream,
                              const std::function<std::string(TComponentHandle)>& nameOf) const {
    WriteI32(stream, static_cast<int32_t>(events_.size()));
    for (const auto& event : events_) {
        WriteString(stream, event->Handler);
        WriteString(stream, event->Sender ? nameOf(event->Sender) : std::string());
        WriteU8(stream, event->Kind);
        WriteI32(stream, event->State);
        WriteI32(stream, static_cast<int32_t>(event->Args.size()));
        for (const std::string& arg : event->Args)
            WriteString(stream, arg);
    }
}

namespace {

// A count read from the stream, checked against the bytes left: every item
// takes at least minItemBytes.
int32_t ReadCount(TStream& stream, int64_t minItemBytes, const char* what) {
    const int32_t count = ReadI32(stream);
    const int64_t left = stream.GetSize() - stream.GetPosition();
    if (count < 0 || count * minItemBytes > left)
        throw ETovaError(TErrorKind::DamagedSave, std::string("the event queue is damaged: ") + what +
                                                      " count " + std::to_string(count) +
                                                      " does not fit in what is left");
    return count;
}

}  // namespace

void TTimerList::LoadFromStream(TStream& stream, int32_t version,
                                const std::function<TComponentHandle(std::string_view)>& findByName) {
    const bool intState = version >= kIntStateVersion;
    // Handler, sender name, Kind, State, Args count.
    const int64_t minEvent = 4 + 4 + 1 + (intState ? 4 : 1) + 4;
    const int32_t count = ReadCount(stream, minEvent, "event");
    std::vector<std::unique_ptr<TTimerData>> loaded;
    loaded.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        auto event = std::make_unique<TTimerData>();
        event->Handler = ReadString(stream);
        const std::string sender = ReadString(stream);
        event->Sender = sender.empty() ? TComponentHandle{} : findByName(sender);
        event->Kind = ReadU8(stream);
        event->State = intState ? ReadI32(stream) : (ReadU8(stream) != 0 ? 1 : 0);
        const int32_t argCount = ReadCount(stream, 4, "argument");
        for (int32_t a = 0; a < argCount; ++a)
            event->Args.push_back(ReadString(stream));
        loaded.push_back(std::move(event));
    }
    events_ = std::move(loaded);
}

}  // namespace tova
