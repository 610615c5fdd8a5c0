#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string_view>

namespace tormel {

// The data of the conductors' heating in a short circuit, one table per source file.

// The temperatures, degrees Celsius, of a conductor in a short circuit: the permissible
// continuous one before it (theta i) and the permissible one at its end (theta f).
struct FaultTemperatures
{
    double Initial = 0;
    double Final = 0;
};

// The constants of the adiabatic heating of a metal: K, A*sqrt(s)/mm^2, and beta, the
// reciprocal of its temperature coefficient of resistance at 0 degrees, in degrees.
struct AdiabaticConstants
{
    double K = 0;
    double Beta = 0;
};

// The temperatures for a line kind text and metal; none for a kind not checked for heating.
std::optional<FaultTemperatures> FindFaultTemperatures(std::string_view kind, ConductorMetal metal);

// The constants of a metal; none for ConductorMetal::None.
std::optional<AdiabaticConstants> FindAdiabaticConstants(ConductorMetal metal);

} // namespace tormel
