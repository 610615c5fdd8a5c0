#pragma once

#include <nlohmann/json.hpp>

namespace tormel {
struct TMaxCurrents;
}

namespace tormel::cli {

// "MaxCurrents" of one result: the largest fault currents, the breaking capacity check and
// the conductors' heating, every number as the double it is.
nlohmann::ordered_json MaxCurrentsJson(const TMaxCurrents &currents);

} // namespace tormel::cli
