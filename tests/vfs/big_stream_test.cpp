#include "vfs/big_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "support/read_only_folder.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

using testing::TTempDir;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed = 0) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + seed + i / 251);
    return bytes;
}

std::vector<uint8_t> ReadAll(TStream& stream, int64_t from, int64_t count) {
    stream.SetPosition(from);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    bytes.resize(static_cast<size_t>(stream.Read(bytes.data(), count)));
    return bytes;
}

// Writes bytes into a split file in pieces of the given size.
void WriteSplit(const std::string& path, const std::vector<uint8_t>& bytes, int64_t partSize, size_t piece) {
    TTpBigFileStream out(path, fmCreate, partSize);
    for (size_t at = 0; at < bytes.size(); at += piece) {
        const size_t n = std::min(piece, bytes.size() - at);
        ASSERT_EQ(out.Write(bytes.data() + at, static_cast<int64_t>(n)), static_cast<int64_t>(n));
    }
}

TEST(TTpBigFileStreamTest, PartNamesReplaceTheExtensionOfTheLastComponent) {
    EXPECT_EQ(TTpBigFileStream::PartName("game.dat", 0), "game.dat");
    EXPECT_EQ(TTpBigFileStream::PartName("game.dat", 2), "game.002");
    EXPECT_EQ(TTpBigFileStream::PartName("C:\\data.v1\\game", 1), "C:\\data.v1\\game.001");
    EXPECT_EQ(TTpBigFileStream::PartName("/tmp/x.d/arc.tar.dat", 12), "/tmp/x.d/arc.tar.012");
    EXPECT_EQ(TTpBigFileStream::PartName("save.dat", 1000), "save.1000");
    // 0x95 0x5C is one double-byte character whose trail byte is '\'.
    EXPECT_EQ(TTpBigFileStream::PartName("a.b\x95\x5C", 1), "a.001");
}

TEST(TTpBigFileStreamTest, WritesAndReadsAcrossPartBoundaries) {
    TTempDir dir;
    const std::string path = dir / "game.dat";
    const auto bytes = Pattern(100);
    WriteSplit(path, bytes, 16, 7);

    for (int part = 0; part < 6; ++part)
        EXPECT_EQ(FileSize(TTpBigFileStream::PartName(path, part)), 16) << part;
    EXPECT_EQ(FileSize(dir / "game.006"), 4);
    EXPECT_FALSE(FileExists(dir / "game.007"));

    TTpBigFileStream in(path, fmOpenRead | fmShareDenyWrite, 16);
    EXPECT_EQ(in.PartCount(), 7);
    EXPECT_EQ(in.GetSize(), 100);
    EXPECT_EQ(ReadAll(in, 10, 50), std::vector<uint8_t>(bytes.begin() + 10, bytes.begin() + 60));
    EXPECT_EQ(in.GetPositionBig(), 60);
    // A read that runs off the end is short and stops at the end.
    EXPECT_EQ(ReadAll(in, 90, 40), std::vector<uint8_t>(bytes.begin() + 90, bytes.end()));
    EXPECT_EQ(in.GetPositionBig(), 100);
    in.SetPositionBig(1000);
    EXPECT_EQ(in.GetPositionBig(), 100);
    EXPECT_EQ(in.Seek(-4, TSeekOrigin::End), 96);
    EXPECT_EQ(in.Seek(-500, TSeekOrigin::Current), 0);
}

TEST(TTpBigFileStreamTest, ReadingOpensPartsUntilOneIsMissing) {
    TTempDir dir;
    dir.WriteFile("game.dat", std::string(16, 'a'));
    dir.WriteFile("game.001", "bb");
    dir.WriteFile("game.003", "dd");
    TTpBigFileStream in(dir / "game.dat", fmOpenRead, 16);
    EXPECT_EQ(in.PartCount(), 2);
    EXPECT_EQ(in.GetSize(), 18);
}

TEST(TTpBigFileStreamTest, CreatingDeletesStaleParts) {
    TTempDir dir;
    const std::string path = dir / "game.dat";
    WriteSplit(path, Pattern(100), 16, 100);
    const auto shorter = Pattern(20, 3);
    WriteSplit(path, shorter, 16, 20);
    EXPECT_FALSE(FileExists(dir / "game.002"));
    EXPECT_FALSE(FileExists(dir / "game.006"));

    // Write-only mode replaces the file just like create.
    {
        TTpBigFileStream out(path, fmOpenWrite, 16);
        EXPECT_EQ(out.GetSize(), 0);
    }
    EXPECT_FALSE(FileExists(dir / "game.001"));
    WriteSplit(path, shorter, 16, 20);
    TTpBigFileStream in(path, fmOpenRead, 16);
    EXPECT_EQ(ReadAll(in, 0, 100), shorter);
}

