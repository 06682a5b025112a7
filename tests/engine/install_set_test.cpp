// GCC 12 at -O3 reports -Wrestrict and -Wmaybe-uninitialized inside
// libstdc++'s inlined string code where string literals build strings here:
// reports of things that cannot happen (GCC bugs 105329 and 105562, fixed in
// GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "engine/install_set.h"

#include <gtest/gtest.h>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {
namespace {

// An install set of the given version written field by field, with every
// installer field filled, so that a reader that skips a field wrongly ends up
// somewhere else than at the end.
std::vector<uint8_t> HandWritten(int version, const std::string& title, bool dataInstalled, int rows = 2) {
    TTpMemoryStream s;
    if (version > 0) {
        const std::string digits = std::to_string(version);
        const std::string header = "is" + std::string(3 - digits.size(), '0') + digits;
        s.WriteBuffer(header.data(), 5);
    }
    WriteI32(s, 77);
    WriteString(s, title);
    WriteString(s, "C:\\Program Files\\Game");
    WriteString(s, "group");
    WriteString(s, "readme.txt");
    WriteU8(s, 1);
    WriteString(s, "setup");
    WriteU8(s, 1);
    WriteI32(s, rows);
    WriteString(s, "x");
    WriteI32(s, 5);
    WriteU8(s, 1);
    WriteU8(s, 0);
    WriteString(s, "yy");
    WriteString(s, "zzz");
    const int numbers = rows * 4 + 4;
    for (int i = 0; i < numbers; ++i) {
        if (version > 99)
            WriteI64(s, 1000 + i);
        else
            WriteI32(s, 1000 + i);
    }
    WriteU8(s, 1);
    if (version > 100) WriteU8(s, 1);
    if (version > 101) {
        WriteI32(s, 3);
        WriteString(s, "a");
        WriteString(s, "");
        WriteString(s, "b");
    }
    if (version > 102) WriteBool(s, dataInstalled);
    if (version > 103) WriteU8(s, 1);
    if (version > 104) WriteU8(s, 1);
    if (version > 105) {
        WriteI32(s, 2);
        WriteString(s, "k1");
        WriteString(s, "k2");
    }
    if (version > 106) WriteString(s, "icon");
    if (version > 107) {
        WriteString(s, "m1");
        WriteString(s, "m2");
    }
    return s.Bytes();
}

TTovaInstallSet Read(const std::vector<uint8_t>& bytes, int64_t* endPosition = nullptr) {
    TTpMemoryStream s(bytes);
    TTovaInstallSet set;
    set.LoadFromStream(s);
    if (endPosition) *endPosition = s.GetPosition();
    return set;
}

TEST(InstallSet, ReadsEveryVersionToItsEnd) {
    for (int version : {0, 1, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108}) {
        SCOPED_TRACE(version);
        const std::vector<uint8_t> bytes = HandWritten(version, "Game \x95\x5C", true);
        int64_t end = 0;
        const TTovaInstallSet set = Read(bytes, &end);
        EXPECT_EQ(set.Version, version);
        EXPECT_EQ(set.Title, "Game \x95\x5C");
        // The flag exists from version 103 on; older sets never count as installed.
        EXPECT_EQ(set.DataInstalled, version > 102);
        EXPECT_EQ(end, static_cast<int64_t>(bytes.size()));
    }
}

TEST(InstallSet, HeaderWithoutDigitsIsReadAsVersionZero) {
    // The first installer field of a header-less file happens to begin with "is".
    std::vector<uint8_t> bytes = HandWritten(0, "T", true);
    bytes[0] = 'i';
    bytes[1] = 's';
    bytes[2] = 'x';
    bytes[3] = '1';
    const TTovaInstallSet set = Read(bytes);
    EXPECT_EQ(set.Version, 0);
    EXPECT_EQ(set.Title, "T");
}

TEST(InstallSet, WriterRoundTrip) {
    for (bool installed : {false, true}) {
        TTovaInstallSet written;
        written.Version = 3;  // ignored: the writer always writes the current version
        written.Title = "\x83\x65\x83\x58\x83\x67";
        written.DataInstalled = installed;
        TTpMemoryStream s;
        written.SaveToStream(s);
        const std::vector<uint8_t>& bytes = s.Bytes();
        ASSERT_GE(bytes.size(), 5u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "is108");

        int64_t end = 0;
        const TTovaInstallSet read = Read(bytes, &end);
        EXPECT_EQ(read.Version, TTovaInstallSet::CurrentVersion);
        EXPECT_EQ(read.Title, written.Title);
        EXPECT_EQ(read.DataInstalled, installed);
        EXPECT_EQ(end, static_cast<int64_t>(bytes.size()));
    }
}

TEST(InstallSet, EveryTruncationFails) {
    TTovaInstallSet written;
    written.Title = "title";
    TTpMemoryStream out;
    written.SaveToStream(out);
    for (const std::vector<uint8_t>& full :
         {HandWritten(0, "t", true), HandWritten(99, "t", true), HandWritten(108, "t", true), out.Bytes()}) {
        for (size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            const std::vector<uint8_t> prefix(full.begin(),
                                              full.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_THROW(Read(prefix), ETovaError);
        }
    }
}

TEST(InstallSet, DamagedCountsFailAndKeepTheFields) {
    TTovaInstallSet set;
    set.Title = "before";
    {
        // The table's row count sits right after the first seven fields.
        std::vector<uint8_t> bytes = HandWritten(108, "t", true);
        const size_t rowsAt = 5 + 4 + (4 + 1) + (4 + 21) + (4 + 5) + (4 + 10) + 1 + (4 + 5) + 1;
        ASSERT_EQ(LoadLE32(&bytes[rowsAt]), 2u);
        bytes[rowsAt + 3] = 0x40;  // about a billion rows
        TTpMemoryStream s(bytes);
        EXPECT_THROW(set.LoadFromStream(s), ETovaError);
        bytes[rowsAt + 3] = 0xFF;  // negative
        TTpMemoryStream negative(bytes);
        EXPECT_THROW(set.LoadFromStream(negative), ETovaError);
    }
    {
        std::vector<uint8_t> bytes = HandWritten(102, "t", true);
        // The last field of version 102 is the list of three strings: make its count huge.
        const size_t countAt = bytes.size() - (5 + 4 + 5) - 4;
        ASSERT_EQ(LoadLE32(&bytes[countAt]), 3u);
        bytes[countAt + 2] = 0x7F;
        TTpMemoryStream s(bytes);
        EXPECT_THROW(set.LoadFromStream(s), ETovaError);
    }
    EXPECT_EQ(set.Title, "before");
    EXPECT_EQ(set.Version, 0);
}

}  // namespace
}  // namespace tova
