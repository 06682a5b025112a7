// The read marks: for every script page, the message pages the player has
// already seen, as pairs (history position, page index), plus the one mark
// that is pending until the page being shown is finished. They belong to the
// installation rather than to one saved game and live in the status record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_collection.h"
#include "core/stream.h"

namespace tova {

class TTovaRead : public THashCollectionItem {
public:
    // Parallel arrays: mark i is (Positions[i], PageIndices[i]).
    std::vector<int32_t> Positions;
    std::vector<int32_t> PageIndices;

    bool Has(int32_t position, int32_t pageIndex) const;
};

// A mark waiting to be committed: the script page, position and page index,
// and the message window that shows it.
struct TTovaPendingRead {
    std::string Key;
    int32_t Position = 0;
    int32_t PageIndex = 0;
    std::string Window;

    bool operator==(const TTovaPendingRead&) const = default;
};

class TTovaReadList : public THashCollectionOf<TTovaRead> {
public:
    // The first status version that carries the read marks.
    static constexpr int kFirstStoredVersion = 100;

    TTovaPendingRead Pending;

    // Adds the mark to the page's item (created when missing) unless it is there.
    void Mark(std::string_view page, int32_t position, int32_t pageIndex);
    bool IsRead(std::string_view page, int32_t position, int32_t pageIndex) const;
    // Empties the list and the pending mark.
    void Reset();

    // Item count; per item the page name, n, n positions and n page indices;
    // then the pending mark: key, position, page index, window name.
    void SaveToStream(TStream& stream) const;
    // Reads that form for version 100 and later; older versions leave the
    // list empty. Damaged or truncated data throws ETovaError and leaves the
    // list as it was.
    void LoadFromStream(TStream& stream, int version);
};

}  // namespace tova
