#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tormel {

// Report files are Windows-1251 text, the program's texts are UTF-8. Every byte
// of the code page has a character (0x98, which the code page leaves undefined,
// reads as U+0098 and is written back as 0x98), so a file read and written again
// keeps every byte.

// The UTF-8 text of Windows-1251 bytes.
std::string DecodeWindows1251(std::string_view bytes);

// The Windows-1251 bytes of UTF-8 text, or nothing when the text is not valid
// UTF-8 or holds a character that the code page does not have.
std::optional<std::string> EncodeWindows1251(std::string_view utf8);

// Whether the bytes decode to exactly that UTF-8 text (without building the text).
bool DecodesTo(std::string_view bytes, std::string_view utf8);

// Whether EncodeWindows1251 would succeed.
bool IsWindows1251Text(std::string_view utf8);

// The text with every digit-group or decimal separator that some regional
// settings use but the code page lacks (U+202F in French, U+066B in Arabic, ...)
// replaced by its nearest character in the code page. Every other character,
// and so every text that the code page already holds, stays as it is.
std::string WithWindows1251Separators(std::string_view utf8);

} // namespace tormel
