#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string>

namespace tormel {

class IMessageService;

// What one calculation gives: the new result, or a refusal.
struct CalcOutcome
{
    // Empty when the calculation was refused. Isr and TimeSR are left at their defaults:
    // they belong to the protection device, not to the calculation.
    std::optional<TCalcResult> Result;
    // A refused power text is the one refusal whose message box follows the failure
    // texts of the main window instead of preceding them, so it is handed back to be
    // shown after them. Every other refusal's message box has been shown already.
    std::string MessageAfterFailureTexts;
};

// Validates the texts of one calculation in their fixed order, sums the phase-to-neutral
// loop and computes the single-phase short-circuit current. A refusal shows at most one
// message box (see CalcOutcome for the one that is handed back instead).
CalcOutcome CalculateShortCircuit(const TCalcInput &input, IMessageService &messages);

} // namespace tormel
