#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tormel {

// Reads a real number as the user typed it: optional leading blanks, an optional
// sign, digits with an optional "." and an optional exponent, and nothing else.
// The regional settings play no part. ".5" and "5." are valid; "0,5", "1 ",
// "nan", "inf", hexadecimal floats, "" and values beyond the range of a double are not.
std::optional<double> ReadReal(std::string_view text);

// The length of the longest start of the text that reads as a real number, leading
// blanks included; 0 when the text does not begin with a number.
std::size_t RealNumberPrefixLength(std::string_view text);

// Reads a whole number: optional leading blanks, an optional sign and decimal
// digits, or hexadecimal digits after "$" or "0x"; the value must fit 32 bits signed.
std::optional<int> ReadWhole(std::string_view text);

} // namespace tormel
