#pragma once

#include "core/MessageService.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tormel::testing {

// What a warning or question box answers when the test scripted no answer for it.
enum class Unscripted {
    Close,  // as closing the box: a warning Cancel, a question Cancel (or No without Cancel)
    Accept, // as the default button: a warning Ok, a question Yes
};

// The message service of every test: records each box with its kind and text, and answers
// warnings and questions from a queue, then as the test chose at construction. By default
// an unscripted box is closed, so a test that forgets an answer does nothing harmful.
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

    explicit RecordingMessages(Unscripted unscripted = Unscripted::Close)
        : m_unscripted(unscripted)
    {}

    // Called as each box is shown, while the code that raised it waits for the answer.
    std::function<void(const Entry &)> onShow;

    // Answers for the next warning or question boxes, in order.
    std::deque<MessageAnswer> answers;

    void showMessage(const std::string &text) override { record({Kind::Message, text}); }

    MessageAnswer askWarning(const std::string &text) override
    {
        record({Kind::Warning, text});
        return next(m_unscripted == Unscripted::Accept ? MessageAnswer::Ok : MessageAnswer::Cancel);
    }

    MessageAnswer askQuestion(const std::string &text, bool withCancel) override
    {
        record({Kind::Question, text, withCancel});
        if (m_unscripted == Unscripted::Accept)
            return next(MessageAnswer::Yes);
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

    Unscripted m_unscripted;
    std::vector<Entry> m_entries;
};

} // namespace tormel::testing
