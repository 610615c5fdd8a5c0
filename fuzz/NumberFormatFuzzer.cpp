// The number formats: for any double, any number of decimals and the separators of
// any locale, the text is valid UTF-8, has the shape of its format and reads back,
// with the same separators, to the value within the format's rounding.

#include "FuzzSupport.h"

#include "core/NumberFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using tormel::NumberSeparators;
using tormel::fuzz::Require;

// Separators of real locales and a few that no locale has.
constexpr std::array<const char *, 6> Decimals = {".", ",", "\u066B", "\u00B7", "\u2396", "::"};
constexpr std::array<const char *, 11> Groups
        = {",", ".", "\u00A0", "\u202F", "\u2009", " ", "'", "\u2019", "\u066C", "", "_"};

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    if (from.empty())
        return text;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string describe(const std::string &text, double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return "text \"" + text + "\" of " + buffer + " with " + std::to_string(decimals) + " decimals";
}

// The value that the text reads as (as a long double: rounding may go beyond the
// greatest double) with these separators; nothing when it is not a
// number written with them (grouping removed, the decimal separator made a point).
bool readBack(const std::string &text, const NumberSeparators &separators, long double &value)
{
    const std::string plain
            = replaceAll(replaceAll(text, separators.group, ""), separators.decimal, ".");
    if (plain.empty() || plain.find_first_not_of("0123456789.-E") != std::string::npos)
        return false;
    char *end = nullptr;
    value = std::strtold(plain.c_str(), &end);
    return end == plain.c_str() + plain.size();
}

void checkNonFinite(double value, const std::string &text)
{
    const char *expected = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    Require(text == expected, "a value that is not finite has its word", text);
}

void checkFormatNumber(double value, int decimals, const NumberSeparators &separators)
{
    const std::string text = tormel::FormatNumber(value, decimals, separators);
    const std::string what = describe(text, value, decimals);
    Require(tormel::fuzz::IsValidUtf8(text), "FormatNumber writes valid UTF-8", what);
    if (!std::isfinite(value))
        return checkNonFinite(value, text);

    long double read = 0;
    Require(readBack(text, separators, read), "FormatNumber reads back as a number", what);
    // Rounded at whichever of 7 significant digits or the decimals keeps fewer digits.
    const int shown = std::max(decimals, 0);
    const double step = std::max(std::fabs(value) * 1e-6, std::pow(10.0, -shown));
    Require(std::fabs(read - value) <= 0.5 * step * (1 + 1e-9),
            "FormatNumber is within its rounding of the value",
            what);

    if (text.find('E') == std::string::npos) {
        // Fixed notation: exactly the decimals asked for, after the one separator.
        const std::size_t point = shown > 0 ? text.rfind(separators.decimal) : std::string::npos;
        if (shown > 0) {
            Require(point != std::string::npos, "the decimals follow the separator", what);
            const std::string fraction = text.substr(point + separators.decimal.size());
            Require(fraction.size() == std::size_t(shown)
                            && fraction.find_first_not_of("0123456789") == std::string::npos,
                    "exactly the decimals asked for",
                    what);
        }
        // The integer part: 1 to 3 digits, then groups of three after each separator.
        std::string integer = text.substr(0, point);
        if (!integer.empty() && integer[0] == '-')
            integer.erase(0, 1);
        std::vector<std::string> groups;
        if (separators.group.empty()) {
            groups.push_back(integer);
        } else {
            std::size_t start = 0;
            for (std::size_t at = integer.find(separators.group); at != std::string::npos;
                 at = integer.find(separators.group, start)) {
                groups.push_back(integer.substr(start, at - start));
                start = at + separators.group.size();
            }
            groups.push_back(integer.substr(start));
        }
        std::string digits;
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const std::string &group = groups[i];
            Require(group.find_first_not_of("0123456789") == std::string::npos
                            && (i == 0 ? !group.empty()
                                                 && (separators.group.empty() || group.size() <= 3)
                                       : group.size() == 3),
                    "the integer part is grouped in threes",
                    what);
            digits += group;
        }
        Require(digits.size() <= 7, "fixed notation up to 7 integer digits", what);
    } else {
        Require(std::fabs(value) >= 9999999.5 * (1 - 1e-12),
                "the exponent form only for big values",
                what);
    }
}

void checkFormatGeneral(double value, const NumberSeparators &separators)
{
    const std::string text = tormel::FormatGeneral(value, separators);
    const std::string what = describe(text, value, -1);
    Require(tormel::fuzz::IsValidUtf8(text), "FormatGeneral writes valid UTF-8", what);
    if (!std::isfinite(value))
        return checkNonFinite(value, text);
    Require(separators.group.empty()
                    || separators.decimal.find(separators.group) != std::string::npos
                    || text.find(separators.group) == std::string::npos,
            "FormatGeneral does not group",
            what);
    long double read = 0;
    Require(readBack(text, separators, read), "FormatGeneral reads back as a number", what);
    Require(std::fabs(read - value) <= (0.5e-14 + 1e-15) * std::fabs(value),
            "FormatGeneral keeps 15 significant digits",
            what);
    const bool exponent = text.find('E') != std::string::npos;
    // Compared as doubles: 1E-5 as a double is a little above the long double 1E-5.
    const double magnitude = double(std::fabs(read));
    if (value != 0)
        Require(exponent == (magnitude >= 1e15 || magnitude < 1e-5),
                "FormatGeneral uses the exponent form outside 1E-5 to 1E15",
                what);
    if (!exponent && text.find(separators.decimal) != std::string::npos)
        Require(text.back() != '0', "FormatGeneral drops trailing zeros", what);
}

void checkFormatCurrent(double value)
{
    const std::string text = tormel::FormatCurrent(value);
    if (!std::isfinite(value))
        return checkNonFinite(value, text);
    long double read = 0;
    Require(readBack(text, NumberSeparators::english(), read), "FormatCurrent reads back", text);
    if (std::fabs(value) < 1e15)
        Require(read == std::nearbyint(value), "FormatCurrent rounds half to even", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    NumberSeparators separators;
    separators.decimal = input.PickValueInArray(Decimals);
    separators.group = input.PickValueInArray(Groups);
    if (separators.group == separators.decimal)
        separators.group.clear();
    const int decimals = input.ConsumeIntegralInRange(-2, 24);
    // Either any bit pattern, or a value of a usual size made from a fraction.
    double value = 0;
    if (input.ConsumeBool()) {
        value = input.ConsumeFloatingPoint<double>();
    } else {
        const auto mantissa = input.ConsumeIntegral<std::int64_t>();
        const int exponent = input.ConsumeIntegralInRange(-12, 12);
        value = double(mantissa % 100000000000LL) * std::pow(10.0, exponent - 6);
    }

    checkFormatNumber(value, decimals, separators);
    checkFormatGeneral(value, separators);
    checkFormatCurrent(value);
    return 0;
}
