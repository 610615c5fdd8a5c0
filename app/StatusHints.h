#pragma once

class QStatusBar;
class QString;
class QWidget;

namespace tormel {

// A status bar for a dialog: like a main window's, it shows the hint of the control
// under the mouse pointer (its status tip). The bar's own hint is `hint`; the caller
// places the bar in the dialog's layout.
QStatusBar *hintStatusBar(QWidget *dialog, const QString &hint);

} // namespace tormel
