#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace tova {
namespace {

TEST(HeadlessMessageBox, PrintsUtf8AndAnswersWithTheFirstButton) {
    THeadlessMessageBox box;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(box.Show(SysText("警告"), SysText("ファイルがありません"), TMessageButtons::Ok),
              TMessageResult::Ok);
    EXPECT_EQ(box.Show("Info", "quit?", TMessageButtons::OkCancel), TMessageResult::Ok);
    EXPECT_EQ(box.Show("Info", "save?", TMessageButtons::YesNo), TMessageResult::Yes);
    EXPECT_EQ(box.Show("Info", "save?", TMessageButtons::YesNoCancel), TMessageResult::Yes);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "警告: ファイルがありません\nInfo: quit?\nInfo: save?\nInfo: save?\n");
}

}  // namespace
}  // namespace tova
