#include "vfs/zlib_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "core/error.h"

namespace tova {
namespace {

// Varied but compressible bytes.
std::vector<uint8_t> Sample(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t x = 12345;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245 + 12345;
        bytes[i] = static_cast<uint8_t>((x >> 16) % 17 + 'a');
    }
    return bytes;
}

std::string ErrorOf(std::span<const uint8_t> packed, int64_t maxSize = kMaxInflatedSize) {
    try {
        InflateBytes(packed, maxSize);
    } catch (const ETovaError& e) {
        return e.what();
    }
    return "";
}

TEST(ZlibCodecTest, RoundTripsAcrossInflateChunks) {
    for (const size_t size : {size_t{0}, size_t{1}, size_t{999999}, size_t{3000001}}) {
        const auto plain = Sample(size);
        EXPECT_EQ(InflateBytes(DeflateBytes(plain)), plain) << size;
    }
    // Highly compressible: the output outgrows every guess from the input size.
    const std::vector<uint8_t> zeros(5 << 20, 0);
    const auto packed = DeflateBytes(zeros);
    EXPECT_LT(packed.size(), size_t{100000});
    EXPECT_EQ(InflateBytes(packed), zeros);
}

TEST(ZlibCodecTest, WritesTheStandardFormatAtTheFastestLevel) {
    const auto plain = Sample(10000);
    const auto packed = DeflateBytes(plain);
    ASSERT_GE(packed.size(), 2u);
    EXPECT_EQ(packed[0], 0x78);
    EXPECT_EQ(packed[1], 0x01);
    std::vector<uint8_t> back(plain.size());
    uLongf backSize = back.size();
    ASSERT_EQ(uncompress(back.data(), &backSize, packed.data(), packed.size()), Z_OK);
    EXPECT_EQ(back, plain);
}

TEST(ZlibCodecTest, DamagedOrTruncatedStreamsThrow) {
    const auto packed = DeflateBytes(Sample(50000));
    auto cut = packed;
    cut.resize(packed.size() - 10);
    EXPECT_EQ(ErrorOf(cut).rfind("damaged zlib stream: ", 0), 0u) << ErrorOf(cut);
    EXPECT_NE(ErrorOf(std::span(packed.data(), 1)), "");
    EXPECT_NE(ErrorOf({}), "");

    auto badHeader = packed;
    badHeader[0] = 0x77;
    EXPECT_EQ(ErrorOf(badHeader).rfind("damaged zlib stream: ", 0), 0u);
    auto badCheck = packed;
    badCheck.back() ^= 0x55;
    EXPECT_NE(ErrorOf(badCheck).find("incorrect data check"), std::string::npos) << ErrorOf(badCheck);

    // A stream that needs a preset dictionary cannot be read.
    z_stream zs{};
    ASSERT_EQ(deflateInit(&zs, Z_BEST_SPEED), Z_OK);
    const Bytef dictionary[] = "abcdefghijklmnopq";
    deflateSetDictionary(&zs, dictionary, sizeof dictionary);
    auto plain = Sample(1000);
    std::vector<uint8_t> withDictionary(2000);
    zs.next_in = plain.data();
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = withDictionary.data();
    zs.avail_out = static_cast<uInt>(withDictionary.size());
    ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    withDictionary.resize(zs.total_out);
    deflateEnd(&zs);
    EXPECT_EQ(ErrorOf(withDictionary).rfind("damaged zlib stream: ", 0), 0u);
}

TEST(ZlibCodecTest, OutputIsBounded) {
    const auto packed = DeflateBytes(std::vector<uint8_t>(1000, 7));
    EXPECT_EQ(ErrorOf(packed, 999), "entry inflates to more than 999 bytes");
    EXPECT_EQ(InflateBytes(packed, 1000).size(), 1000u);
    EXPECT_EQ(ErrorOf(packed, 0), "entry inflates to more than 0 bytes");
    EXPECT_TRUE(InflateBytes(DeflateBytes({}), 0).empty());
    // A small bomb stops at the bound instead of inflating everything.
    const auto bomb = DeflateBytes(std::vector<uint8_t>(64 << 20, 0));
    EXPECT_EQ(ErrorOf(bomb, 3 << 20), "entry inflates to more than 3145728 bytes");
}

// Fed in pieces of any size (one byte at a time, so zlib often has plain
// bytes pending when the input runs out), the piece inflater gives what the
// whole-buffer inflate gives, in pieces no larger than its own; it fails a
// stream cut short or damaged the same way.
TEST(ZlibCodecTest, PiecesAgreeWithTheWholeBuffer) {
    const auto plain = Sample(3000001);
    auto packed = DeflateBytes(plain);
    packed.push_back(0xEE);  // after the end: ignored, as the whole-buffer inflate does
    const auto inflate = [](std::span<const uint8_t> input, size_t step, TPieceInflater& inflater) {
        std::vector<uint8_t> out;
        const TPieceSink sink = [&](std::span<const uint8_t> piece) {
            EXPECT_LE(piece.size(), TPieceInflater::kPieceSize);
            out.insert(out.end(), piece.begin(), piece.end());
        };
        for (size_t at = 0; at < input.size(); at += step)
            inflater.Feed(input.subspan(at, std::min(step, input.size() - at)), sink);
        inflater.Finish();
        return out;
    };
    TPieceInflater inflater;
    EXPECT_EQ(inflate(packed, 1, inflater), plain);
    inflater.Reset();
    EXPECT_EQ(inflate(packed, packed.size(), inflater), plain);
    inflater.Reset();
    const auto zeros = std::vector<uint8_t>(5 << 20, 0);
    EXPECT_EQ(inflate(DeflateBytes(zeros), 7, inflater), zeros);

    inflater.Reset();
    EXPECT_THROW(inflate(std::span(packed).first(packed.size() / 2), 1000, inflater), ETovaError);
    inflater.Reset();
    auto damaged = packed;
    damaged[packed.size() - 3] ^= 0x55;  // the check value
    EXPECT_THROW(inflate(damaged, 4096, inflater), ETovaError);
}

TEST(ZlibCodecTest, InflatesAMemoryStreamInPlace) {
    const auto plain = Sample(4321);
    TTpMemoryStream stream(DeflateBytes(plain));
    stream.SetPosition(3);
    InflateInPlace(stream);
    EXPECT_EQ(stream.Bytes(), plain);
    EXPECT_EQ(stream.GetPosition(), 0);
}

TEST(ZlibCodecTest, Crc32IsTheStandardOneOverTheWholeStream) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(std::span(reinterpret_cast<const uint8_t*>(check.data()), check.size())), 0xCBF43926u);
    const auto bytes = Sample((5 << 19) + 3);  // 2.5 MiB and a bit: several chunks
    TTpMemoryStream stream(bytes);
    stream.SetPosition(1000);
    EXPECT_EQ(Crc32OfStream(stream), Crc32(bytes));
    TTpMemoryStream empty;
    EXPECT_EQ(Crc32OfStream(empty), 0u);
}

}  // namespace
}  // namespace tova