TEST(TTpBigFileStreamTest, ReadWriteModeOverwritesAcrossABoundaryAndAppendsParts) {
    TTempDir dir;
    const std::string path = dir / "game.dat";
    auto bytes = Pattern(32);
    WriteSplit(path, bytes, 16, 32);
    const uint8_t patch[4] = {0xA0, 0xA1, 0xA2, 0xA3};
    {
        TTpBigFileStream rw(path, fmOpenReadWrite, 16);
        rw.SetPositionBig(14);
        EXPECT_EQ(rw.Write(patch, 4), 4);
        // At the end of the last full part a new part is created.
        rw.SetPositionBig(rw.GetSize());
        EXPECT_EQ(rw.Write(patch, 4), 4);
        EXPECT_EQ(rw.PartCount(), 3);
    }
    std::copy_n(patch, 4, bytes.begin() + 14);
    bytes.insert(bytes.end(), patch, patch + 4);
    TTpBigFileStream in(path, fmOpenRead, 16);
    EXPECT_EQ(ReadAll(in, 0, 100), bytes);
}

TEST(TTpBigFileStreamTest, ReadOnlyStreamWritesNothingAndMissingFileThrows) {
    TTempDir dir;
    dir.WriteFile("a.dat", std::string(16, 'a'));
    TTpBigFileStream in(dir / "a.dat", fmOpenRead, 16);
    in.SetPositionBig(16);
    EXPECT_EQ(in.Write("x", 1), 0);
    EXPECT_FALSE(FileExists(dir / "a.001"));
    EXPECT_THROW(TTpBigFileStream(dir / "missing.dat", fmOpenRead), ETovaError);
}

TEST(TTpBigFileStreamTest, CopiesBetweenSplitFilesOfDifferentPartSizes) {
    TTempDir dir;
    const auto bytes = Pattern(100);
    WriteSplit(dir / "src.dat", bytes, 16, 100);
    TTpBigFileStream source(dir / "src.dat", fmOpenRead, 16);
    {
        TTpBigFileStream whole(dir / "whole.dat", fmCreate, 10);
        source.SetPositionBig(50);  // count 0 copies from position 0 regardless
        EXPECT_EQ(whole.CopyFromBig(source, 0), 100);
        EXPECT_EQ(whole.PartCount(), 10);
    }
    {
        TTpBigFileStream part(dir / "part.dat", fmCreate, 7);
        source.SetPositionBig(5);
        EXPECT_EQ(part.CopyFromBig(source, 40), 40);
        EXPECT_EQ(source.GetPositionBig(), 45);
        // More than the source has left is an error, not a short copy.
        EXPECT_THROW(part.CopyFromBig(source, 56), ETovaError);
    }
    TTpBigFileStream whole(dir / "whole.dat", fmOpenRead, 10);
    EXPECT_EQ(ReadAll(whole, 0, 200), bytes);
    TTpBigFileStream part(dir / "part.dat", fmOpenRead, 7);
    EXPECT_EQ(ReadAll(part, 0, 40), std::vector<uint8_t>(bytes.begin() + 5, bytes.begin() + 45));
}

TEST(TTpBigFileStreamTest, CopiesFromOtherStreamsThroughTheBufferAndCopiesOut) {
    TTempDir dir;
    // Larger than the 1 MiB copy buffer, with parts that do not divide it.
    const auto bytes = Pattern((3 << 20) + 5);
    TTpBigMemoryStream memory(bytes);
    {
        TTpBigFileStream out(dir / "big.dat", fmCreate, (1 << 20) + 3);
        EXPECT_EQ(out.CopyFromBig(memory, 0), static_cast<int64_t>(bytes.size()));
        EXPECT_EQ(out.PartCount(), 3);
    }
    TTpBigFileStream in(dir / "big.dat", fmOpenRead, (1 << 20) + 3);
    TTpMemoryStream copy;
    in.SetPositionBig(1);
    EXPECT_EQ(in.CopyTo(copy, static_cast<int64_t>(bytes.size()) - 1),
              static_cast<int64_t>(bytes.size()) - 1);
    EXPECT_TRUE(std::equal(copy.Bytes().begin(), copy.Bytes().end(), bytes.begin() + 1));
    in.SetPositionBig(10);
    EXPECT_THROW(in.CopyTo(copy, static_cast<int64_t>(bytes.size())), ETovaError);
}

TEST(TTpBigMemoryStreamTest, SavesAndLoadsAndKeepsTheOldFileWhenSavingFails) {
    TTempDir dir;
    const std::string path = dir / "save.dat";
    TTpBigMemoryStream first(Pattern(1000));
    first.SaveToFile(path);
    TTpBigMemoryStream second(Pattern(10, 9));
    second.SaveToFile(path);
    EXPECT_FALSE(FileExists(path + ".$$$"));

    TTpBigMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Memory().Bytes(), Pattern(10, 9));
    EXPECT_EQ(loaded.GetPositionBig(), 0);

    // The temporary file cannot be created: the saved file stays as it was.
    {
        testing::TReadOnlyFolder readOnly(dir.Path());
        EXPECT_THROW(first.SaveToFile(path), ETovaError);
    }
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Memory().Bytes(), Pattern(10, 9));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary left";
}

