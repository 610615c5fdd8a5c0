#pragma once

#include <string>
#include <vector>

namespace tormel {

// One editable combo box: its suggestions, the text that stands in it, and whether it
// takes input. Windows whose boxes are enabled by group keep that state beside them.
struct ComboBoxState
{
    std::vector<std::string> Items;
    std::string Text;
    bool Enabled = true;
};

} // namespace tormel
