#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tormel {

// The group of a line kind decides which lookup serves the section.
enum class LineKindGroup { Cable, Sip, Tire };

// The fifteen kind texts in the order the kind lists offer them.
const std::vector<std::string> &LineKinds();

// The group of a kind text, compared whole and case-sensitively; empty for an unknown text.
std::optional<LineKindGroup> FindLineKindGroup(const std::string &kindPerform);

// The conductor materials of cable and overhead kinds: "Алюминий", "Медь".
const std::vector<std::string> &CableMaterials();

// What the material/model list of line `line` (1..6) shows for a kind: its items, the
// text set on a change of kind, and whether the cross-section lists are enabled.
struct LineKindChoice
{
    std::vector<std::string> Items;
    std::string Text;
    bool CrossSectionsEnabled = true;
};
std::optional<LineKindChoice> ChoiceForLineKind(const std::string &kindPerform, int line);

} // namespace tormel
