#include <gtest/gtest.h>

#include "engine/project_setting.h"

namespace tova {
namespace {

TEST(FolderDiskList, FindsTheFileOrItsNearestListedFolder) {
    TFolderDiskList list;
    list.Items = {{"bgm", 2}, {"Movie\\OP\\", 3}, {"movie", 4}, {"a.tsc", 5}};
    EXPECT_EQ(list.Lookup("BGM\\track01.ogg"), 2);
    EXPECT_EQ(list.Lookup("bgm"), 2);
    EXPECT_EQ(list.Lookup("movie\\op\\intro\\x.mpg"), 3);  // the deepest folder is tried first
    EXPECT_EQ(list.Lookup("movie\\ed.mpg"), 4);
    EXPECT_EQ(list.Lookup("A.TSC"), 5);        // the name itself is a candidate
    EXPECT_EQ(list.Lookup("bgm2\\x.ogg"), 0);  // whole folder names only
    EXPECT_EQ(list.Lookup("se\\bgm"), 0);      // parents are cut from the end, never the start
    EXPECT_EQ(list.Lookup(""), 0);
    EXPECT_EQ(TFolderDiskList{}.Lookup("bgm\\x.ogg"), 0);

    list.Items.push_back({"BGM\\", 9});
    EXPECT_EQ(list.Lookup("bgm\\x.ogg"), 2);  // the first listed match wins
}

TEST(FolderDiskList, TrailBytesAreNeverDelimiters) {
    // 0x95 0x5C is one double-byte character whose trail byte has the value of '\'.
    TFolderDiskList list;
    list.Items = {{"\x95", 1}, {"\x95\x5C", 2}};
    EXPECT_EQ(list.Lookup("\x95\x5C\\a.ogg"), 2);
    EXPECT_EQ(list.Lookup("\x95\x5C"
                          "a.ogg"),
              0);

    // A folder ending in that character still gets its own trailing backslash.
    TFolderDiskList only;
    only.Items = {{"\x95\x5C", 7}};
    EXPECT_EQ(only.Lookup("\x95\x5C"), 7);
    EXPECT_EQ(only.Lookup("\x95"), 0);
}

}  // namespace
}  // namespace tova
