#include "vfs/packing_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "archive_fixture.h"
#include "core/binary_io.h"
#include "support/temp_dir.h"
#include "vfs/file_collection.h"
#include "vfs/zlib_codec.h"

namespace tova {
namespace {

using testing::TTempDir;

// Packs the named loose files of a folder and reads the result back.
class LoosePacking : public ::testing::Test {
protected:
    const TVrFile& Pack(const std::string& name, const std::string& content) {
        dir_.WriteFile(name, content);
        TVrFileCollection source;
        source.BaseDir = FromHostPath(dir_.Path()) + "/";
        source.AddFile(name);
        TTpBigMemoryStream out;
        source.SaveToStream(out);
        packed_ = std::make_unique<TVrFileCollection>();
        packed_->ArchiveStream = std::make_unique<TTpBigMemoryStream>(out.Memory().Bytes());
        packed_->ReadDirectory(*packed_->ArchiveStream);
        EXPECT_EQ(testing::ReadAll(*packed_, name), content);
        return *packed_->Find(name);
    }

    TTempDir dir_;
    std::unique_ptr<TVrFileCollection> packed_;
};

std::string Noise(size_t size) {
    std::mt19937 generator(1);
    std::string text(size, '\0');
    for (char& c : text) c = static_cast<char>(generator());
    return text;
}

TEST_F(LoosePacking, FilesBelowFiveMebibytesAreCompressed) {
    EXPECT_FALSE(Pack("just-below.txt", std::string(5242879, 'a')).Stored);
    EXPECT_TRUE(Pack("exactly-5mib.txt", std::string(5242880, 'a')).Stored);
}

TEST_F(LoosePacking, StreamedMediaAreStored) {
    for (const char* name : {"a.wav", "b.OGG", "c.mpeg", "d.m1v", "e.Dat", "f.wmv"})
        EXPECT_TRUE(Pack(name, std::string(1000, 'a')).Stored) << name;
    // The test is a substring test of ".WAV.WMA.OGG.MPG.MPEG.M1V.WMV.ASF.DAT.".
    EXPECT_TRUE(Pack("g.W", std::string(1000, 'a')).Stored);
    EXPECT_FALSE(Pack("h.txt", std::string(1000, 'a')).Stored);
    EXPECT_FALSE(Pack("noextension", std::string(1000, 'a')).Stored);
}

TEST_F(LoosePacking, ACompressedCopyLargerThanNineTenthsIsThrownAway) {
    const TVrFile& noise = Pack("noise.bin", Noise(10000));
    EXPECT_TRUE(noise.Stored);
    EXPECT_EQ(noise.Size, 10000);
    // The CRC of a stored file is over the file itself.
    EXPECT_EQ(noise.Crc, Crc32(std::span(reinterpret_cast<const uint8_t*>(Noise(10000).data()), 10000)));
    // Half noise, half zeros compresses to about half: kept.
    EXPECT_FALSE(Pack("half.bin", Noise(5000) + std::string(5000, '\0')).Stored);
}

std::string LayeredImage(const char* version, int headerLength, uint8_t compression) {
    std::string image = std::string("Brio") + version;
    TTpMemoryStream length;
    WriteI32(length, headerLength);
    image.append(length.Bytes().begin(), length.Bytes().end());
    std::string header(static_cast<size_t>(std::max(headerLength, 0)), '\0');
    if (headerLength > 22) header[22] = static_cast<char>(compression);
    return image + header + std::string(4000, 'i');
}

TEST_F(LoosePacking, LayeredImagesAreCompressedOnlyWhenTheirDataIsNot) {
    EXPECT_FALSE(Pack("raw.brz", LayeredImage("106", 40, 1)).Stored);
    EXPECT_TRUE(Pack("zlib.brz", LayeredImage("106", 40, 0)).Stored);
    EXPECT_TRUE(Pack("jpeg.BRZ", LayeredImage("103", 40, 2)).Stored);
    EXPECT_TRUE(Pack("old.brz", LayeredImage("102", 40, 1)).Stored);
    EXPECT_TRUE(Pack("short.brz", LayeredImage("106", 22, 1)).Stored);
    EXPECT_TRUE(Pack("other.brz", std::string(4000, 'x')).Stored);
}

TEST(PackingRules, MemoryEntriesFollowTheirCrcFlag) {
    TVrFileCollection source;
    TVrFile* plain = source.AddMemoryFile("plain.txt");
    plain->CrcOfPlain = true;
    plain->Data->WriteBuffer("hello hello hello", 17);
    TVrFile* packed = source.AddMemoryFile("packed.txt");
    packed->Data->WriteBuffer("hello hello hello", 17);
    packed->Age = 1234;
    TTpBigMemoryStream out;
    source.SaveToStream(out);
    TVrFileCollection read;
    read.ArchiveStream = std::make_unique<TTpBigMemoryStream>(out.Memory().Bytes());
    read.ReadDirectory(*read.ArchiveStream);
    EXPECT_EQ(read.Find("plain.txt")->Crc, Crc32(std::span(reinterpret_cast<const uint8_t*>("hello hello hello"), 17)));
    EXPECT_TRUE(read.Find("plain.txt")->CrcOfPlain);
    EXPECT_NE(read.Find("packed.txt")->Crc, read.Find("plain.txt")->Crc);
    EXPECT_EQ(read.Find("packed.txt")->Age, 1234);
    // Aborting from the progress event stops the save.
    source.OnProgress = [](TVrFileCollection&, TVrFile&, bool& abort, int, int index, int64_t) { abort = index == 1; };
    TTpBigMemoryStream aborted;
    EXPECT_FALSE(source.SaveToStream(aborted));
}

}  // namespace
}  // namespace tova
