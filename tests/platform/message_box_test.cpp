#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/error.h"
#include "platform/message_gloss.h"

namespace tova {
namespace {

TEST(HeadlessMessageBox, PrintsUtf8AndAnswersWithTheFirstButton) {
    THeadlessMessageBox box;
    const std::string oldLocale = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
    const std::string oldLang = std::getenv("LANG") ? std::getenv("LANG") : "";
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(box.Show(SysText("警告"), SysText("ファイルがありません"), TMessageButtons::Ok),
              TMessageResult::Ok);
    EXPECT_EQ(box.Show("Info", "quit?", TMessageButtons::OkCancel), TMessageResult::Ok);
    EXPECT_EQ(box.Show("Info", "save?", TMessageButtons::YesNo), TMessageResult::Yes);
    EXPECT_EQ(box.Show("Info", "save?", TMessageButtons::YesNoCancel), TMessageResult::Yes);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "警告: ファイルがありません\nInfo: quit?\nInfo: save?\nInfo: save?\n");

    // Outside a Japanese locale the system's text gets a gloss; names before
    // or after it stay.
    for (const char* locale : {"C", "en_GB.UTF-8", ""}) {
        setenv("LC_ALL", locale, 1);
        setenv("LANG", "", 1);
        ::testing::internal::CaptureStderr();
        box.Show(SysText("警告"), SysText("tova.tpb:ファイルがありません"), TMessageButtons::Ok);
        box.Show(SysText("警告"), SysText("スタートページがありません: start.tsb"), TMessageButtons::Ok);
        box.Show("Info", "quit?", TMessageButtons::Ok);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "警告: tova.tpb:ファイルがありません (file not found)\n"
                  "警告: スタートページがありません: start.tsb (the start page does not exist)\n"
                  "Info: quit?\n")
            << locale;
    }
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "ja_JP", 1);
    EXPECT_TRUE(LocaleIsJapanese());
    unsetenv("LC_MESSAGES");
    oldLocale.empty() ? unsetenv("LC_ALL") : setenv("LC_ALL", oldLocale.c_str(), 1);
    oldLang.empty() ? unsetenv("LANG") : setenv("LANG", oldLang.c_str(), 1);
}

}  // namespace
}  // namespace tova
