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

// Whether EncodeWindows1251 would succeed.
bool IsWindows1251Text(std::string_view utf8);

} // namespace tormel
