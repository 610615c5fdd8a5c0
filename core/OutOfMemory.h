#pragma once

#include <string_view>

namespace tormel {

// What both programs say when memory runs out: the command line as its one error line,
// the desktop program in an error box, the action having been left undone.
inline constexpr std::string_view OutOfMemoryText = "недостаточно памяти";
inline constexpr std::string_view OutOfMemoryMessage
        = "Недостаточно памяти: последнее действие не выполнено.";

} // namespace tormel
