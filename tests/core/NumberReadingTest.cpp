#include "core/NumberReading.h"

#include <gtest/gtest.h>

#include <limits>

namespace tormel {
namespace {

struct RealCase
{
    const char *text;
    std::optional<double> expected;
};

TEST(ReadReal, AcceptsPlainDecimalNotationOnly)
{
    const RealCase cases[] = {
            {"25", 25.0},
            {"025", 25.0},
            {"25.0", 25.0},
            {"1.25", 1.25},
            {"  -1.5", -1.5},
            {"+40", 40.0},
            {".5", 0.5},
            {"5.", 5.0},
            {"1e3", 1000.0},
            {"1.5E-3", 0.0015},
            {"2e+2", 200.0},
            {"1e-400", 0.0}, // underflow reads as zero, not as an error
            {"", std::nullopt},
            {"   ", std::nullopt},
            {"1,5", std::nullopt},
            {"1.5 ", std::nullopt},
            {"40 мОм", std::nullopt},
            {".", std::nullopt},
            {"-", std::nullopt},
            {"1e", std::nullopt},
            {"1e+", std::nullopt},
            {"e5", std::nullopt},
            {"nan", std::nullopt},
            {"inf", std::nullopt},
            {"0x1p3", std::nullopt},
            {"1e400", std::nullopt},
            {"\t5", std::nullopt},
            {"1.2.3", std::nullopt},
    };
    for (const RealCase &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadReal(c.text), c.expected);
    }
}

TEST(RealNumberPrefixLength, StopsWhereTheNumberEnds)
{
    EXPECT_EQ(RealNumberPrefixLength("10 (\"C\")"), 2u);
    EXPECT_EQ(RealNumberPrefixLength("  7.5A"), 5u);
    EXPECT_EQ(RealNumberPrefixLength("5e"), 1u); // a letter without digits is not an exponent
    EXPECT_EQ(RealNumberPrefixLength("5e+3x"), 4u);
    EXPECT_EQ(RealNumberPrefixLength("-.5"), 3u);
    EXPECT_EQ(RealNumberPrefixLength("abc"), 0u);
    EXPECT_EQ(RealNumberPrefixLength(" ."), 0u);
}

struct WholeCase
{
    const char *text;
    std::optional<int> expected;
};

TEST(ReadWhole, AcceptsDecimalAndHexadecimalWithin32Bits)
{
    const WholeCase cases[] = {
            {"1", 1},
            {"  2", 2},
            {"-3", -3},
            {"+4", 4},
            {"$10", 16},
            {"0x10", 16},
            {"0X1f", 31},
            {"2147483647", 2147483647},
            {"-2147483648", std::numeric_limits<int>::min()},
            {"2147483648", std::nullopt},
            {"99999999999999999999", std::nullopt},
            {"2.5", std::nullopt},
            {"1e2", std::nullopt},
            {"нет", std::nullopt},
            {"", std::nullopt},
            {"$", std::nullopt},
            {"0x", std::nullopt},
            {"3 ", std::nullopt},
            {"$1G", std::nullopt},
    };
    for (const WholeCase &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadWhole(c.text), c.expected);
    }
}

} // namespace
} // namespace tormel
