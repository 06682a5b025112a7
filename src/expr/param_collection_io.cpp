// The stored forms of the collection: the game-save variable section, the
// status section and the pushed variable sets.
#include <unordered_set>

#include "core/binary_io.h"
#include "core/error.h"
#include "core/sjis.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"
#include "expr/param_var.h"

namespace tova {
namespace {

// The least a stored variable record can take: type, name length, an empty
// dimension list and element count, and the four trailing fields.
constexpr int64_t kMinRecordSize = 1 + 4 + 8 + 1 + 1 + 4 + 1;
// The least one pushed-set entry can take: type, name length, an empty value.
constexpr int64_t kMinPushedEntrySize = 4 + 4 + 8;

// Save versions at which fields of the game-save section appear or vanish.
constexpr int32_t kVersionSelection = 103;
constexpr int32_t kVersionHistoryFirst = 113;
constexpr int32_t kVersionHistoryLast = 134;
constexpr int32_t kVersionTempTarget = 121;
constexpr int32_t kVersionPushedSets = 139;

int32_t ReadCount(TStream& stream, int64_t minEachSize, const char* what) {
    const int32_t count = ReadI32(stream);
    if (count < 0 || count * minEachSize > stream.Remaining())
        throw ETovaError(std::string("damaged variable data: ") + what + " count " + std::to_string(count) +
                         " exceeds the data");
    return count;
}

bool IsDataType(int type) {
    return type >= PT_INT && type <= PT_STR;
}

void WriteRecord(TStream& stream, const TParamCollectionItem& item) {
    WriteU8(stream, static_cast<uint8_t>(item.Value().StoredType()));
    WriteString(stream, item.GetName());
    item.Value().SaveToStream(stream);
    WriteU8(stream, item.StatusFlag);
    WriteU8(stream, item.Reserved);
    WriteI32(stream, item.Owner);
    WriteU8(stream, item.LocalFlag);
}

// When every remaining candidate is a reference that waits, some wait for a
// target that is never written (a system or status variable). The count is
// out already, so one of those is written anyway, the last first; references
// that wait for it follow in the next pass.
size_t NeverServed(const std::vector<const TParamCollectionItem*>& waiting) {
    std::unordered_set<std::string> pending;
    for (const TParamCollectionItem* item : waiting)
        pending.insert(SjisLowerCase(item->GetName()));
    for (size_t i = waiting.size(); i-- > 0;) {
        const auto& ref = dynamic_cast<const TParamVar&>(waiting[i]->Value());
        if (!pending.count(SjisLowerCase(ref.Target()->GetName()))) return i;
    }
    return waiting.size() - 1;
}

}  // namespace

void TParamCollection::SaveRecords(TStream& stream, bool status) const {
    std::vector<const TParamCollectionItem*> candidates;
    for (int i = 0; i < Count(); ++i)
        if (!Item(i)->IsSystem() && (Item(i)->StatusFlag != 0) == status) candidates.push_back(Item(i));
    WriteI32(stream, static_cast<int32_t>(candidates.size()));

    // Passes from the last candidate to the first, each writing what it can;
    // a bound reference waits until a variable of its target's name is
    // written, so that reading binds it.
    std::unordered_set<std::string> written;  // folded names
    auto write = [&](size_t index) {
        WriteRecord(stream, *candidates[index]);
        written.insert(SjisLowerCase(candidates[index]->GetName()));
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(index));
    };
    while (!candidates.empty()) {
        bool progress = false;
        for (size_t i = candidates.size(); i-- > 0;) {
            const auto* ref = dynamic_cast<const TParamVar*>(&candidates[i]->Value());
            if (ref && ref->Target() && !written.count(SjisLowerCase(ref->Target()->GetName()))) continue;
            write(i);
            progress = true;
        }
        if (!progress) write(NeverServed(candidates));
    }
}

void TParamCollection::LoadRecords(TStream& stream) {
    const int32_t count = ReadCount(stream, kMinRecordSize, "variable record");
    for (int32_t r = 0; r < count; ++r) {
        const uint8_t type = ReadU8(stream);
        std::unique_ptr<TCustomParam> value = CreateParam(type, this);
        if (!value) throw ETovaError("damaged variable data: unknown type code " + std::to_string(type));
        auto item = std::make_unique<TParamCollectionItem>(std::move(value));
        item->SetName(ReadString(stream));
        item->Value().LoadFromStream(stream);
        item->StatusFlag = ReadU8(stream);
        item->Reserved = ReadU8(stream);
        item->Owner = ReadI32(stream);
        item->LocalFlag = ReadU8(stream);
        // Added only when whole, so a damaged record leaves no half variable.
        Track(*Add(std::move(item)));
    }
}

