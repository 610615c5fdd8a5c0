#pragma once

#include <string>

namespace tormel {

// Shows topic `context` of a help file. The desktop program opens its own help window;
// the tests record which topic was asked for.
class IHelpService
{
public:
    virtual ~IHelpService() = default;
    virtual void showHelpTopic(const std::string &helpFile, int context) = 0;
};

} // namespace tormel
