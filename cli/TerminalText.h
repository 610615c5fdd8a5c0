#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tormel::cli {

// The characters of a UTF-8 text, as a terminal lines them up (one column each: the
// program's texts are Cyrillic and Latin).
std::size_t CharacterCount(std::string_view text);

// The text cut to at most `columns` characters (not bytes), so that a line never
// wraps; an ellipsis shows the cut.
std::string FitToColumns(std::string_view text, std::size_t columns);

// The text followed by blanks up to `columns` characters, or blanks and then the text.
std::string PadRight(std::string_view text, std::size_t columns);
std::string PadLeft(std::string_view text, std::size_t columns);

} // namespace tormel::cli
