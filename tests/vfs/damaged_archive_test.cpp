// Damaged and truncated directories and entries: each must give a clear
// error naming the archive, never a crash or a read out of bounds.
#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "core/binary_io.h"
#include "core/error.h"
#include "support/temp_dir.h"
#include "vfs/file_collection.h"

namespace tova {
namespace {

using testing::ArchiveBytes;
using testing::TTempDir;
using testing::WriteBytes;

std::string OpenError(const std::vector<uint8_t>& bytes) {
    TTempDir dir;
    WriteBytes(dir / "game.dat", bytes);
    TVrFileCollection collection;
    try {
        collection.Open(FromHostPath(dir / "game.dat"));
    } catch (const ETovaError& e) {
        EXPECT_EQ(collection.Count(), 0);
        return e.what();
    }
    return "";
}

TEST(DamagedArchive, EveryTruncatedDirectoryIsRefused) {
    for (int version : {0, 100, 101, 102}) {
        int64_t tablesEnd = 0;
        const std::vector<uint8_t> whole = ArchiveBytes({{"a.txt", "alpha"}, {"b\\c.txt", "beta"}}, version, false, &tablesEnd);
        for (int64_t cut = 0; cut < tablesEnd; ++cut) {
            const std::string error = OpenError(std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
            EXPECT_NE(error.find("damaged archive"), std::string::npos) << "version " << version << " cut " << cut;
        }
    }
}

TEST(DamagedArchive, CountsAndLengthsLargerThanTheFileAreRefused) {
    std::vector<uint8_t> bytes = ArchiveBytes({{"a.txt", "alpha"}}, 0);
    bytes[0] = 0xFF;  // count 255 in a file that holds one name
    EXPECT_NE(OpenError(bytes).find("entries"), std::string::npos);
    bytes = ArchiveBytes({{"a.txt", "alpha"}}, 0);
    bytes[4] = 0x7F;  // name length far past the end
    EXPECT_NE(OpenError(bytes).find("damaged archive"), std::string::npos);
    bytes = ArchiveBytes({{"a.txt", "alpha"}}, 0);
    bytes[7] = 0x80;  // a negative name length
    EXPECT_NE(OpenError(bytes).find("damaged archive"), std::string::npos);
}

TEST(DamagedArchive, OffsetsOutOfOrderOrPastTheEndAreRefused) {
    // Version 0 keeps offsets plain: count, name record (4 + 1), then 3 offsets.
    const std::vector<uint8_t> good = ArchiveBytes({{"a", "alpha"}, {"b", "beta"}}, 0);
    const size_t offsets = 4 + 2 * 5;
    std::vector<uint8_t> bytes = good;
    bytes[offsets + 4] = 0;  // entry 1 starts at 0, before entry 0
    bytes[offsets + 5] = 0;
    EXPECT_NE(OpenError(bytes).find("out of order"), std::string::npos);
    bytes = good;
    bytes[offsets + 8 + 2] = 0x10;  // the end of the data far past the file
    EXPECT_NE(OpenError(bytes).find("outside the archive"), std::string::npos);
    bytes = good;
    bytes.insert(bytes.begin(), {'v', 'f', 103, 0, 0, 0});
    EXPECT_NE(OpenError(bytes).find("unknown directory version 103"), std::string::npos);
}

TEST(DamagedArchive, ADamagedZlibStreamNamesTheEntryAndTheArchive) {
    std::vector<uint8_t> bytes = ArchiveBytes({{"a.txt", std::string(200, 'a')}}, 0);
    bytes[bytes.size() - 5] ^= 0xFF;  // inside the deflate data or its checksum
    TTempDir dir;
    WriteBytes(dir / "game.dat", bytes);
    TVrFileCollection collection;
    collection.Open(FromHostPath(dir / "game.dat"));
    TTpMemoryStream out;
    try {
        collection.ReadEntry(out, "a.txt");
        FAIL() << "a damaged entry was read";
    } catch (const ETovaError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("'a.txt'"), std::string::npos) << what;
        EXPECT_NE(what.find("game.dat"), std::string::npos) << what;
    }
}

}  // namespace
}  // namespace tova
