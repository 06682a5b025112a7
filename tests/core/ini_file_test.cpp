// INI files as Windows reads them, and writes that keep the rest of the file.
#include "core/ini_file.h"

#include <gtest/gtest.h>

namespace tova {
namespace {

TEST(IniFile, ReadsAsWindowsDoes) {
    const TIniFile ini(
        "; settings\r\n[Sound]\r\n  directsound = 0 \r\nDelayTime=\"$1F4\"\r\nDelayTime=100\r\n"
        "junk line\n[video]\nUseWMP=yes\nCount=-12\nBig=99999999999\n");
    EXPECT_EQ(ini.Read("SOUND", "DirectSound"), "0");
    EXPECT_FALSE(ini.ReadBool("Sound", "DirectSound", true));
    EXPECT_EQ(ini.ReadInteger("Sound", "DelayTime", 0), 500);  // the first of two keys, unquoted, hexadecimal
    EXPECT_EQ(ini.ReadInteger("Video", "Count", 0), -12);
    EXPECT_TRUE(ini.ReadBool("Video", "UseWMP", true));  // no integer: the fallback
    EXPECT_EQ(ini.ReadInteger("Video", "Big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Video", "Missing", 7), 7);
    EXPECT_FALSE(ini.Read("Other", "DirectSound"));
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    TIniFile ini("; mine\n[Sound]\nDIRECTSOUND=1\n\n[Video]\nUseWMP=0\n");
    ini.Write("sound", "DirectSound", "0");
    ini.Write("Sound", "DelayTime", "200");
    ini.Write("Extra", "Key", "v");
    EXPECT_EQ(ini.Text(),
              "; "
              "mine\r\n[Sound]\r\nDIRECTSOUND=0\r\nDelayTime=200\r\n\r\n[Video]\r\nUseWMP=0\r\n[Extra]"
              "\r\nKey=v\r\n");
    EXPECT_EQ(TIniFile(ini.Text()).ReadInteger("Sound", "DelayTime", 0), 200);
}

}  // namespace
}  // namespace tova
