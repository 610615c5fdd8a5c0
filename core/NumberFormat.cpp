#include "core/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace tormel {

namespace {

// The exact decimal value of a finite, non-zero double as a digit string and the
// power of ten of its first digit: value = 0.d0 d1 d2 ... x 10^(exponent + 1).
struct ExactDecimal
{
    std::string digits;
    int exponent = 0;
};

ExactDecimal decimalDigits(double magnitude, int precision)
{
    char buffer[1024];
    const auto [end, ec] = std::to_chars(std::begin(buffer),
                                         std::end(buffer),
                                         magnitude,
                                         std::chars_format::scientific,
                                         precision);
    (void)ec;
    // "d.ddd...e+XX" (or "de+XX" without a fraction): the digits are copied in one
    // piece, since a full expansion has hundreds of them.
    const std::string_view text(buffer, std::size_t(end - buffer));
    const std::size_t e = text.find('e');
    ExactDecimal result;
    result.digits.reserve(e);
    result.digits.push_back(text[0]);
    if (e > 2)
        result.digits.append(text.substr(2, e - 2));
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1),
                    text.data() + text.size(),
                    result.exponent);
    return result;
}

// Digits of the value that decide its rounding at 10^lastPower(exponent) exactly. 40
// significant digits decide every rounding except where the digits after the first
// dropped one are all 0 or all 9, since those may come from rounding to 40 digits
// itself (a carry into a new power of ten leaves only zeros too); then the full
// expansion decides, 767 significant digits holding every double exactly.
template<typename LastPower>
std::pair<ExactDecimal, int> digitsForRounding(double magnitude, LastPower lastPowerFor)
{
    ExactDecimal digits = decimalDigits(magnitude, 39);
    int lastPower = lastPowerFor(digits.exponent);
    const int firstDropped = digits.exponent - lastPower + 1;
    bool decided = firstDropped >= 0 && firstDropped + 1 < static_cast<int>(digits.digits.size());
    if (decided) {
        const std::string tail = digits.digits.substr(static_cast<std::size_t>(firstDropped) + 1);
        decided = tail.find_first_not_of('0') != std::string::npos
                  && tail.find_first_not_of('9') != std::string::npos;
    }
    if (!decided) {
        digits = decimalDigits(magnitude, 770);
        lastPower = lastPowerFor(digits.exponent);
    }
    return {digits, lastPower};
}

// A decimal number rounded at some power of ten: digits (no leading zeros, "" for
// zero) whose last digit stands at 10^lastPower.
struct RoundedDecimal
{
    std::string digits;
    int lastPower = 0;

    int firstPower() const { return lastPower + static_cast<int>(digits.size()) - 1; }
};

// Rounds the exact value at 10^lastPower; a 5 or more in the first dropped place
// rounds away from zero.
RoundedDecimal roundAt(const ExactDecimal &exact, int lastPower)
{
    RoundedDecimal rounded;
    rounded.lastPower = lastPower;
    const int keep = exact.exponent - lastPower + 1; // digits kept
    if (keep < 0)
        return rounded;
    rounded.digits = exact.digits.substr(0, static_cast<std::size_t>(keep));
    while (static_cast<int>(rounded.digits.size()) < keep)
        rounded.digits += '0';
    const bool roundUp = static_cast<std::size_t>(keep) < exact.digits.size()
                         && exact.digits[static_cast<std::size_t>(keep)] >= '5';
    if (roundUp) {
        int i = static_cast<int>(rounded.digits.size()) - 1;
        while (i >= 0 && rounded.digits[static_cast<std::size_t>(i)] == '9') {
            rounded.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0)
            rounded.digits.insert(rounded.digits.begin(), '1');
        else
            ++rounded.digits[static_cast<std::size_t>(i)];
    }
    const std::size_t firstNonZero = rounded.digits.find_first_not_of('0');
    rounded.digits = firstNonZero == std::string::npos ? std::string()
                                                       : rounded.digits.substr(firstNonZero);
    return rounded;
}

// The digit standing at 10^power, '0' outside the digits.
char digitAt(const RoundedDecimal &number, int power)
{
    const int index = number.firstPower() - power;
    if (number.digits.empty() || index < 0 || index >= static_cast<int>(number.digits.size()))
        return '0';
    return number.digits[static_cast<std::size_t>(index)];
}

// "1,234568E10": the mantissa's digits without trailing zeros, then the exponent.
std::string exponentForm(const RoundedDecimal &number, const std::string &decimalSeparator)
{
    std::string mantissa = number.digits;
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    std::string text(1, mantissa[0]);
    if (mantissa.size() > 1)
        text += decimalSeparator + mantissa.substr(1);
    return text + "E" + std::to_string(number.firstPower());
}

std::string nonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

} // namespace

std::string FormatNumber(double value, int decimals, const NumberSeparators &separators)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (decimals < 0)
        decimals = 0;

    RoundedDecimal number;
    if (value != 0) {
        const auto [digits, lastPower] = digitsForRounding(
                std::fabs(value), [&](int exponent) { return std::max(exponent - 6, -decimals); });
        number = roundAt(digits, lastPower);
    }

    std::string text;
    if (!number.digits.empty() && number.firstPower() >= 7) {
        text = exponentForm(number, separators.decimal);
    } else {
        const int integerDigits = number.digits.empty() ? 1 : std::max(number.firstPower() + 1, 1);
        for (int power = integerDigits - 1; power >= 0; --power) {
            text += digitAt(number, power);
            if (power > 0 && power % 3 == 0)
                text += separators.group;
        }
        if (decimals > 0) {
            text += separators.decimal;
            for (int power = -1; power >= -decimals; --power)
                text += digitAt(number, power);
        }
    }
    if (value < 0 && !number.digits.empty())
        text = "-" + text;
    return text;
}

std::string FormatGeneral(double value, const NumberSeparators &separators)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (value == 0)
        return "0";

    const auto [digits, lastPower]
            = digitsForRounding(std::fabs(value), [](int exponent) { return exponent - 14; });
    const RoundedDecimal number = roundAt(digits, lastPower);

    std::string text;
    const int first = number.firstPower();
    if (first >= 15 || first < -5) {
        text = exponentForm(number, separators.decimal);
    } else {
        for (int power = std::max(first, 0); power >= 0; --power)
            text += digitAt(number, power);
        int lastNonZero = number.lastPower;
        for (std::size_t i = number.digits.size(); i-- > 0 && number.digits[i] == '0';)
            ++lastNonZero;
        if (lastNonZero < 0) {
            text += separators.decimal;
            for (int power = -1; power >= lastNonZero; --power)
                text += digitAt(number, power);
        }
    }
    if (value < 0)
        text = "-" + text;
    return text;
}

std::string FormatCurrent(double value)
{
    // std::nearbyint rounds to the nearest whole number with ties to even in the
    // default rounding mode, which the program never changes.
    return FormatGeneral(std::isfinite(value) ? std::nearbyint(value) : value,
                         NumberSeparators::english());
}

} // namespace tormel
