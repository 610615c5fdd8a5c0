#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tormel {

struct TTransformerImpedance
{
    double R = 0;        // "Rт", mOhm, total over the three phases
    double X = 0;        // "Xт", mOhm
    double Z = 0;        // sqrt(R^2 + X^2)
    std::string Refusal; // the message box's text for an unknown power or scheme

    bool Refused() const { return !Refusal.empty(); }
};

// Impedance of the transformer to a single-phase fault on the low-voltage side.
// Refuses an unknown power or scheme.
TTransformerImpedance GetTransformerImpedance(const std::string &windKind, double power);

// The table cell of a scheme and power, R and X as GetTransformerImpedance gives them;
// none, without a message, where the table has no such transformer.
struct TTransformerCell
{
    double R = 0;
    double X = 0;
};
std::optional<TTransformerCell> FindTransformerCell(const std::string &windKind, double power);

// The winding schemes in the order the scheme list offers them.
const std::vector<std::string> &WindKinds();

// The power list for a scheme (its filled table cells, ascending) and the text the
// power box takes on a change of scheme. Null for an unknown scheme.
struct TransformerPowerList
{
    std::vector<std::string> items;
    std::string text;
};
const TransformerPowerList *FindTransformerPowerList(const std::string &windKind);

} // namespace tormel
