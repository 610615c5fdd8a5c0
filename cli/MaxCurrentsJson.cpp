#include "cli/MaxCurrentsJson.h"

#include "protection/MaxCurrents.h"

namespace tormel::cli {

namespace {

using Json = nlohmann::ordered_json;

template<typename T>
Json optional(const std::optional<T> &value)
{
    return value ? Json(*value) : Json(nullptr);
}

template<typename Values>
Json list(const Values &values)
{
    Json items = Json::array();
    for (const auto &value : values) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, double>)
            items.push_back(value);
        else
            items.push_back(optional(value));
    }
    return items;
}

} // namespace

Json MaxCurrentsJson(const TMaxCurrents &currents)
{
    Json z1t = currents.Z1T ? Json{{"R", currents.Z1T->R}, {"X", currents.Z1T->X}} : Json(nullptr);
    Json breaking = nullptr;
    if (currents.Breaking) {
        const TBreakingCheck &check = *currents.Breaking;
        breaking = Json{{"Imax", check.Imax},
                        {"Icu", check.Icu},
                        {"Margin", check.Margin},
                        {"Ok", check.Ok}};
    }
    Json thermal = Json::array();
    for (const std::optional<TSectionWithstand> &entry : currents.Thermal) {
        if (!entry) {
            thermal.push_back(nullptr);
            continue;
        }
        thermal.push_back(Json{{"K", entry->K},
                               {"Current", entry->Current},
                               {"Time", optional(entry->Time)},
                               {"Smin", optional(entry->Smin)},
                               {"Capacity", entry->Capacity},
                               {"TimeAtMax", entry->TimeAtMax},
                               {"Ok", optional(entry->Ok)}});
    }
    return Json{{"Z1T", std::move(z1t)},
                {"Ik3", list(currents.Ik3)},
                {"Ik1", list(currents.Ik1)},
                {"Ip", list(currents.Ip)},
                {"Breaking", std::move(breaking)},
                {"Thermal", std::move(thermal)}};
}

} // namespace tormel::cli
