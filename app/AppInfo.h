#pragma once

#include "core/Version.h"

namespace tormel {

// The title the desktop shows for the running program and the caption of its main
// window and of its plain message boxes.
inline constexpr char ApplicationTitle[] = "Тормел " TORMEL_VERSION;

// The help file of every window, found next to the executable.
inline constexpr char HelpFileName[] = "help.hlp";

} // namespace tormel
