#pragma once

#include <span>
#include <string_view>

namespace tormel {

// The conductor metal, which decides how the resistance follows the temperature.
enum class TireMetal { Aluminium, Copper };

// One busbar trunking model: loop R and X in mOhm per metre, and its metal.
struct TireModel
{
    std::string_view name;
    double r;
    double x;
    TireMetal metal;
};

// A busbar family: its kind text, its models in lookup order and, where its model
// list shows them in another order, that order (empty when the orders agree); and the
// metal taken for a text that is none of its models.
struct TireFamily
{
    std::string_view name;
    std::span<const TireModel> models;
    std::span<const std::string_view> displayOrder;
    TireMetal otherTextMetal;
};

// The nine busbar families in the order the lookup tests them.
std::span<const TireFamily> TireFamilyTable();

} // namespace tormel
