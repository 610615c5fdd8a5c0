#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace tormel {

// Per-metre R and X of one conductor of a cable or overhead line.
TLineImpedance GetCableLineImpedance(const std::string &crossSection,
                                     const std::string &stuff,
                                     const std::string &kindPerform);

// The sixteen cross-section texts of the phase and neutral lists, "0" first.
const std::vector<std::string> &CrossSections();

// The nominal cross-section, mm^2, of the table row that a cross-section text selects
// (the row whose resistance the lookup gives): "16" and "16.7" both give 16, "1.5" gives
// 1.5. None for a text that selects no row.
std::optional<double> CableCrossSection(const std::string &crossSection);

} // namespace tormel
