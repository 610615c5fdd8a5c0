#pragma once

#include <string>

namespace tormel {

class IMessageService;

struct TTemperatureFactor
{
    double Kt = 1; // multiplies the section's resistance
    bool Failed = false;
};

// Resistance factor of a section's conductor at the given temperature.
TTemperatureFactor GetTemperatureFactor(const std::string &temperature,
                                        const std::string &stuff,
                                        const std::string &kindPerform,
                                        IMessageService &messages);

} // namespace tormel
