// Feeds arbitrary bytes to the readers of the table database: the database
// section of the game save (flag 0) and of the status record (flag 1), and a
// single table. Whatever loads must save and load again to the same bytes,
// and every record must be readable field by field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/stream.h"
#include "expr/db_dump.h"
#include "expr/db_manager.h"
#include "expr/db_stored.h"

namespace {

void CheckReloads(const tova::TDBManager& db, uint8_t flag) {
    tova::TTpMemoryStream saved;
    db.SaveSection(saved, flag);
    saved.SetPosition(0);
    tova::TDBManager again;
    again.LoadSection(saved, flag);
    tova::TTpMemoryStream resaved;
    again.SaveSection(resaved, flag);
    if (resaved.Bytes() != saved.Bytes()) std::abort();
    std::string dump;
    tova::AppendDbTablesJson(dump, again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    for (const uint8_t flag : {uint8_t{0}, uint8_t{1}}) {
        try {
            tova::TDBManager db;
            tova::TTpMemoryStream stream(bytes);
            db.LoadSection(stream, flag);
            CheckReloads(db, flag);
        } catch (const tova::ETovaError&) {
        }
    }
    try {
        tova::TTpMemoryStream stream(bytes);
        tova::LoadTable(stream);
    } catch (const tova::ETovaError&) {
    }
    return 0;
}
