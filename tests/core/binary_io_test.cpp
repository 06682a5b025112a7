#include "core/binary_io.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace tova {
namespace {

TEST(BinaryIo, IntegersAreLittleEndian) {
    TTpMemoryStream s;
    WriteI16(s, -2);
    WriteI32(s, 0x12345678);
    WriteU32(s, 0xFFFFFFFFu);
    WriteI64(s, -0x123456789LL);
    WriteBool(s, true);
    WriteI8(s, -1);
    EXPECT_EQ(s.Bytes()[2], 0x78);
    EXPECT_EQ(s.Bytes()[5], 0x12);
    s.SetPosition(0);
    EXPECT_EQ(ReadI16(s), -2);
    EXPECT_EQ(ReadI32(s), 0x12345678);
    EXPECT_EQ(ReadU32(s), 0xFFFFFFFFu);
    EXPECT_EQ(ReadI64(s), -0x123456789LL);
    EXPECT_TRUE(ReadBool(s));
    EXPECT_EQ(ReadI8(s), -1);
    EXPECT_THROW(ReadU8(s), ETovaError);
}

TEST(BinaryIo, StringsHaveAnInt32LengthAndNoTerminator) {
    TTpMemoryStream s;
    WriteString(s, "ab");
    WriteString(s, "");
    EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{2, 0, 0, 0, 'a', 'b', 0, 0, 0, 0}));
    s.SetPosition(0);
    EXPECT_EQ(ReadString(s), "ab");
    EXPECT_EQ(ReadString(s), "");
}

TEST(BinaryIo, LengthsLargerThanWhatIsLeftAreRefusedBeforeAllocating) {
    for (int32_t length : {5, -1, 0x7FFFFFFF}) {
        TTpMemoryStream s;
        WriteI32(s, length);
        s.WriteBuffer("abcd", 4);
        s.SetPosition(0);
        EXPECT_THROW(ReadString(s), ETovaError) << length;
    }
    TTpMemoryStream s(std::vector<uint8_t>(3));
    EXPECT_THROW(ReadBytes(s, 4), ETovaError);
    EXPECT_EQ(ReadBytes(s, 3).size(), 3u);
}

TEST(MemoryStream, SeekSizeAndCopy) {
    TTpMemoryStream a;
    a.WriteBuffer("hello", 5);
    EXPECT_EQ(a.Seek(-2, TSeekOrigin::End), 3);
    EXPECT_EQ(a.Seek(-10, TSeekOrigin::Current), 0);
    a.SetPosition(8);
    a.WriteBuffer("!", 1);  // writing past the end fills the gap with zeros
    EXPECT_EQ(a.GetSize(), 9);
    EXPECT_EQ(a.Bytes()[6], 0);
    TTpMemoryStream b;
    EXPECT_EQ(b.CopyFrom(a, 0), 9);  // 0: the whole source from its start
    EXPECT_EQ(b.Bytes(), a.Bytes());
    a.SetSize(2);
    EXPECT_EQ(a.GetPosition(), 2);
    EXPECT_EQ(a.Remaining(), 0);
}

}  // namespace
}  // namespace tova
