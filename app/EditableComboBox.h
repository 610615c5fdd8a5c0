#pragma once

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QObject;
class QString;
class QWidget;

namespace tormel {

// An editable combo box whose items are only suggestions: Enter does not add the typed
// text to them, and nothing completes the typed text into an item behind the user's back.
QComboBox *
editableComboBox(const QString &name, const QString &hint, int helpContext, QWidget *parent);

// Calls `edited` with the box's text after each keystroke and each pick from the list,
// never for texts the program sets. The box also reports a "pick" when Enter is pressed
// in it, so `edited` must itself ignore a text that did not change.
void onUserEdit(QComboBox *box, QObject *context, std::function<void(const std::string &)> edited);

// Shows `items` and `text` without raising any change. An unchanged text is left alone,
// which keeps the cursor where the user is typing.
void showComboBoxState(QComboBox *box,
                       const std::vector<std::string> &items,
                       const std::string &text);

// Keeps `text` what the user typed or picked in `box`: each edit that changes it
// stores the new text and then calls `changed`.
void bindComboBoxText(QComboBox *box,
                      std::string &text,
                      QObject *context,
                      std::function<void()> changed);

// The texts of the box's list, in order.
QStringList itemsOf(const QComboBox *box);

} // namespace tormel
