#include "core/QuotedText.h"

#include <gtest/gtest.h>

#include <string>

namespace tormel {
namespace {

TEST(QuotedText, EveryKindOfControlCharacterIsEscapedOnOneLine)
{
    struct Case
    {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
            {"", "\"\""},
            {"К-1 точка.csv", "\"К-1 точка.csv\""},
            {"a\nb", "\"a\\nb\""},
            {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
            {std::string("a\0b", 3), "\"a\\u0000b\""},
            {"\x1B[31m", "\"\\u001B[31m\""},
            {"\x7F", "\"\\u007F\""},
            {"\u0085\u009F", "\"\\u0085\\u009F\""},     // C1, NEL among them
            {"a\u2028b\u2029", "\"a\\u2028b\\u2029\""}, // line and paragraph separators
            {"\u00A0\u00A0", "\"\u00A0\u00A0\""},       // a no-break space is printable
            {"say \"hi\"", "\"say \\\"hi\\\"\""},
            {"C:\\dir", "\"C:\\\\dir\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(QuotedText(c.text), c.quoted);
    }
}

TEST(QuotedText, BytesThatAreNotUtf8AreWrittenAsHexadecimal)
{
    EXPECT_EQ(QuotedText("\xCA-2"), "\"\\xCA-2\"");               // a Windows-1251 "К"
    EXPECT_EQ(QuotedText("\xC0\x80"), "\"\\xC0\\x80\"");          // overlong zero
    EXPECT_EQ(QuotedText("\xED\xA0\x80"), "\"\\xED\\xA0\\x80\""); // a surrogate
    EXPECT_EQ(QuotedText("\xD0"), "\"\\xD0\"");                   // cut off at the end
    EXPECT_EQ(QuotedText("\xF0\x9F\x98\x80"), "\"\xF0\x9F\x98\x80\"");
}

} // namespace
} // namespace tormel
