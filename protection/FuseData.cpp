#include "protection/FuseData.h"

#include <array>

namespace tormel {

namespace {

// clang-format off

// Rated current text, table key (its whole part), melting current within 5 s and
// within 0.4 s; currents in A.
constexpr std::array<FuseRatedCurrentData, 24> PpnFuses{{
    {"2",       2,     9,    16},
    {"4",       4,    19,    32},
    {"6",       6,    28,    50},
    {"10",     10,    44,    70},
    {"16",     16,    54,   120},
    {"20",     20,    58,   140},
    {"25",     25,   110,   190},
    {"32",     32,   150,   250},
    {"40",     40,   190,   320},
    {"50",     50,   260,   460},
    {"63",     63,   330,   600},
    {"80",     80,   420,   750},
    {"100",   100,   600,  1000},
    {"125",   125,   700,  1300},
    {"160",   160,  1000,  1900},
    {"200",   200,  1200,  2400},
    {"250",   250,  1600,  3000},
    {"315",   315,  2000,  3800},
    {"400",   400,  2800,  6000},
    {"500",   500,  3500,  7500},
    {"630",   630,  4800,  9000},
    {"800",   800,  7000, 12000},
    {"1000", 1000,  8000, 17000},
    {"1250", 1250, 12000, 22000},
}};

constexpr std::array<FuseRatedCurrentData, 15> Pn2Fuses{{
    {"31.5",   31,   400,   940},
    {"40",     40,   500,  1100},
    {"50",     50,   600,  1300},
    {"63",     63,   700,  1700},
    {"80",     80,   800,  2000},
    {"100",   100,   950,  2300},
    {"125",   125,  1100,  2700},
    {"160",   160,  1500,  3200},
    {"200",   200,  2000,  4400},
    {"250",   250,  2600,  5000},
    {"315",   315,  3000,  6000},
    {"355",   355,  3300,  7000},
    {"400",   400,  4000,  8000},
    {"500",   500,  5000, 11000},
    {"630",   630,  6000, 14000},
}};

constexpr std::array<FuseRatedCurrentData, 8> NpnFuses{{
    {"6.3",     6,    55,    80},
    {"10",     10,    70,   110},
    {"16",     16,    80,   120},
    {"20",     20,    90,   150},
    {"25",     25,   100,   180},
    {"31.5",   31,   110,   200},
    {"40",     40,   130,   240},
    {"63",     63,   180,   300},
}};

constexpr std::array<FuseTypeData, 3> Types{{
    {"ППН", "Плавкий предохранитель (ППН)", PpnFuses},
    {"ПН2", "Плавкий предохранитель (ПН2)", Pn2Fuses},
    {"НПН", "Плавкий предохранитель (НПН)", NpnFuses},
}};

// The rated currents of circuit breakers, A, in the order of the device window's list.
constexpr std::array<std::string_view, 29> BreakerRatedCurrents{
    "1",   "2",   "3",   "4",   "5",   "6",   "8",    "10",   "13",  "16",
    "20",  "25",  "32",  "40",  "50",  "63",  "80",   "100",  "125", "160",
    "200", "250", "320", "400", "630", "800", "1000", "1250", "1600"};

// clang-format on

} // namespace

std::span<const std::string_view> BreakerRatedCurrentTexts()
{
    return BreakerRatedCurrents;
}

std::span<const FuseTypeData> FuseTypes()
{
    return Types;
}

const FuseTypeData *FindFuseType(std::string_view name)
{
    for (const FuseTypeData &type : Types) {
        if (type.Name == name)
            return &type;
    }
    return nullptr;
}

std::optional<double>
FuseMeltingCurrent(const FuseTypeData &type, FuseTimeClass timeClass, double key)
{
    for (const FuseRatedCurrentData &row : type.RatedCurrents) {
        if (row.Key == key)
            return timeClass == FuseTimeClass::Time5s ? row.Imelt5s : row.Imelt04s;
    }
    return std::nullopt;
}

} // namespace tormel
