#pragma once

#include "app/HelpService.h"
#include "tests/support/RecordingFileDialogs.h"
#include "tests/support/RecordingMessages.h"

#include <string>
#include <utility>
#include <vector>

namespace tormel::testing {

// Records which help topics were asked for. The message boxes and file dialogs are
// answered by the fakes every test shares; the help viewer is the desktop program's alone.
class RecordingHelp : public IHelpService
{
public:
    void showHelpTopic(const std::string &helpFile, int context) override
    {
        Topics.emplace_back(helpFile, context);
    }
    std::vector<std::pair<std::string, int>> Topics;
};

} // namespace tormel::testing
