#pragma once

class QWidget;

namespace tormel {

class IHelpService;

// Help context numbers of windows and controls; 0 means none.
void setHelpContext(QWidget *widget, int context);
int helpContext(const QWidget *widget);

// The context that F1 opens for a focused control: its own, or that of the nearest
// parent that has one, up to its window.
int helpContextFor(const QWidget *focus);

// Makes F1 in `window` open the help file at the context of its focused control, or of
// the window when the control has none. Windows without a context get no help.
void installHelpKey(QWidget *window, IHelpService &help);

} // namespace tormel
