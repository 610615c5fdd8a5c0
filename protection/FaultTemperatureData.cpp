#include "protection/ConductorHeatingData.h"

namespace tormel {

namespace {

constexpr ConductorMetal Al = ConductorMetal::Aluminium;
constexpr ConductorMetal Cu = ConductorMetal::Copper;

struct TemperatureRow
{
    std::string_view kind;
    ConductorMetal metal;
    FaultTemperatures temperatures;
};

// clang-format off
// Conductor temperatures in a short circuit, degrees Celsius: before it, the permissible
// continuous temperature of the insulation (ГОСТ 31996-2012 PVC, ГОСТ 18410-73 paper up to
// 1 kV, ПУЭ 1.3.22 bare wires, ГОСТ 31946-2012 SIP); at its end, the permissible
// short-circuit temperature (ГОСТ Р 52736-2007; ГОСТ 31946-2012 for SIP: 135 for
// thermoplastic and 250 for cross-linked polyethylene). PVC gives k = 115 copper and 76
// aluminium, as IEC 60364-4-43 table 43A does.
constexpr TemperatureRow kTemperatures[] = {
    // kind                            metal  before  at the end
    {"Кабель с ПВХ изоляцией",         Cu,    {70,    160}},
    {"Кабель с ПВХ изоляцией",         Al,    {70,    160}},
    {"Кабель с бумажной изоляцией",    Cu,    {80,    200}},
    {"Кабель с бумажной изоляцией",    Al,    {80,    200}},
    {"Воздушная",                      Cu,    {70,    250}},
    {"Воздушная",                      Al,    {70,    200}},
    {"СИП-1",                          Al,    {70,    135}},
    {"СИП-2",                          Al,    {90,    250}},
    {"СИП-4",                          Al,    {70,    135}},
};
// clang-format on

} // namespace

std::optional<FaultTemperatures> FindFaultTemperatures(std::string_view kind, ConductorMetal metal)
{
    for (const TemperatureRow &row : kTemperatures) {
        if (row.kind == kind && row.metal == metal)
            return row.temperatures;
    }
    return std::nullopt;
}

} // namespace tormel
