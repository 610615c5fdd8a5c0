#pragma once

#include "calc/CalcTypes.h"

#include <string>
#include <vector>

namespace tormel {

// Per-metre R and X of one conductor of a cable or overhead line.
TLineImpedance GetCableLineImpedance(const std::string &crossSection,
                                     const std::string &stuff,
                                     const std::string &kindPerform);

// The sixteen cross-section texts of the phase and neutral lists, "0" first.
const std::vector<std::string> &CrossSections();

} // namespace tormel
