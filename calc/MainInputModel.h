#pragma once

#include "calc/CalcTypes.h"
#include "calc/LineKindCatalogue.h"
#include "core/ComboBoxState.h"

#include <array>
#include <string>
#include <vector>

namespace tormel {

class IMessageService;

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

    // Refills the power list for the scheme that stands in the scheme box. An unknown
    // scheme is reported, leaves the power list alone and gives false.
    bool WindKindComboBoxChange(IMessageService &messages);

    // Brings line `line`'s (1..6) material/model list and cross-section lists into line
    // with the text of its kind list. An unknown kind is reported, leaves the lists alone
    // and gives false; a line number out of range changes nothing.
    bool ApplyLineKind(int line, IMessageService &messages);
};

} // namespace tormel
