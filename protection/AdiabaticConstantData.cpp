#include "protection/ConductorHeatingData.h"

namespace tormel {

namespace {

constexpr ConductorMetal Al = ConductorMetal::Aluminium;
constexpr ConductorMetal Cu = ConductorMetal::Copper;

struct MetalRow
{
    ConductorMetal metal;
    AdiabaticConstants constants;
};

// clang-format off
// IEC 60949:1988, table I: K, A*sqrt(s)/mm^2, and beta, degrees.
constexpr MetalRow kMetals[] = {
    // metal  K      beta
    {Cu,      {226,  234.5}},
    {Al,      {148,  228}},
};
// clang-format on

} // namespace

std::optional<AdiabaticConstants> FindAdiabaticConstants(ConductorMetal metal)
{
    for (const MetalRow &row : kMetals) {
        if (row.metal == metal)
            return row.constants;
    }
    return std::nullopt;
}

} // namespace tormel
