#include "calc/TempWireUnit.h"

#include "core/MessageService.h"
#include "core/NumberReading.h"

#include <algorithm>
#include <optional>
#include <span>
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

// The metal of a busbar family's models: the listed models have one metal, every
// other text (another model of the family or no model at all) has the other one.
struct FamilyMetals
{
    std::string_view family;
    std::span<const std::string_view> listed;
    double listedAlpha;
    double otherAlpha;
};

// clang-format off
constexpr std::string_view kCanalisAluminium[] = {
    "KN, 40A", "KN, 63A", "KN, 100A", "KN, 160A",
    "KS, 100A", "KS, 160A", "KS, 250A", "KS, 400A", "KS, 500A", "KS, 630A", "KS, 800A", "KS, 1000A",
    "KTA, 800A", "KTA, 1000A", "KTA, 1250A", "KTA, 1600A", "KTA, 2000A", "KTA, 2500A", "KTA, 3200A",
    "KTA, 4000A",
};

constexpr std::string_view kELineAluminium[] = {
    "KB 08, 800A", "KB 10, 1000A", "KB 12, 1250A", "KB 13, 1600A", "KB 16, 1600A", "KB 20, 2000A",
    "KB 25, 2500A", "KB 27, 3050A", "KB 30, 3100A", "KB 40, 4000A", "KB 41, 4250A",
    "KOA 01, 160A", "KOA 02, 250A", "KOA 03, 315A", "KOA 04, 400A", "KOA 05, 500A", "KOA 06, 600A",
};

constexpr std::string_view kGersanAluminium[] = {
    "GGDA, 160A", "GGDA, 250A", "GGDA, 315A", "GGDA, 400A", "GGDA, 500A", "GGDA, 630A",
    "GGDA, 800A", "GGDA, 1000A",
    "GSA, 800A", "GSA, 1000A", "GSA, 1250A", "GSA, 1600A", "GSA, 2000A", "GSA, 2500A", "GSA, 3200A",
    "GSA, 4000A",
    "GCA, 800A", "GCA, 1000A", "GCA, 1250A", "GCA, 1600A", "GCA, 2000A", "GCA, 2500A", "GCA, 3200A",
    "GCA, 4000A",
};

constexpr std::string_view kNaxsoCopper[] = {
    "NXW, 500A", "NXW, 800A", "NXW, 1000A", "NXW, 1250A", "NXW, 1600A", "NXW, 2000A", "NXW, 2500A",
    "NXW, 3200A", "NXW, 4000A", "NXW, 5000A", "NXW, 6300A",
    "BP, 40A", "BP, 63A", "BP, 100A", "BP, 160A", "BP, 250A",
    "BPK, 250A", "BPK, 315A", "BPK, 400A",
    "BPG, 250A", "BPG, 315A", "BPG, 400A", "BPG, 500A", "BPG, 630A", "BPG, 800A", "BPG, 1000A",
};

constexpr std::string_view kLv70Aluminium[] = {
    "BD01, 40A", "BD01, 63A", "BD01, 100A", "BD01, 125A",
    "BD2A, 160A", "BD2A, 250A", "BD2A, 315A", "BD2A, 400A", "BD2A, 500A", "BD2A, 630A",
    "BD2A, 800A", "BD2A, 1000A",
};

constexpr std::string_view kWaveProAluminium[] = {
    "LT(Al), 100A", "LT(Al), 160A", "LT(Al), 200A", "LT(Al), 250A", "LT(Al), 400A", "LT(Al), 500A",
    "LT(Al), 630A", "LT(Al), 800A", "LT(Al), 1000A", "LT(Al), 1250A", "LT(Al), 1350A",
    "LT(Al), 1600A", "LT(Al), 2000A", "LT(Al), 2500A", "LT(Al), 3150A", "LT(Al), 3800A",
    "LT(Al), 4000A",
};

constexpr std::string_view kLsCableAluminium[] = {
    "LS(Al), 630A", "LS(Al), 800A", "LS(Al), 1000A", "LS(Al), 1250A", "LS(Al), 1600A",
    "LS(Al), 2000A", "LS(Al), 2500A", "LS(Al), 3200A", "LS(Al), 3600A", "LS(Al), 4000A",
    "LS(Al), 5000A", "LS(Al), 6000A",
};

constexpr std::string_view kShmaShraAluminium[] = {
    "ШМА4, 1250A", "ШМА4, 1600A", "ШМА4, 2000A", "ШМА4, 2500A", "ШМА4, 3200A", "ШМА4, 4000A",
    "ШМА5, 250A", "ШМА5, 400A", "ШМА5, 630A", "ШМА5, 1250A", "ШМА5, 1600A", "ШМА5, 2500A",
    "ШМА5, 3200A",
    "ШМА68П, 2500A", "ШМА68П, 4000A",
    "ШРА73, 250A", "ШРА73, 400A", "ШРА73, 630A",
};

constexpr FamilyMetals kFamilies[] = {
    // family                 listed models         their metal  every other text
    {"Шинопровод Canalis",    kCanalisAluminium,    kAluminium,  kCopper},
    {"Шинопровод E-line",     kELineAluminium,      kAluminium,  kCopper},
    {"Шинопровод Gersan",     kGersanAluminium,     kAluminium,  kCopper},
    {"Шинопровод MEMPOWER",   {},                   kCopper,     kCopper},
    {"Шинопровод Naxso",      kNaxsoCopper,         kCopper,     kAluminium},
    {"Шинопровод LV70",       kLv70Aluminium,       kAluminium,  kCopper},
    {"Шинопровод WavePro",    kWaveProAluminium,    kAluminium,  kCopper},
    {"Шинопровод LS Cable",   kLsCableAluminium,    kAluminium,  kCopper},
    {"Шинопровод ШМА, ШРА",   kShmaShraAluminium,   kAluminium,  kCopper},
};
// clang-format on

constexpr std::string_view kSipKinds[] = {"СИП-1", "СИП-2", "СИП-4"};

// The metal of a section's conductors. The later rules override the earlier ones:
// a SIP is always aluminium, and a busbar family's table decides for its models.
double alphaOf(const std::string &stuff, const std::string &kindPerform)
{
    for (const FamilyMetals &family : kFamilies) {
        if (family.family == kindPerform) {
            const bool listed = std::find(family.listed.begin(), family.listed.end(), stuff)
                                != family.listed.end();
            return listed ? family.listedAlpha : family.otherAlpha;
        }
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
                                        const std::string &kindPerform,
                                        IMessageService &messages)
{
    const std::optional<double> t = ReadReal(temperature);
    if (!t || *t < kLowestTemperature || *t > kHighestTemperature) {
        messages.showMessage("Ошибочное значение температуры жилы кабеля, провода или шины.");
        return {1, true};
    }
    const double alpha = alphaOf(stuff, kindPerform);
    return {1 + alpha * (*t - kReferenceTemperature), false};
}

} // namespace tormel
