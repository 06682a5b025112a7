#include "text/read_list.h"

#include <memory>
#include <utility>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {
namespace {

// What one stored item takes at least: an empty name and a zero count.
constexpr int64_t kMinItemSize = 8;

int32_t ReadCount(TStream& s, int64_t itemSize, const char* what) {
    const int32_t count = ReadI32(s);
    if (count < 0 || count > s.Remaining() / itemSize)
        throw ETovaError(TErrorKind::DamagedReadMarks,
                         "damaged read marks: a count of " + std::to_string(count) + " " + what +
                             " does not fit in the " + std::to_string(s.Remaining()) + " bytes left");
    return count;
}

std::vector<int32_t> ReadInts(TStream& s, int32_t count) {
    std::vector<int32_t> values(static_cast<size_t>(count));
    for (int32_t& value : values)
        value = ReadI32(s);
    return values;
}

}  // namespace

bool TTovaRead::Has(int32_t position, int32_t pageIndex) const {
    for (size_t i = 0; i < Positions.size(); ++i)
        if (Positions[i] == position && PageIndices[i] == pageIndex) return true;
    return false;
}

void TTovaReadList::Mark(std::string_view page, int32_t position, int32_t pageIndex) {
    TTovaRead* item = Find(page);
    if (!item) {
        auto fresh = std::make_unique<TTovaRead>();
        fresh->SetName(std::string(page));
        item = Add(std::move(fresh));
    }
    if (item->Has(position, pageIndex)) return;
    item->Positions.push_back(position);
    item->PageIndices.push_back(pageIndex);
}

bool TTovaReadList::IsRead(std::string_view page, int32_t position, int32_t pageIndex) const {
    const TTovaRead* item = Find(page);
    return item && item->Has(position, pageIndex);
}

void TTovaReadList::Reset() {
    Clear();
    Pending = {};
}

void TTovaReadList::SaveToStream(TStream& stream) const {
    WriteI32(stream, Count());
    for (int i = 0; i < Count(); ++i) {
        const TTovaRead& item = *Item(i);
        WriteString(stream, item.GetName());
        WriteI32(stream, static_cast<int32_t>(item.Positions.size()));
        for (const int32_t position : item.Positions)
            WriteI32(stream, position);
        for (const int32_t pageIndex : item.PageIndices)
            WriteI32(stream, pageIndex);
    }
    WriteString(stream, Pending.Key);
    WriteI32(stream, Pending.Position);
    WriteI32(stream, Pending.PageIndex);
    WriteString(stream, Pending.Window);
}

void TTovaReadList::LoadFromStream(TStream& stream, int version) {
    if (version < kFirstStoredVersion) {
        Reset();
        return;
    }
    // Read into a list of its own, so that damaged data changes nothing.
    std::vector<std::unique_ptr<TTovaRead>> items;
    TTovaPendingRead pending;
    try {
        const int32_t count = ReadCount(stream, kMinItemSize, "pages");
        items.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            auto item = std::make_unique<TTovaRead>();
            item->SetName(ReadString(stream));
            const int32_t marks = ReadCount(stream, 8, "marks");
            item->Positions = ReadInts(stream, marks);
            item->PageIndices = ReadInts(stream, marks);
            items.push_back(std::move(item));
        }
        pending.Key = ReadString(stream);
        pending.Position = ReadI32(stream);
        pending.PageIndex = ReadI32(stream);
        pending.Window = ReadString(stream);
    } catch (const ETovaError& e) {
        if (e.Kind() == TErrorKind::DamagedReadMarks) throw;
        throw ETovaError(TErrorKind::DamagedReadMarks, "damaged read marks: " + e.Message());
    }
    Reset();
    for (auto& item : items)
        Add(std::move(item));
    Pending = std::move(pending);
}

}  // namespace tova
