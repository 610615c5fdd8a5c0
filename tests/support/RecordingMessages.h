#pragma once

#include "core/MessageService.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tormel::testing {

// A message service for tests: records every box with its kind and text, and answers
// questions from a queue. With the queue empty a warning answers Cancel and a question
// No (or Cancel when it offers one), so a test that forgets an answer does nothing harmful.
class RecordingMessages : public IMessageService
{
public:
    enum class Kind { Message, Warning, Question, Error };

    struct Entry
    {
        Kind kind;
        std::string text;
        bool withCancel = false;
    };

    // Called as each box is shown, to look at the program's state at that moment.
    std::function<void(const Entry &)> onShow;

    // Answers for the next warning or question boxes, in order.
    std::deque<MessageAnswer> answers;

    void showMessage(const std::string &text) override { record({Kind::Message, text}); }

    MessageAnswer askWarning(const std::string &text) override
    {
        record({Kind::Warning, text});
        return next(MessageAnswer::Cancel);
    }

    MessageAnswer askQuestion(const std::string &text, bool withCancel) override
    {
        record({Kind::Question, text, withCancel});
        return next(withCancel ? MessageAnswer::Cancel : MessageAnswer::No);
    }

    void showError(const std::string &text) override { record({Kind::Error, text}); }

    const std::vector<Entry> &entries() const { return m_entries; }

    // The texts of every box so far, in order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (const Entry &entry : m_entries)
            result.push_back(entry.text);
        return result;
    }

    void clear() { m_entries.clear(); }

private:
    void record(Entry entry)
    {
        m_entries.push_back(std::move(entry));
        if (onShow)
            onShow(m_entries.back());
    }

    MessageAnswer next(MessageAnswer fallback)
    {
        if (answers.empty())
            return fallback;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Entry> m_entries;
};

} // namespace tormel::testing
