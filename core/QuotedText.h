#pragma once

#include <string>
#include <string_view>

namespace tormel {

// The user's text (a file name, a field name, an argument) in double quotes for a
// one-line message: a line break, a tab, any other control character (C0, DEL,
// C1 and the Unicode line and paragraph separators), a quote and a backslash
// are written as escapes ("\n", "\t", "\u0085", "\"", "\\"), and a byte that is
// not UTF-8 as "\xNN". Everything else stays as it is.
std::string QuotedText(std::string_view text);

} // namespace tormel
