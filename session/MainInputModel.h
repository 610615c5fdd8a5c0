#pragma once

#include "calc/CalcTypes.h"
#include "calc/LineKindCatalogue.h"
#include "session/ComboBoxState.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tormel {

// The suggestions of one line row's combo boxes, and whether its cross-section boxes
// take input; the texts standing in the row are the section's TLineInput.
struct LineRowLists
{
    std::vector<std::string> KindPerform, Stuff, QuanPar, Ff, Fn, Temperature;
    bool CrossSectionsEnabled = true;
};

// The inputs of the main window, free of any widget: the window shows this state and
// writes the user's edits back into it.
struct MainInputModel
{
    MainInputModel(); // every control with its starting items and text

    ComboBoxState WindKind, TransPower;
    std::array<TLineInput, LineCount> Lines;
    std::array<LineRowLists, LineCount> LineLists;
    std::string RArc = "40";

    // The texts of every input, unchanged, as the calculation reads them.
    TCalcInput ToCalcInput() const;

    // Refills the power list for the scheme that stands in the scheme box. An unknown
    // scheme leaves the power list alone and gives the refusal's text.
    std::optional<std::string> WindKindComboBoxChange();

    // Brings line `line`'s (1..6) material/model list and cross-section lists into line
    // with the text of its kind list. An unknown kind leaves the lists alone and gives the
    // refusal's text; a line number out of range changes nothing.
    std::optional<std::string> ApplyLineKind(int line);
};

} // namespace tormel
