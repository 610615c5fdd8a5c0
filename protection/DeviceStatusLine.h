#pragma once

#include <optional>
#include <string>

namespace tormel {

enum class StatusColor { Black, Red };

// The main window's device status line as a step of the device check leaves it.
struct TDeviceStatusLine
{
    std::string Text;
    std::optional<StatusColor> Color; // empty: the colour stays as it was
};

} // namespace tormel