// Links planted where the writers used to put fixed names (and where a
// split file's parts go) point at a file of the user's: it stays byte for
// byte, and the links are never written through.
TEST(BigStreamWriters, NeverWriteThroughALinkInTheirWay) {
    TTempDir dir, outside;
    const std::string victim = outside / "precious";
    const std::string content = "the user's own bytes";
    outside.WriteFile("precious", content);
    const auto victimIntact = [&] {
        std::ifstream in(victim, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {}) == content;
    };

    std::filesystem::create_symlink(victim, dir / "save.dat.$$$");
    TTpBigMemoryStream(Pattern(5000)).SaveToFile(dir / "save.dat");
    EXPECT_TRUE(victimIntact());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "save.dat.$$$"));
    TTpBigMemoryStream loaded;
    loaded.LoadFromFile(dir / "save.dat");
    EXPECT_EQ(loaded.Memory().Bytes(), Pattern(5000));

    // A split file: a link on part 0 is replaced, one on a later part that
    // points nowhere (so it is no stale part) stops the write.
    std::filesystem::create_symlink(victim, dir / "game.dat");
    std::filesystem::create_symlink(outside / "made", dir / "game.001");
    {
        TTpBigFileStream out(dir / "game.dat", fmCreate, 16);
        out.WriteBuffer(Pattern(16));
        EXPECT_THROW(out.WriteBuffer(Pattern(16)), ETovaError);
    }
    EXPECT_TRUE(victimIntact());
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "game.dat"));
    EXPECT_FALSE(std::filesystem::exists(outside / "made"));
}

TEST(TTpBigResourceStreamTest, ReadsMemoryAndFileRegionsReadOnly) {
    const auto bytes = Pattern(64);
    TResourceLocation inMemory;
    inMemory.memory = bytes.data();
    inMemory.size = 64;
    TTpBigResourceStream memory(inMemory, "LOGO", "DATA");
    EXPECT_EQ(memory.GetSize(), 64);
    EXPECT_EQ(ReadAll(memory, 60, 10), std::vector<uint8_t>(bytes.begin() + 60, bytes.end()));
    memory.SetPositionBig(100);
    EXPECT_EQ(memory.GetPositionBig(), 64);
    EXPECT_EQ(memory.Write("x", 1), 0);

    TTempDir dir;
    dir.WriteFile("mod.exe", std::string(bytes.begin(), bytes.end()));
    TResourceLocation inFile;
    inFile.fileName = dir / "mod.exe";
    inFile.offset = 5;
    inFile.size = 10;
    TTpBigResourceStream file(inFile, "DUMMY", "BINTYPE");
    EXPECT_EQ(ReadAll(file, 0, 100), std::vector<uint8_t>(bytes.begin() + 5, bytes.begin() + 15));
    EXPECT_EQ(file.ResName(), "DUMMY");
}

TEST(TTpBuffBigStreamTest, StepsTheStreamBackToWhatWasTaken) {
    const auto bytes = Pattern(300000);
    TTpBigMemoryStream stream(bytes);
    stream.SetPositionBig(7);
    {
        TTpBuffBigStream buffered(stream);
        std::vector<uint8_t> got(10);
        EXPECT_EQ(buffered.Read(got.data(), 10), 10);
        EXPECT_EQ(got, std::vector<uint8_t>(bytes.begin() + 7, bytes.begin() + 17));
        EXPECT_EQ(buffered.Seek(0, TSeekOrigin::Current), 17);
        EXPECT_GT(stream.GetPositionBig(), 17);  // it did read ahead
        // Back inside the buffered window, and a read larger than the buffer.
        EXPECT_EQ(buffered.Seek(8, TSeekOrigin::Beginning), 8);
        got.resize(200000);
        EXPECT_EQ(buffered.Read(got.data(), 200000), 200000);
        EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + 8));
        EXPECT_EQ(buffered.Seek(0, TSeekOrigin::Current), 200008);
        // Outside the window: dropped and refilled from the new place.
        EXPECT_EQ(buffered.Seek(3, TSeekOrigin::Beginning), 3);
        got.resize(5);
        EXPECT_EQ(buffered.Read(got.data(), 5), 5);
        EXPECT_EQ(got, std::vector<uint8_t>(bytes.begin() + 3, bytes.begin() + 8));
    }
    EXPECT_EQ(stream.GetPositionBig(), 8);
}

}  // namespace
}  // namespace tova
