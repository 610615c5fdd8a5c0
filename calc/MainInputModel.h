#pragma once

#include "calc/CalcTypes.h"
#include "calc/LineKindCatalogue.h"
#include "core/ComboBoxState.h"

#include <array>
#include <string>
#include <vector>

namespace tormel {

class IMessageService;
struct MainStatus;

// The controls of one line row of the main window.
struct LineRowState
{
    ComboBoxState KindPerform, Stuff, QuanPar, Ff, Fn, Temperature;
    std::string Length = "0";
};

// The inputs of the main window, free of any widget: the window shows this state and
// writes the user's edits back into it.
struct MainInputModel
{
    MainInputModel(); // every control with its starting items and text

    ComboBoxState WindKind, TransPower;
    std::array<LineRowState, LineCount> Lines;
    std::string RArc = "40";

    // The texts of every input, unchanged, as the calculation reads them.
    TCalcInput ToCalcInput() const;
};

// Refills the power list for the scheme that stands in the scheme box; an unknown scheme
// is reported and leaves the power list alone.
void WindKindComboBoxChange(MainInputModel &model, MainStatus &status, IMessageService &messages);

} // namespace tormel
