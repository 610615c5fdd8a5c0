#pragma once

#include "session/CalculationSheet.h"

#include <string>
#include <vector>

namespace tormel {

struct NumberSeparators;
struct TCalcInput;
struct TCalcResult;
struct TFeedAnalysis;
struct TMaxCurrentInput;
struct TMaxCurrents;

// The calculation sheet's blocks of the largest fault currents: the basis, the supply and
// the transformer with their formulas written out, the currents at every point, the
// breaking capacity and the conductors' heating.
std::vector<SheetBlock> MaxCurrentsSheetBlocks(const TCalcInput &input,
                                               const TCalcResult &result,
                                               const TMaxCurrentInput &texts,
                                               const TFeedAnalysis &analysis,
                                               const TMaxCurrents &currents,
                                               const NumberSeparators &separators);

namespace SheetText {

inline constexpr std::string_view MaxCurrentsHeading
        = "6. Максимальные токи КЗ, отключающая способность и термическая стойкость";
inline constexpr std::string_view MaxCurrentsBasis
        = "Основание: ГОСТ 28249-93 (токи КЗ, среднее напряжение 400 В без коэффициента "
          "напряжения), IEC 60909-0 (ударный коэффициент κ), ГОСТ Р 50571.4.43 / IEC 60949 "
          "(коэффициент k). Проводники при 20 °C, без сопротивления контактов и дуги.";

} // namespace SheetText

} // namespace tormel