void TParamCollection::SaveGameVars(TStream& stream) const {
    SaveRecords(stream, false);
    WriteI32(stream, TextDelay);
    WriteString(stream, Cursor);
    WriteString(stream, SelStr);
    WriteI32(stream, SelIndex);
    WriteString(stream, TempTarget);
    WriteI32(stream, static_cast<int32_t>(PushedSets.size()));
    for (const TTpMemoryStream& set : PushedSets)
        stream.WriteBuffer(set.Bytes());
}

void TParamCollection::LoadGameVars(TStream& stream, int32_t version) {
    DestroyWhere([](const TParamCollectionItem& item) { return item.StatusFlag == 0; });
    PushedSets.clear();
    LoadedHistorySettings.reset();
    LoadRecords(stream);
    TextDelay = ReadI32(stream);
    Cursor = ReadString(stream);
    if (version >= kVersionSelection) {
        SelStr = ReadString(stream);
        SelIndex = ReadI32(stream);
    }
    if (version >= kVersionHistoryFirst && version <= kVersionHistoryLast) {
        THistorySettings history;
        for (auto& [first, second] : history) {
            first = ReadI32(stream);
            second = ReadI32(stream);
        }
        LoadedHistorySettings = history;
    }
    if (version >= kVersionTempTarget) TempTarget = ReadString(stream);
    if (version >= kVersionPushedSets) {
        const int32_t count = ReadCount(stream, 4, "pushed set");
        for (int32_t i = 0; i < count; ++i)
            PushedSets.push_back(ReadPushedSet(stream));
    }
}

void TParamCollection::SaveStatusVars(TStream& stream) const {
    SaveRecords(stream, true);
}

void TParamCollection::LoadStatusVars(TStream& stream) {
    LoadRecords(stream);
}

void TParamCollection::PushVars(const std::vector<std::string>& names) {
    std::vector<const TParamCollectionItem*> pushed;
    for (const std::string& name : names) {
        const TParamCollectionItem* item = FindItem(name);
        if (item && IsDataType(item->Value().StoredType())) pushed.push_back(item);
    }
    TTpMemoryStream set;
    WriteI32(set, static_cast<int32_t>(pushed.size()));
    for (const TParamCollectionItem* item : pushed) {
        WriteI32(set, item->Value().StoredType());
        WriteString(set, item->GetName());
        item->Value().SaveToStream(set);
    }
    PushedSets.push_back(std::move(set));
}

void TParamCollection::PopVars() {
    if (PushedSets.empty()) return;
    TTpMemoryStream set = std::move(PushedSets.back());
    PushedSets.pop_back();
    set.SetPosition(0);
    const int32_t count = ReadCount(set, kMinPushedEntrySize, "pushed variable");
    for (int32_t k = 0; k < count; ++k) {
        const int32_t type = ReadI32(set);
        if (!IsDataType(type)) throw ETovaError("damaged pushed set: type code " + std::to_string(type));
        std::string name = ReadString(set);
        TParamCollectionItem* item = FindItem(name);
        if (item && item->IsSystem()) {
            // A system variable cannot be replaced: its stored value is skipped.
            CreateParam(type)->LoadFromStream(set);
            continue;
        }
        if (item && item->Value().StoredType() != type) {
            DeleteVariable(*item);
            item = nullptr;
        }
        if (!item) {
            TParamCollectionItem::CheckName(name);
            item = AddItem(type);
            item->SetName(std::move(name));
        }
        item->Value().LoadFromStream(set);
    }
}

TTpMemoryStream TParamCollection::ReadPushedSet(TStream& stream) {
    const int64_t start = stream.GetPosition();
    const int32_t count = ReadCount(stream, kMinPushedEntrySize, "pushed variable");
    for (int32_t k = 0; k < count; ++k) {
        const int32_t type = ReadI32(stream);
        if (!IsDataType(type)) throw ETovaError("damaged pushed set: type code " + std::to_string(type));
        TParamCollectionItem::CheckName(ReadString(stream));
        CreateParam(type)->LoadFromStream(stream);
    }
    const int64_t end = stream.GetPosition();
    stream.SetPosition(start);
    TTpMemoryStream set(ReadBytes(stream, end - start));
    return set;
}

}  // namespace tova
