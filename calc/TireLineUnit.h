#pragma once

#include "calc/CalcTypes.h"

#include <string>
#include <vector>

namespace tormel {

// Per-metre R and X of the phase-to-neutral loop of a busbar trunking model.
TLineImpedance GetTireLineImpedance(const std::string &model, const std::string &family);

// The models of a busbar family in the order its list shows them, each once;
// empty for a kind that is not a busbar family.
const std::vector<std::string> &TireModelsInDisplayOrder(const std::string &family);

} // namespace tormel
