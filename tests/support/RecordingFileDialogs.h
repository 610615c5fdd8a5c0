#pragma once

#include "core/FileDialogService.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tormel::testing {

// The file dialog service of every test: answers each dialog with the next path of a
// queue, cancelling once the queue is empty, and records what each dialog offered.
class RecordingFileDialogs : public IFileDialogService
{
public:
    struct Dialog
    {
        bool save;
        std::vector<FileFilter> filters;
        std::string defaultExtension;

        // The type list as "Description|Pattern" texts, for comparing in one line.
        std::vector<std::string> filterTexts() const
        {
            std::vector<std::string> result;
            for (const FileFilter &filter : filters)
                result.push_back(filter.Description + "|" + filter.Pattern);
            return result;
        }
    };

    // Answers for the next dialogs, in order; nothing stands for the user's Cancel.
    std::deque<std::optional<std::string>> paths;

    std::optional<std::string> askSaveFileName(const FileFilter &filter,
                                               const std::string &defaultExtension) override
    {
        m_dialogs.push_back({true, {filter}, defaultExtension});
        return next();
    }

    std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &filters,
                                               const std::string &defaultExtension) override
    {
        m_dialogs.push_back({false, filters, defaultExtension});
        return next();
    }

    const std::vector<Dialog> &dialogs() const { return m_dialogs; }
    const Dialog &last() const { return m_dialogs.back(); }

    int saveDialogs() const { return count(true); }
    int openDialogs() const { return count(false); }

    void clear() { m_dialogs.clear(); }

private:
    int count(bool save) const
    {
        return int(std::count_if(m_dialogs.begin(), m_dialogs.end(), [save](const Dialog &dialog) {
            return dialog.save == save;
        }));
    }

    std::optional<std::string> next()
    {
        if (paths.empty())
            return std::nullopt;
        std::optional<std::string> path = std::move(paths.front());
        paths.pop_front();
        return path;
    }

    std::vector<Dialog> m_dialogs;
};

} // namespace tormel::testing
