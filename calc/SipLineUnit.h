#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

// Per-metre R and X of the phase-to-neutral loop of a self-supporting insulated wire.
TLineImpedance GetSipLineImpedance(const std::string &marking, const std::string &kindPerform);

// The markings of a SIP kind in table order; empty for a kind that is not SIP.
const std::vector<std::string> &SipMarkings(const std::string &kindPerform);

// The cross-sections of a SIP's conductors, mm^2, read from its marking: in "3*16+1*25"
// the number after "*" before "+" is the phase conductor and the one after "+1*" the
// neutral; a marking without a separate neutral ("4*16") gives the same number for both.
struct SipConductors
{
    double Phase = 0;
    double Neutral = 0;
};
std::optional<SipConductors> SipCrossSections(std::string_view marking);

} // namespace tormel
