#pragma once

#include "core/MessageService.h"

#include <functional>

namespace tormel {

// The program's message boxes as real modal boxes over the active window.
class QtMessageService : public IMessageService
{
public:
    void showMessage(const std::string &text) override;
    MessageAnswer askWarning(const std::string &text) override;
    MessageAnswer askQuestion(const std::string &text, bool withCancel) override;
    void showError(const std::string &text) override;

    // Runs before every box, so that the windows behind it show the state of the moment
    // the box appears (a refused power sets the status lines before its message).
    void setBeforeShow(std::function<void()> beforeShow) { m_beforeShow = std::move(beforeShow); }

private:
    void beforeShow() const;

    std::function<void()> m_beforeShow;
};

} // namespace tormel
