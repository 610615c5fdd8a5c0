#pragma once

#include <string>

namespace tormel {

// The user's regional separators, passed in so that formatting never reads a
// global locale. Each is UTF-8 text; a Russian user has "," and U+00A0.
struct NumberSeparators
{
    std::string decimal = ".";
    std::string group = ",";

    static NumberSeparators russian() { return {",", "\u00A0"}; }
    static NumberSeparators english() { return {".", ","}; }
};

// Number format with `decimals` digits after the separator: rounded once to
// whichever of 7 significant digits or `decimals` decimals keeps fewer digits
// (a 5 in the first dropped place rounds away from zero), the integer part
// grouped in threes, and the exponent form ("1,234568E10") beyond 7 integer digits.
std::string FormatNumber(double value, int decimals, const NumberSeparators &separators);

// General format: 15 significant digits, trailing zeros dropped, no grouping;
// fixed notation for 1E-5 <= |x| < 1E15, otherwise the exponent form.
std::string FormatGeneral(double value, const NumberSeparators &separators);

// The short-circuit current as the result line shows it: rounded to a whole
// number with ties to the even neighbour, no grouping.
std::string FormatCurrent(double value);

} // namespace tormel
