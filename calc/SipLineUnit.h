#pragma once

#include "calc/CalcTypes.h"

#include <string>
#include <vector>

namespace tormel {

// Per-metre R and X of the phase-to-neutral loop of a self-supporting insulated wire.
TLineImpedance GetSipLineImpedance(const std::string &marking, const std::string &kindPerform);

// The markings of a SIP kind in table order; empty for a kind that is not SIP.
const std::vector<std::string> &SipMarkings(const std::string &kindPerform);

} // namespace tormel
