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

// A message that may carry the user's text as it stands (a JSON library's error that
// quotes what it last read): the same escapes without the quotes around it, and quotes
// and backslashes left as they are.
std::string OneLineText(std::string_view text);

} // namespace tormel
