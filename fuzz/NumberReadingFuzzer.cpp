// Number reading: what ReadReal, ReadWhole and RealNumberPrefixLength accept is what
// their grammar says, compared with a reference written independently here (regular
// expressions, and the C library for the values).

#include "FuzzSupport.h"

#include "core/NumberReading.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <regex>
#include <string>

namespace {

using tormel::fuzz::Require;

// The regular expressions recurse once per character; longer texts say nothing new.
constexpr std::size_t MaxText = 300;

// Optional blanks, an optional sign, digits with an optional point (at least one digit
// on either side), an optional exponent with digits.
const std::regex &realPrefix()
{
    static const std::regex pattern(R"( *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    return pattern;
}

// Optional blanks, an optional sign, decimal digits or "$" / "0x" and hexadecimal digits.
const std::regex &whole()
{
    static const std::regex pattern(R"( *([+-]?)(\$[0-9a-fA-F]+|0[xX][0-9a-fA-F]+|[0-9]+))");
    return pattern;
}

// The longest start of the text that the real number grammar matches; the alternatives
// and repetitions are greedy and exclusive, so the first match is the longest.
std::size_t referencePrefixLength(const std::string &text)
{
    std::smatch match;
    if (!std::regex_search(text, match, realPrefix(), std::regex_constants::match_continuous))
        return 0;
    return std::size_t(match.length(0));
}

std::optional<double> referenceReal(const std::string &text)
{
    if (text.empty() || referencePrefixLength(text) != text.size())
        return std::nullopt;
    const std::size_t start = text.find_first_not_of(' ');
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    errno = 0;
    char *end = nullptr;
    const double value = strtod_l(text.c_str() + start, &end, c);
    Require(end == text.c_str() + text.size(), "strtod reads a number of the grammar whole", text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> referenceWhole(const std::string &text)
{
    std::smatch match;
    if (!std::regex_match(text, match, whole()))
        return std::nullopt;
    const bool negative = match.str(1) == "-";
    std::string digits = match.str(2);
    int base = 10;
    if (digits[0] == '$') {
        digits.erase(0, 1);
        base = 16;
    } else if (digits.size() > 1 && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.erase(0, 2);
        base = 16;
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 12)
        return std::nullopt;
    std::int64_t magnitude = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return int(value);
}

bool sameDouble(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Reading must not depend on the process's numeric locale; use a comma locale
    // when the machine has one.
    for (const char *name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr)
            break;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxText)
        return 0;
    const std::string text(reinterpret_cast<const char *>(data), size);

    const std::size_t prefix = tormel::RealNumberPrefixLength(text);
    Require(prefix == referencePrefixLength(text),
            "RealNumberPrefixLength is the longest start that the grammar matches",
            text);

    const std::optional<double> real = tormel::ReadReal(text);
    const std::optional<double> expectedReal = referenceReal(text);
    Require(real.has_value() == expectedReal.has_value(),
            "ReadReal accepts exactly the finite numbers of the grammar",
            text);
    if (real) {
        Require(sameDouble(*real, *expectedReal), "ReadReal reads the nearest double", text);
        Require(prefix == text.size(), "an accepted real is its own longest number", text);
        // The standard library's reader, for an unsigned number, agrees too.
        const std::size_t start = text.find_first_not_of(' ');
        double value = 0;
        const auto [end, ec]
                = std::from_chars(text.data() + start, text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size())
            Require(sameDouble(*real, value), "ReadReal agrees with std::from_chars", text);
    }

    const std::optional<int> wholeValue = tormel::ReadWhole(text);
    const std::optional<int> expectedWhole = referenceWhole(text);
    Require(wholeValue.has_value() == expectedWhole.has_value(),
            "ReadWhole accepts exactly the 32-bit whole numbers of the grammar",
            text);
    if (wholeValue)
        Require(*wholeValue == *expectedWhole, "ReadWhole reads the value", text);
    return 0;
}
