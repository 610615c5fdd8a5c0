#pragma once

namespace tormel {

// The title the desktop shows for the running program and the caption of its main
// window and of its plain message boxes.
inline constexpr char ApplicationTitle[] = "Тормел 2.8.1";

// The help file of every window, found next to the executable.
inline constexpr char HelpFileName[] = "help.hlp";

} // namespace tormel
