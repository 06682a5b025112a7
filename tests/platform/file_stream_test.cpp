#include "platform/file_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/error.h"
#include "support/temp_dir.h"

namespace tova {
namespace {

using testing::TTempDir;

std::string ReadAll(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string OpenError(const std::string& programPath, unsigned mode) {
    try {
        TFileStream stream(programPath, mode);
    } catch (const ETovaError& e) {
        return e.what();
    }
    return "";
}

TEST(FileStream, RoundTripsSizesAndPositions) {
    TTempDir dir;
    dir.WriteFile("Save/keep.txt");
    const std::string name = dir.Path() + "\\SAVE\\Data.bin";
    {
        TFileStream stream(name, fmCreate);
        EXPECT_EQ(stream.HostPath(), dir / "Save/Data.bin");
        stream.WriteBuffer("hello world", 11);
        EXPECT_EQ(stream.GetSize(), 11);
        EXPECT_EQ(stream.Seek(-5, TSeekOrigin::End), 6);
        char word[5];
        stream.ReadBuffer(word, 5);
        EXPECT_EQ(std::string(word, 5), "world");
        EXPECT_EQ(stream.Read(word, 5), 0);

        stream.SetSize(5);  // the position past the new end moves to it
        EXPECT_EQ(stream.GetPosition(), 5);
        stream.SetSize(8);  // growing fills with zeros and keeps the position
        EXPECT_EQ(stream.GetPosition(), 5);
        EXPECT_EQ(stream.GetSize(), 8);
        stream.Flush();
        EXPECT_THROW(stream.Seek(-1, TSeekOrigin::Beginning), ETovaError);
        EXPECT_THROW(stream.SetSize(-1), ETovaError);
    }
    EXPECT_EQ(ReadAll(dir / "Save/Data.bin"), std::string("hello\0\0\0", 8));

    TFileStream reader(dir.Path() + "/save/DATA.BIN", fmOpenRead | fmShareDenyWrite);
    std::string content(16, '?');
    EXPECT_EQ(reader.Read(content.data(), 16), 8);
    EXPECT_THROW(reader.Write("x", 1), ETovaError);

    // Write-only and read-write opens change the file in place.
    {
        TFileStream writer(name, fmOpenWrite);
        writer.Seek(0, TSeekOrigin::End);
        writer.WriteBuffer("!", 1);
    }
    EXPECT_EQ(ReadAll(dir / "Save/Data.bin"), std::string("hello\0\0\0!", 9));

    // Creating again truncates.
    TFileStream(name, fmCreate).WriteBuffer("ab", 2);
    EXPECT_EQ(ReadAll(dir / "Save/Data.bin"), "ab");
}

TEST(FileStream, OpenFailuresNameTheFile) {
    TTempDir dir;
    const std::string missing = dir.Path() + "\\missing.bin";
    EXPECT_EQ(OpenError(missing, fmOpenRead),
              "cannot open file '" + missing + "': No such file or directory");
    EXPECT_EQ(OpenError(missing, fmOpenReadWrite),
              "cannot open file '" + missing + "': No such file or directory");
    EXPECT_EQ(OpenError(dir.Path(), fmOpenRead), "cannot open file '" + dir.Path() + "': Is a directory");
    const std::string noDir = dir.Path() + "\\no\\such\\dir.bin";
    EXPECT_EQ(OpenError(noDir, fmCreate), "cannot open file '" + noDir + "': No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.bin"));

    // The message carries the program's own spelling, code page 932 in
    // Message() and UTF-8 in what().
    const std::string japanese = dir.Path() + "\\\x83\x65\x83\x58\x83\x67";
    try {
        TFileStream stream(japanese, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const ETovaError& e) {
        EXPECT_EQ(e.Message(), "cannot open file '" + japanese + "': No such file or directory");
        EXPECT_NE(std::string(e.what()).find("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"), std::string::npos);
    }
}

TEST(FileStream, ExclusiveOpensExcludeEachOtherButNotReaders) {
    TTempDir dir;
    dir.WriteFile("save.dat", "keep");
    const std::string name = dir.Path() + "\\SAVE.DAT";
    {
        TFileStream owner(name, fmOpenReadWrite | fmShareExclusive);
        EXPECT_NE(OpenError(name, fmOpenReadWrite | fmShareExclusive).find("in use by another program"),
                  std::string::npos);
        // A refused exclusive create must not truncate the holder's file.
        EXPECT_NE(OpenError(name, fmCreate | fmShareExclusive), "");
        EXPECT_EQ(ReadAll(dir / "save.dat"), "keep");
        EXPECT_EQ(OpenError(name, fmOpenRead | fmShareDenyWrite), "");
        EXPECT_EQ(OpenError(name, fmOpenRead), "");
    }
    EXPECT_EQ(OpenError(name, fmOpenReadWrite | fmShareExclusive), "");
}

}  // namespace
}  // namespace tova
