#pragma once

#include <QColor>
#include <QString>

#include <initializer_list>
#include <string_view>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace tormel {

// The program's own texts are UTF-8.
inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The dark red of captions and column headings.
inline const QColor Maroon(128, 0, 0);

// A label in the window's caption style: dark red serif text.
QLabel *captionLabel(const QString &text, QWidget *parent);

// Sets the colour of a widget's text (a label's WindowText).
void setTextColor(QWidget *widget, const QColor &color);

void setBold(QWidget *widget, bool bold = true);
void setSerif(QWidget *widget);

// Places a window in the middle of the screen it is on (the primary one before it is shown).
void centreOnScreen(QWidget *window);

// The buttons at the foot of a dialog, each at least `minimumWidth` wide, with equal room
// before, between and after them so that the row sits in the middle.
QHBoxLayout *centredButtonRow(std::initializer_list<QPushButton *> buttons, int minimumWidth);

} // namespace tormel
