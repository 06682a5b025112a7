// Feeds arbitrary text to the tab-separated table import of DBLoadTsvFile:
// the header line declares the fields, every further line is a record. The
// import must never crash or read out of bounds; every imported value must
// read back field by field, and the table must save and load again to the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/error.h"
#include "core/stream.h"
#include "expr/db_stored.h"
#include "expr/db_table.h"
#include "expr/db_tsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tova::TDBTable table("fuzz", 0);
    try {
        if (!tova::LoadTsvLines(table, tova::SplitTextLines(text))) return 0;
    } catch (const tova::ETovaError&) {
        return 0;
    }
    const int fields = table.Fields().Count();
    for (int32_t record = 0; record < table.RecordCount(); ++record)
        for (int field = 0; field < fields; ++field) {
            const tova::TDBFieldRef value = table.FieldAt(record, field);
            static_cast<void>(value.GetStr());
            static_cast<void>(value.GetInt());
        }
    tova::TTpMemoryStream saved;
    tova::SaveTable(saved, table);
    saved.SetPosition(0);
    const auto reloaded = tova::LoadTable(saved);
    tova::TTpMemoryStream resaved;
    tova::SaveTable(resaved, *reloaded);
    if (resaved.Bytes() != saved.Bytes()) std::abort();
    return 0;
}
