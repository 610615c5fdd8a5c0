#pragma once

#include "calc/CalcTypes.h"

#include <functional>

namespace tormel {

class IMessageService;
struct MainStatus;

// The steps after a successful calculation that belong to other parts of the program.
// An empty hook is skipped; the point-name dialog opens only when both of its hooks are
// set and the first answers true.
struct CalcDriverHooks
{
    std::function<void()> DeviceVerdict; // judges the protection device on the new Iokz
    std::function<void(const TCalcInput &, const TCalcResult &)> FillResultWindow;
    std::function<bool()> PointNameDialogChecked;
    std::function<void()> ShowPointNameDialog;
};

// Validates the texts of one calculation in their fixed order, sums the phase-to-neutral
// loop and computes the single-phase short-circuit current. On success `result` is
// replaced (except Isr and TimeSR), the result line and both result menu items are set
// and the hooks run; on failure one message box has been shown, `result` is untouched
// and the status lines ask for a new calculation. Returns whether it succeeded.
bool CalculateShortCircuit(const TCalcInput &input,
                           TCalcResult &result,
                           MainStatus &status,
                           IMessageService &messages,
                           const CalcDriverHooks &hooks = {});

} // namespace tormel
