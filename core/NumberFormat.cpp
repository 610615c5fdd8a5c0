#include "core/NumberFormat.h"

namespace tormel {
// Implemented next.
std::string FormatNumber(double, int, const NumberSeparators &) { return {}; }
std::string FormatGeneral(double, const NumberSeparators &) { return {}; }
std::string FormatCurrent(double) { return {}; }
} // namespace tormel
