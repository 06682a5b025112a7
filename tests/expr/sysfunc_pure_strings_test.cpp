#include <gtest/gtest.h>

#include <array>

#include "expr/sys_func_registry.h"
#include "expr/sys_function_table.h"
#include "support/bounded_child.h"
#include "sysfunc_pure_test_util.h"

namespace tova {
namespace {

using namespace tova::pure;
using test::BoolOf;
using test::ErrorOf;
using test::FloatOf;
using test::IntOf;
using test::StrOf;
using test::TVar;

TEST(SysFuncPureRegistry, EveryFunctionSitsAtTheIdOfItsName) {
    std::array<TSysFunctionImpl, kSysFunctionCount> table{};
    RegisterPureFunctions(table.data());
    // The neighbours of gaps in the id range, where an id is most easily off by one.
    const std::pair<std::string_view, TSysFunctionImpl> expected[] = {
        {"IntToHex", IntToHex},
        {"GetArraySize", GetArraySize},
        {"JTrim", JTrim},
        {"Not", Not},
        {"CopyMem", CopyMem},
        {"Random", Random},
        {"ArrayToString", ArrayToString},
        {"SortStr", SortStr},
        {"Int", Int},
        {"Hypot", Hypot},
        {"Abs", Abs},
        {"EncodeDate", EncodeDate},
        {"FixStr", FixStr},
        {"AddArray", AddArray},
        {"DeleteArray", DeleteArray},
        {"CopyArray", CopyArray},
        {"LowerCase", LowerCase},
        {"StringReplace", StringReplace},
        {"HanToZen", HanToZen},
        {"ZenToHan", ZenToHan},
        {"Min", Min},
        {"Fmax", Fmax},
        {"AddDelimiter", AddDelimiter},
        {"StrToIntDef", StrToIntDef},
        {"StrToFloatDef", StrToFloatDef},
        {"Chr", Chr},
        {"Ord", Ord},
    };
    for (const auto& [name, impl] : expected) {
        const TSysFunctionInfo* info = FindSysFunction(name);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_EQ(table[static_cast<size_t>(info->Id)], impl) << name;
    }
    int registered = 0;
    for (const TSysFunctionImpl impl : table)
        registered += impl != nullptr;
    EXPECT_EQ(registered, 78);
    // The functions that need more than their arguments are left to others.
    EXPECT_EQ(table[FindSysFunction("GetProp")->Id], nullptr);
    EXPECT_EQ(table[FindSysFunction("VarExists")->Id], nullptr);
}

TEST(SysFuncPureStrings, IntToStrPadsToTheDigitCount) {
    EXPECT_EQ(StrOf(IntToStr, {5, 3}), "005");
    EXPECT_EQ(StrOf(IntToStr, {-5, 3}), "-005");
    EXPECT_EQ(StrOf(IntToStr, {-2147483647 - 1, 12}), "-002147483648");
    // The digit count is read as text; a text that is no digit count gives no padding.
    EXPECT_EQ(StrOf(IntToStr, {7, "2"}), "07");
    EXPECT_EQ(StrOf(IntToStr, {7, "x"}), "7");
    EXPECT_EQ(StrOf(IntToStr, {7, 2.5}), "7");
    // A huge digit count is bounded instead of exhausting memory.
    EXPECT_EQ(StrOf(IntToStr, {1, 2000000000}).size(), 1024u);
}

TEST(SysFuncPureStrings, IntToHexIsUpperCaseTwosComplement) {
    EXPECT_EQ(StrOf(IntToHex, {255, 4}), "00FF");
    EXPECT_EQ(StrOf(IntToHex, {-1, 2}), "FFFFFFFF");
    EXPECT_EQ(StrOf(IntToHex, {0, -5}), "0");
}

TEST(SysFuncPureStrings, CopyClampsPositionAndCount) {
    EXPECT_EQ(StrOf(Copy, {"abcdef", 3}), "cdef");
    EXPECT_EQ(StrOf(Copy, {"abcdef", 2, 3}), "bcd");
    EXPECT_EQ(StrOf(Copy, {"abcdef", 0, 2}), "ab");
    EXPECT_EQ(StrOf(Copy, {"abcdef", 5, 100}), "ef");
    EXPECT_EQ(StrOf(Copy, {"abcdef", 2, -1}), "");
    // Copy counts bytes, so it may cut a double-byte character.
    EXPECT_EQ(StrOf(Copy, {test::Sys("表a"), 2}),
              "\x5C"
              "a");
}

TEST(SysFuncPureStrings, DeleteAndInsertWriteBackIntoTheVariable) {
    TVar s(PT_STR);
    s.Value().SetStr("abcdef");
    auto result = test::Invoke(Delete, PT_STR, {s, 2, 3});
    EXPECT_EQ(s.Value().GetStr(), "aef");
    EXPECT_EQ(result->GetStr(), "");
    test::Invoke(Delete, PT_STR, {s, 2});
    EXPECT_EQ(s.Value().GetStr(), "a");
    // Positions outside the text delete nothing.
    test::Invoke(Delete, PT_STR, {s, 0, 1});
    test::Invoke(Delete, PT_STR, {s, 2, 1});
    EXPECT_EQ(s.Value().GetStr(), "a");

    test::Invoke(Insert, PT_STR, {"XY", s, 1});
    EXPECT_EQ(s.Value().GetStr(), "XYa");
    test::Invoke(Insert, PT_STR, {"-", s, -4});
    EXPECT_EQ(s.Value().GetStr(), "-XYa");
    test::Invoke(Insert, PT_STR, {"!", s, 99});
    EXPECT_EQ(s.Value().GetStr(), "-XYa!");
}

TEST(SysFuncPureStrings, DeleteOnANumberVariableGoesThroughItsText) {
    TVar n(PT_INT);
    n.Value().SetInt(12345);
    test::Invoke(Delete, PT_STR, {n, 2, 2});
    EXPECT_EQ(n.Value().GetInt(), 145);
    // Nothing deleted: a float keeps its full precision.
    TVar f(PT_FLOAT);
    f.Value().SetFloat(1.0L / 3.0L);
    test::Invoke(Delete, PT_STR, {f, 40, 1});
    EXPECT_EQ(f.Value().GetFloat(), 1.0L / 3.0L);
}

TEST(SysFuncPureStrings, ComparisonsAndSearch) {
    EXPECT_LT(IntOf(CompareStr, {"B", "a"}), 0);
    EXPECT_GT(IntOf(CompareStr, {"ab", "a"}), 0);
    // Bytes compare unsigned: a double-byte character sorts after ASCII.
    EXPECT_GT(IntOf(CompareStr, {test::Sys("あ"), "z"}), 0);
    EXPECT_EQ(IntOf(CompareText, {"ABC", "abc"}), 0);
    EXPECT_GT(IntOf(CompareText, {"b", "A"}), 0);

    EXPECT_EQ(IntOf(Pos, {"c", "abc"}), 3);
    EXPECT_EQ(IntOf(Pos, {"x", "abc"}), 0);
    EXPECT_EQ(IntOf(Pos, {"", "abc"}), 0);
}

TEST(SysFuncPureStrings, TrimAndCase) {
    EXPECT_EQ(StrOf(Trim, {"\t\r\n  a b \x01"}), "a b");
    // Only half-width blanks and control codes: a full-width space stays.
    EXPECT_EQ(StrOf(Trim, {test::Sys("　a　")}), test::Sys("　a　"));
    // Folding never touches a trail byte ("ア" is 0x83 0x41, 'A').
    EXPECT_EQ(StrOf(LowerCase, {test::Sys("アBc")}), test::Sys("アbc"));
    EXPECT_EQ(StrOf(UpperCase, {test::Sys("ヂbC")}), test::Sys("ヂBC"));
}

TEST(SysFuncPureStrings, StringOfChar) {
    EXPECT_EQ(StrOf(StringOfChar, {"ab", 3}), "ababab");
    EXPECT_EQ(StrOf(StringOfChar, {"ab", -2}), "");
    EXPECT_FALSE(ErrorOf([] { StrOf(StringOfChar, {"abcd", 2000000000}); }).empty());
}

// Texts a script could ask for that no game needs: refused before they are
// built, so they cost neither time nor memory.
TEST(SysFuncPureStrings, HugeResultsAreRefusedBeforeTheyAreBuilt) {
    const testing::TChildResult result = testing::RunBounded(
        [] {
            const std::string mib(1 << 20, 'a');
            return !ErrorOf([] {
                        StrOf(StringOfChar, {"x", 2147483647});
                    }).empty() &&
                   StrOf(StringOfChar, {"x", 64 << 20}).size() == size_t{64} << 20 &&
                   !ErrorOf([] {
                        StrOf(StringOfChar, {"x", (64 << 20) + 1});
                    }).empty() &&
                   !ErrorOf([&] {
                        StrOf(StringReplace, {mib, "a", mib, true});
                    }).empty();
        },
        {.MaxResidentBytes = int64_t{768} << 20, .MaxTime = std::chrono::seconds(20)});
    EXPECT_TRUE(result.Passed()) << result.Describe();
}

TEST(SysFuncPureStrings, StringReplace) {
    EXPECT_EQ(StrOf(StringReplace, {"aaa", "a", "b"}), "baa");
    EXPECT_EQ(StrOf(StringReplace, {"aaa", "a", "b", true}), "bbb");
    EXPECT_EQ(StrOf(StringReplace, {"aAa", "A", "x", true, true}), "xxx");
    // The replacement is not searched again.
    EXPECT_EQ(StrOf(StringReplace, {"aa", "a", "aa", true}), "aaaa");
    EXPECT_EQ(StrOf(StringReplace, {"abc", "", "x", true}), "abc");
    EXPECT_EQ(StrOf(StringReplace, {"abab", "ab", "", true}), "");
    // A match never starts on a trail byte: "ソ" is 0x83 0x5C.
    EXPECT_EQ(StrOf(StringReplace, {test::Sys("ソ\\"), "\\", "/", true}), test::Sys("ソ/"));
}

TEST(SysFuncPureStrings, AddDelimiter) {
    EXPECT_EQ(StrOf(AddDelimiter, {",", ""}), "");
    EXPECT_EQ(StrOf(AddDelimiter, {",", "x"}), "x,");
}

TEST(SysFuncPureStrings, NumberParsingWithDefaults) {
    EXPECT_EQ(IntOf(StrToIntDef, {" -12", 7}), -12);
    EXPECT_EQ(IntOf(StrToIntDef, {"$FF", 7}), 255);
    EXPECT_EQ(IntOf(StrToIntDef, {"", 7}), 7);
    EXPECT_EQ(IntOf(StrToIntDef, {"2147483648", 7}), 7);
    EXPECT_EQ(FloatOf(StrToFloatDef, {"1.5e2", 0.5}), 150.0L);
    EXPECT_EQ(FloatOf(StrToFloatDef, {"1,5", 0.5}), 0.5L);
}

TEST(SysFuncPureStrings, ChrAndOrd) {
    EXPECT_EQ(StrOf(Chr, {0x141}), "A");
    EXPECT_EQ(StrOf(Chr, {0}), std::string(1, '\0'));
    EXPECT_EQ(IntOf(Ord, {"\xFF"}), 255);
    EXPECT_EQ(IntOf(Ord, {""}), 0);
}

TEST(SysFuncPurePaths, FoldersEndAtBackslashOrColonOnly) {
    EXPECT_EQ(StrOf(ExtractFilePath, {"c:\\data\\bg.png"}), "c:\\data\\");
    EXPECT_EQ(StrOf(ExtractFilePath, {"c:bg.png"}), "c:");
    EXPECT_EQ(StrOf(ExtractFilePath, {"data/bg.png"}), "");
    EXPECT_EQ(StrOf(ExtractFileName, {"data/bg.png"}), "data/bg.png");
    // "表" ends in 0x5C, which is no folder delimiter.
    EXPECT_EQ(StrOf(ExtractFilePath, {test::Sys("表\\表.txt")}), test::Sys("表\\"));
    EXPECT_EQ(StrOf(ExtractFileName, {test::Sys("表\\表.txt")}), test::Sys("表.txt"));
}

TEST(SysFuncPurePaths, Extensions) {
    EXPECT_EQ(StrOf(ExtractFileExt, {"a\\b.tar.gz"}), ".gz");
    EXPECT_EQ(StrOf(ExtractFileExt, {"a.dir\\file"}), "");
    EXPECT_EQ(StrOf(ChangeFileExt, {"a\\b.txt", ".dat"}), "a\\b.dat");
    EXPECT_EQ(StrOf(ChangeFileExt, {"a.dir\\b", ".dat"}), "a.dir\\b.dat");
}

TEST(SysFuncPurePaths, BackslashesAreCharactersNotTrailBytes) {
    const std::string table = test::Sys("表");  // 0x95 0x5C
    EXPECT_TRUE(BoolOf(IsPathDelimiter, {"a\\b", 2}));
    EXPECT_FALSE(BoolOf(IsPathDelimiter, {"a\\b", 1}));
    EXPECT_FALSE(BoolOf(IsPathDelimiter, {"a\\b", 4}));
    EXPECT_FALSE(BoolOf(IsPathDelimiter, {table, 2}));
    EXPECT_TRUE(BoolOf(IsPathDelimiter, {table + "\\", 3}));

    EXPECT_EQ(StrOf(AddBackSlash, {"dir\\"}), "dir\\");
    EXPECT_EQ(StrOf(AddBackSlash, {""}), "\\");
    EXPECT_EQ(StrOf(AddBackSlash, {table}), table + "\\");
}

}  // namespace
}  // namespace tova
