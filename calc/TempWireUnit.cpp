#include "calc/TempWireUnit.h"

#include "calc/TireLineData.h"
#include "core/NumberReading.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace tormel {

namespace {

// Temperature coefficients of resistance, per degree Celsius.
constexpr double kAluminium = 0.004;
constexpr double kCopper = 0.0043;

// The table resistances are values at this temperature.
constexpr double kReferenceTemperature = 20;
constexpr double kLowestTemperature = -70;
constexpr double kHighestTemperature = 500;

constexpr std::string_view kSipKinds[] = {"СИП-1", "СИП-2", "СИП-4"};

// The metal of a section's conductors. The later rules override the earlier ones:
// a SIP is always aluminium, and a busbar family's table decides for its models.
double alphaOf(const std::string &stuff, const std::string &kindPerform)
{
    for (const TireFamily &family : TireFamilyTable()) {
        if (family.name != kindPerform)
            continue;
        TireMetal metal = family.otherTextMetal;
        for (const TireModel &model : family.models) {
            if (model.name == stuff) {
                metal = model.metal;
                break;
            }
        }
        return metal == TireMetal::Aluminium ? kAluminium : kCopper;
    }
    if (std::find(std::begin(kSipKinds), std::end(kSipKinds), kindPerform) != std::end(kSipKinds))
        return kAluminium;
    if (stuff == "Алюминий")
        return kAluminium;
    // "Медь", and any material outside the lists: copper, the metal with the larger
    // coefficient, so an unknown conductor is never assumed to heat up less.
    return kCopper;
}

} // namespace

TTemperatureFactor GetTemperatureFactor(const std::string &temperature,
                                        const std::string &stuff,
                                        const std::string &kindPerform)
{
    const std::optional<double> t = ReadReal(temperature);
    if (!t || *t < kLowestTemperature || *t > kHighestTemperature)
        return {1, "Ошибочное значение температуры жилы кабеля, провода или шины."};
    const double alpha = alphaOf(stuff, kindPerform);
    return {1 + alpha * (*t - kReferenceTemperature), {}};
}

} // namespace tormel
