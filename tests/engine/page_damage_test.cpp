// Damaged and truncated page files: every one fails with a clear error and
// leaves the page empty.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/error.h"
#include "engine/command_flow.h"
#include "engine/page.h"
#include "engine/page_test_bytes.h"

namespace tova {
namespace {

using test::MaskOf;
using test::TPageBytes;

// Loads bytes into a page that had a command before; returns the error text.
std::string LoadError(const std::vector<uint8_t>& bytes) {
    TPage page;
    page.Commands.push_back(CreateCommand(page, 2));
    TTpMemoryStream stream(bytes);
    try {
        page.LoadFromStream(stream);
    } catch (const ETovaError& e) {
        EXPECT_EQ(page.Count(), 0);
        return e.Message();
    }
    ADD_FAILURE() << "loaded without an error";
    return {};
}

std::vector<uint8_t> SmallPage() {
    std::vector<TPropertyMask> masks(kCommandCodeCount);
    masks[8] = MaskOf({0, 5});
    TPageBytes bytes(114, masks);
    bytes.Count(4);
    bytes.Command(5);  // Call with two arguments
    bytes.Str("sub.tsb");
    bytes.I32(3);
    bytes.Str("r");
    bytes.Expr("1");
    bytes.I32(2);
    bytes.Expr("\"a\"");
    bytes.Expr("x + 1");
    bytes.Command(8);  // BoxNew
    bytes.Expr("\"box\"");
    bytes.Expr("100");
    bytes.Command(20);  // TextIns
    bytes.Str("abc");
    bytes.Expr("\"mes\"");
    bytes.Expr("1");
    bytes.Expr("0");
    bytes.Expr("0");
    bytes.Command(2);  // Else: nothing after the common fields
    return bytes.Bytes();
}

TEST(PageDamage, EveryTruncationFailsCleanly) {
    const std::vector<uint8_t> whole = SmallPage();
    {
        TPage page;
        TTpMemoryStream stream(whole);
        page.LoadFromStream(stream);
        ASSERT_EQ(page.Count(), 4);
    }
    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        LoadError(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

TEST(PageDamage, UnknownCodesFailTheLoad) {
    for (int code : {61, 100, 127, 128 + 61, 255}) {
        SCOPED_TRACE(code);
        TPageBytes bytes(114);
        bytes.Count(2);
        bytes.Command(2);
        bytes.Command(static_cast<uint8_t>(code));
        // The message says where: page (unnamed here) and command.
        EXPECT_EQ(LoadError(bytes.Bytes()), SysText("damaged page, command 2 of 2: 不正なコマンド"));
    }
    TPage page;
    EXPECT_THROW(CreateCommand(page, 61), ETovaError);
    EXPECT_NE(CreateCommand(page, 128 + 60), nullptr);
}

TEST(PageDamage, BadMaskHeadersFail) {
    const std::vector<std::pair<int32_t, int32_t>> headers = {
        {-1, 21}, {61, -1}, {INT_MAX, 21}, {61, INT_MAX}, {INT_MAX, INT_MAX}, {1000, 1000}};
    for (auto [count, size] : headers) {
        SCOPED_TRACE(std::to_string(count) + " x " + std::to_string(size));
        TPageBytes bytes(114, 1, {}, 0, 0);
        std::vector<uint8_t> raw = bytes.Bytes();
        TTpMemoryStream s(raw);
        s.SetPosition(5);
        WriteI32(s, count);
        WriteI32(s, size);
        s.Seek(0, TSeekOrigin::End);
        WriteI32(s, 0);
        EXPECT_FALSE(LoadError(s.Bytes()).empty());
    }
}

TEST(PageDamage, CountsLargerThanTheFileFail) {
    {
        TPageBytes bytes(114);
        bytes.Count(1000000);
        bytes.Command(2);
        EXPECT_FALSE(LoadError(bytes.Bytes()).empty());
    }
    {
        TPageBytes bytes(114);
        bytes.Count(-1);
        EXPECT_FALSE(LoadError(bytes.Bytes()).empty());
    }
    for (int32_t arguments : {-1, 1000000, INT_MAX}) {
        SCOPED_TRACE(arguments);
        TPageBytes bytes(114);
        bytes.Count(1);
        bytes.Command(5);
        bytes.Str("sub.tsb");
        bytes.I32(0);
        bytes.Str("");
        bytes.Expr("1");
        bytes.I32(arguments);
        bytes.Expr("1");
        EXPECT_FALSE(LoadError(bytes.Bytes()).empty());
    }
    for (int32_t length : {4, INT_MAX}) {  // a string longer than what is left
        TPageBytes bytes(114);
        bytes.Count(1);
        bytes.Command(3);
        bytes.I32(length);
        bytes.U8('x');
        EXPECT_FALSE(LoadError(bytes.Bytes()).empty());
    }
    {
        // A damaged expression record inside a command.
        TPageBytes bytes(114);
        bytes.Count(1);
        bytes.Command(14);
        bytes.I32(INT_MAX);
        EXPECT_FALSE(LoadError(bytes.Bytes()).empty());
    }
}

TEST(PageDamage, NegativeStringLengthsReadAsEmpty) {
    TPageBytes bytes(114);
    bytes.Count(1);
    bytes.Command(3);
    bytes.I32(-5);
    TPage page;
    TTpMemoryStream stream = bytes.Stream();
    page.LoadFromStream(stream);
    ASSERT_EQ(page.Count(), 1);
    EXPECT_EQ(dynamic_cast<TComLabel&>(*page.Commands[0]).Name, "");
}

TEST(PageDamage, TrailingBytesAreIgnored) {
    std::vector<uint8_t> bytes = SmallPage();
    bytes.insert(bytes.end(), {1, 2, 3});
    TPage page;
    TTpMemoryStream stream(bytes);
    page.LoadFromStream(stream);
    EXPECT_EQ(page.Count(), 4);
}

}  // namespace
}  // namespace tova
