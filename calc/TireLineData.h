#pragma once

#include <span>
#include <string_view>

namespace tormel {

// One busbar trunking model: loop R and X in mOhm per metre.
struct TireModel
{
    std::string_view name;
    double r;
    double x;
};

// A busbar family: its kind text, its models in lookup order and, where its model
// list shows them in another order, that order (empty when the orders agree).
struct TireFamily
{
    std::string_view name;
    std::span<const TireModel> models;
    std::span<const std::string_view> displayOrder;
};

// The nine busbar families in the order the lookup tests them.
std::span<const TireFamily> TireFamilyTable();

} // namespace tormel
