#pragma once

#include <string>

namespace tormel {

// The texts of the result window's page "Аппарат защиты", which the protection
// device check writes and the result window only shows.
struct TDeviceDefencePage
{
    std::string TypeDD = "---";
    std::string Toknom = "---";
    std::string KZ = "---";
    std::string TokSR = "---";
    std::string TimeSR = "---";
    std::string Status = "в расчете не определен.";
};

} // namespace tormel
