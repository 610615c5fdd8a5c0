#include "core/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tormel {
namespace {

const NumberSeparators russian = NumberSeparators::russian();
const NumberSeparators english = NumberSeparators::english();

struct NumberCase
{
    double value;
    int decimals;
    const char *expected; // with the Russian separators; "_" stands for the no-break space
};

std::string withNbsp(const char *text)
{
    std::string result;
    for (const char *p = text; *p; ++p) {
        if (*p == '_')
            result += "\u00A0";
        else
            result += *p;
    }
    return result;
}

TEST(FormatNumber, RoundsOnceAtSevenDigitsOrTheDecimals)
{
    const NumberCase cases[] = {
            {692.4, 2, "692,40"},
            {12.5, 2, "12,50"},
            {3, 2, "3,00"},
            {0, 2, "0,00"},
            {12.125, 2, "12,13"}, // exact binary tie rounds away from zero
            {-12.125, 2, "-12,13"},
            {0.285, 2, "0,28"}, // the binary value lies just below the tie
            {40, 0, "40"},
            {40.5, 0, "41"},
            {12.6, 0, "13"},
            {0.5, 0, "1"},
            {0.04, 0, "0"},
            {-0.001, 2, "0,00"}, // a value that rounds to zero has no sign
            {1234.5, 2, "1_234,50"},
            {1234567.891, 2, "1_234_568,00"}, // seven significant digits win over two decimals
            {9999999.5, 2, "1E7"},            // the carry makes eight integer digits
            {12345678, 2, "1,234568E7"},
            {12345678901.0, 2, "1,234568E10"},
            {-12345678901.0, 0, "-1,234568E10"},
            {123456.789, 2, "123_456,80"},
            {0.000123456789, 2, "0,00"},
            {0.0123456789, 4, "0,0123"},
    };
    for (const NumberCase &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatNumber(c.value, c.decimals, russian), withNbsp(c.expected));
    }
}

TEST(FormatNumber, DecidesTiesOnTheExactBinaryValue)
{
    // Values whose digits after the rounding place are a run of 9s or 0s, where a
    // shortened decimal expansion could round the wrong way.
    EXPECT_EQ(FormatNumber(0.125, 2, english), "0.13"); // exact tie
    EXPECT_EQ(FormatNumber(1.005, 2, english), "1.00"); // 1.00499999999999989...
    EXPECT_EQ(FormatNumber(2.675, 2, english), "2.67"); // 2.67499999999999982...
    EXPECT_EQ(FormatNumber(1e22, 2, english), "1E22");
    EXPECT_EQ(FormatNumber(9.9999999999999982, 2, english), "10.00");
    EXPECT_EQ(FormatNumber(5e-324, 2, english), "0.00");
    EXPECT_EQ(FormatNumber(1.7976931348623157e308, 2, english), "1.797693E308");
    EXPECT_EQ(FormatGeneral(0.30000000000000004, english), "0.3");
    EXPECT_EQ(FormatGeneral(5e-324, english), "4.94065645841247E-324");
}

TEST(FormatNumber, UsesTheGivenSeparators)
{
    EXPECT_EQ(FormatNumber(1234567.25, 2, english), "1,234,567.00");
    EXPECT_EQ(FormatNumber(805.7466666, 2, english), "805.75");
}

TEST(FormatGeneral, FifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(FormatGeneral(1957.2, russian), "1957,2");
    EXPECT_EQ(FormatGeneral(2417.24, russian), "2417,24");
    EXPECT_EQ(FormatGeneral(363, russian), "363");
    EXPECT_EQ(FormatGeneral(9.45, russian), "9,45");
    EXPECT_EQ(FormatGeneral(157.5, russian), "157,5");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, english), "0.3");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0, english), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(-2.5, english), "-2.5");
    EXPECT_EQ(FormatGeneral(0, english), "0");
    EXPECT_EQ(FormatGeneral(123456789012345.0, english), "123456789012345");
}

TEST(FormatGeneral, SwitchesToExponentFormOutsideTheFixedRange)
{
    EXPECT_EQ(FormatGeneral(0.00001, english), "0.00001");
    EXPECT_EQ(FormatGeneral(0.0000015, russian), "1,5E-6");
    EXPECT_EQ(FormatGeneral(1e15, english), "1E15");
    EXPECT_EQ(FormatGeneral(999999999999999.9, english), "1E15");
    EXPECT_EQ(FormatGeneral(-1.25e20, english), "-1.25E20");
}

TEST(FormatCurrent, RoundsHalfToEvenWithoutGrouping)
{
    EXPECT_EQ(FormatCurrent(216.5), "216");
    EXPECT_EQ(FormatCurrent(217.5), "218");
    EXPECT_EQ(FormatCurrent(532.5), "532");
    EXPECT_EQ(FormatCurrent(533.5), "534");
    EXPECT_EQ(FormatCurrent(217.44), "217");
    EXPECT_EQ(FormatCurrent(123456.7), "123457");
}

TEST(Formats, WriteNonFiniteValuesAsWords)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(FormatNumber(inf, 2, russian), "INF");
    EXPECT_EQ(FormatNumber(-inf, 2, russian), "-INF");
    EXPECT_EQ(FormatGeneral(nan, russian), "NAN");
    EXPECT_EQ(FormatCurrent(inf), "INF");
}

} // namespace
} // namespace tormel
