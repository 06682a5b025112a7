#include "engine/command_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tova {
namespace {

TEST(CommandNames, ScriptNamesAreUniqueAndMapBothWays) {
    std::set<std::string_view> seen;
    for (int code = 0; code < kCommandCodeCount; ++code) {
        const auto c = static_cast<TCommandCode>(code);
        const std::string_view name = CommandScriptName(c);
        ASSERT_FALSE(name.empty()) << code;
        EXPECT_TRUE(seen.insert(name).second) << name;
        EXPECT_EQ(CommandCodeOfScriptName(name), c);
        EXPECT_FALSE(CommandDisplayName(c).empty());
    }
    EXPECT_EQ(CommandScriptName(TCommandCode::Button), "Button");
    EXPECT_EQ(CommandScriptName(TCommandCode::FormatHist), "FormatHist");
    EXPECT_EQ(CommandDisplayName(TCommandCode::LoadCabinet), "キャビネット復帰");
    EXPECT_EQ(CommandCodeOfScriptName("if"), std::nullopt);
    EXPECT_EQ(CommandCodeOfScriptName(""), std::nullopt);
    EXPECT_EQ(CommandScriptName(static_cast<TCommandCode>(61)), "");
}

}  // namespace
}  // namespace tova
