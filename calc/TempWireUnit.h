#pragma once

#include <string>

namespace tormel {

struct TTemperatureFactor
{
    double Kt = 1;       // multiplies the section's resistance
    std::string Refusal; // the message box's text for a temperature out of range

    bool Refused() const { return !Refusal.empty(); }
};

// Resistance factor of a section's conductor at the given temperature.
TTemperatureFactor GetTemperatureFactor(const std::string &temperature,
                                        const std::string &stuff,
                                        const std::string &kindPerform);

} // namespace tormel
