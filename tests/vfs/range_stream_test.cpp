#include "vfs/range_stream.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "core/error.h"
#include "platform/file_stream.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

using testing::TTempDir;

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i % 251);
    return bytes;
}

std::unique_ptr<TTpBigStream> MemoryOf(const std::vector<uint8_t>& bytes) {
    return std::make_unique<TTpBigMemoryStream>(bytes);
}

TEST(TRangeStreamTest, SeekOriginsAreClampedIntoTheRange) {
    TRangeStream range(MemoryOf(Pattern(100)), 20, 30);
    EXPECT_EQ(range.GetSize(), 30);
    EXPECT_EQ(range.GetPosition(), 0);
    EXPECT_EQ(range.Seek(5, TSeekOrigin::Beginning), 5);
    EXPECT_EQ(range.Seek(-10, TSeekOrigin::Beginning), 0);
    EXPECT_EQ(range.Seek(100, TSeekOrigin::Beginning), 30);
    EXPECT_EQ(range.Seek(-5, TSeekOrigin::End), 25);
    EXPECT_EQ(range.Seek(3, TSeekOrigin::Current), 28);
    EXPECT_EQ(range.Seek(5, TSeekOrigin::End), 30);
    EXPECT_EQ(range.Seek(-12, TSeekOrigin::Current), 18);
    EXPECT_EQ(range.Seek(99, static_cast<TSeekOrigin>(7)), 18);
    EXPECT_EQ(range.Seek(std::numeric_limits<int64_t>::max(), TSeekOrigin::End), 30);
    EXPECT_EQ(range.Seek(std::numeric_limits<int64_t>::min(), TSeekOrigin::Current), 0);
    EXPECT_EQ(range.Seek(std::numeric_limits<int64_t>::max(), TSeekOrigin::Current), 30);
}

TEST(TRangeStreamTest, ReadStopsAtTheEndOfTheRangeAndWriteDoesNothing) {
    const auto bytes = Pattern(100);
    TRangeStream range(MemoryOf(bytes), 20, 30);
    uint8_t got[100];
    EXPECT_EQ(range.Read(got, 4), 4);
    EXPECT_EQ(got[0], bytes[20]);
    range.Seek(25, TSeekOrigin::Beginning);
    ASSERT_EQ(range.Read(got, 100), 5);
    EXPECT_TRUE(std::equal(got, got + 5, bytes.begin() + 45));
    EXPECT_EQ(range.Read(got, 100), 0);
    EXPECT_EQ(range.Write(got, 10), 0);
    range.Seek(0, TSeekOrigin::Beginning);
    EXPECT_EQ(range.Read(got, 1), 1);
    EXPECT_EQ(got[0], bytes[20]);
}

TEST(TRangeStreamTest, LengthZeroTakesTheRestAndARangePastTheEndReadsNothing) {
    TRangeStream rest(MemoryOf(Pattern(100)), 20, 0);
    EXPECT_EQ(rest.GetSize(), 80);
    TRangeStream whole(MemoryOf(Pattern(100)), 0, 0);
    EXPECT_EQ(whole.GetSize(), 100);

    TRangeStream beyond(MemoryOf(Pattern(100)), 200, 10);
    uint8_t got[10];
    EXPECT_EQ(beyond.Read(got, 10), 0);
    EXPECT_THROW(TRangeStream(MemoryOf(Pattern(10)), -1, 5), ETovaError);
}

TEST(TFileRangeStreamTest, ReadsARegionOfASplitFileAcrossParts) {
    TTempDir dir;
    const auto bytes = Pattern(100);
    {
        TTpBigFileStream out(dir / "game.dat", fmCreate, 16);
        out.WriteBuffer(bytes);
    }
    TFileRangeStream range(dir / "game.dat", 10, 40, 16);
    std::vector<uint8_t> got(64);
    ASSERT_EQ(range.Read(got.data(), 64), 40);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 40, bytes.begin() + 10));
}

TEST(TFileRangeStreamTest, ThreadsReadTheirOwnStreamsOverOneFile) {
    TTempDir dir;
    const auto bytes = Pattern(200000);
    {
        TTpBigFileStream out(dir / "game.dat", fmCreate, 65536);
        out.WriteBuffer(bytes);
    }
    auto reader = [&](int64_t start, int64_t length, bool* ok) {
        TFileRangeStream range(dir / "game.dat", start, length, 65536);
        std::vector<uint8_t> got(static_cast<size_t>(length));
        for (int round = 0; round < 20; ++round) {
            range.Seek(0, TSeekOrigin::Beginning);
            int64_t done = 0;
            // Odd chunk sizes so reads land across part boundaries.
            for (int64_t n; (n = range.Read(got.data() + done, std::min<int64_t>(997, length - done))) > 0;)
                done += n;
            if (done != length || !std::equal(got.begin(), got.end(), bytes.begin() + start)) *ok = false;
        }
    };
    bool firstOk = true;
    bool secondOk = true;
    std::thread first(reader, 1000, 120000, &firstOk);
    std::thread second(reader, 60000, 139000, &secondOk);
    first.join();
    second.join();
    EXPECT_TRUE(firstOk);
    EXPECT_TRUE(secondOk);
}

TEST(TRangeStreamTest, ConcurrentReadsOfOneStreamTakeEveryByteOnce) {
    // Each byte value of the range occurs once, so two threads sharing the
    // stream must together see every value exactly once.
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    TRangeStream range(MemoryOf(bytes), 0, 256);
    std::vector<int> seen(256, 0);
    std::mutex seenLock;
    auto reader = [&] {
        uint8_t b;
        while (range.Read(&b, 1) == 1) {
            std::lock_guard guard(seenLock);
            ++seen[b];
        }
    };
    std::thread first(reader);
    std::thread second(reader);
    first.join();
    second.join();
    EXPECT_EQ(seen, std::vector<int>(256, 1));
}

TEST(TResourceRangeStreamTest, ReadsARegionOfAResource) {
    const auto bytes = Pattern(50);
    TResourceLocation location;
    location.memory = bytes.data();
    location.size = 50;
    TResourceRangeStream range(location, 40, 20);
    EXPECT_EQ(range.GetSize(), 20);
    uint8_t got[20];
    ASSERT_EQ(range.Read(got, 20), 10);
    EXPECT_TRUE(std::equal(got, got + 10, bytes.begin() + 40));
}

}  // namespace
}  // namespace tova
