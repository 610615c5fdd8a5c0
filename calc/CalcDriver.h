#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string>

namespace tormel {

// The step of a calculation that refused its texts, in the order they are checked.
enum class CalcStep { None, Power, Transformer, Line, Length, Parallel, Arc, Temperature, Sum };

// What one calculation gives: the new result, or a refusal.
struct CalcOutcome
{
    // Empty when the calculation was refused. Isr and TimeSR are left at their defaults:
    // they belong to the protection device, not to the calculation.
    std::optional<TCalcResult> Result;
    // The text of the refusal's message box, and the step that refused.
    std::string Refusal;
    CalcStep RefusedAt = CalcStep::None;
};

// Validates the texts of one calculation in their fixed order, sums the phase-to-neutral
// loop and computes the single-phase short-circuit current, or gives the first refusal.
CalcOutcome CalculateShortCircuit(const TCalcInput &input);

} // namespace tormel
