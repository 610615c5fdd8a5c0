#pragma once

#include "session/FeedDocument.h"

namespace tormel {

// The recently used feed files in the user's settings of the program.
class SettingsRecentFeeds : public IRecentFeedStore
{
public:
    std::vector<std::string> loadRecentFeeds() override;
    void saveRecentFeeds(const std::vector<std::string> &paths) override;
};

} // namespace tormel
