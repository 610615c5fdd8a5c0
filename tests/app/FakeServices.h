#pragma once

#include "app/HelpService.h"
#include "core/FileDialogService.h"
#include "core/MessageService.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tormel::testing {

// Records every message box in order and answers questions from a script.
class ScriptedMessages : public IMessageService
{
public:
    void showMessage(const std::string &text) override { shown(text); }
    MessageAnswer askWarning(const std::string &text) override
    {
        shown(text);
        return next(MessageAnswer::Ok);
    }
    MessageAnswer askQuestion(const std::string &text, bool) override
    {
        shown(text);
        return next(MessageAnswer::Yes);
    }
    void showError(const std::string &text) override { shown(text); }

    std::vector<std::string> Shown;
    std::deque<MessageAnswer> Answers;
    // Runs as each box appears, while the code that raised it waits for the answer.
    std::function<void(const std::string &)> OnShow;

private:
    void shown(const std::string &text)
    {
        Shown.push_back(text);
        if (OnShow)
            OnShow(text);
    }
    MessageAnswer next(MessageAnswer fallback)
    {
        if (Answers.empty())
            return fallback;
        const MessageAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// Records which help topics were asked for.
class RecordingHelp : public IHelpService
{
public:
    void showHelpTopic(const std::string &helpFile, int context) override
    {
        Topics.emplace_back(helpFile, context);
    }
    std::vector<std::pair<std::string, int>> Topics;
};

// Answers the file dialogs from a script of paths (nothing: the user cancelled) and
// records what each dialog offered.
class ScriptedFileDialogs : public IFileDialogService
{
public:
    struct Shown
    {
        bool Save;
        std::vector<std::string> Filters; // "Description|Pattern"
        std::string DefaultExtension;
    };

    std::optional<std::string> askSaveFileName(const FileFilter &filter,
                                               const std::string &defaultExtension) override
    {
        Dialogs.push_back({true, {filter.Description + "|" + filter.Pattern}, defaultExtension});
        return next();
    }
    std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &filters,
                                               const std::string &defaultExtension) override
    {
        Shown shown{false, {}, defaultExtension};
        for (const FileFilter &filter : filters)
            shown.Filters.push_back(filter.Description + "|" + filter.Pattern);
        Dialogs.push_back(std::move(shown));
        return next();
    }

    std::deque<std::optional<std::string>> Paths;
    std::vector<Shown> Dialogs;

private:
    std::optional<std::string> next()
    {
        if (Paths.empty())
            return std::nullopt;
        std::optional<std::string> path = Paths.front();
        Paths.pop_front();
        return path;
    }
};

} // namespace tormel::testing
