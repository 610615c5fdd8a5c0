#pragma once

#include <string>

namespace tormel {

// Answer to a question box.
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The program's modal message boxes. The desktop program shows real boxes; the
// command-line calculator and the tests record the texts and answer from a script.
class IMessageService
{
public:
    virtual ~IMessageService() = default;

    // Plain message box captioned with the application title (input errors).
    virtual void showMessage(const std::string &text) = 0;

    // Box captioned "Warning" with the buttons "OK" and "Cancel": answers Ok or Cancel.
    virtual MessageAnswer askWarning(const std::string &text) = 0;

    // Box captioned "Внимание!" with Yes/No, or Yes/No/Cancel when withCancel is set.
    virtual MessageAnswer askQuestion(const std::string &text, bool withCancel) = 0;

    // The error box of a failed file operation or spreadsheet export: the system's
    // own reason, shown as an error.
    virtual void showError(const std::string &text) = 0;
};

} // namespace tormel
