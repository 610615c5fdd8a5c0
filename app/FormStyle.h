#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QWidget;

namespace tormel {

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

} // namespace tormel
