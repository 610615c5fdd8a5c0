#include "core/LocaleSeparators.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

TEST(NamedNumberSeparators, RussianUsesCommaAndNoBreakSpace)
{
    const auto separators = NamedNumberSeparators("ru_RU");
    ASSERT_TRUE(separators.has_value());
    EXPECT_EQ(separators->decimal, ",");
    EXPECT_EQ(separators->group, "\u00A0");
    EXPECT_EQ(FormatNumber(1234.5, 2, *separators), "1\u00A0234,50");
}

TEST(NamedNumberSeparators, EnglishAndCUsePointAndComma)
{
    for (const char *name : {"en_US", "C"}) {
        SCOPED_TRACE(name);
        const auto separators = NamedNumberSeparators(name);
        ASSERT_TRUE(separators.has_value());
        EXPECT_EQ(separators->decimal, ".");
        EXPECT_EQ(separators->group, ",");
    }
}

TEST(NamedNumberSeparators, RejectsUnknownNames)
{
    EXPECT_FALSE(NamedNumberSeparators("xx_nonsense").has_value());
}

} // namespace
} // namespace tormel
