#include "app/StatusHints.h"

#include <QEvent>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace tormel {

namespace {

// A control's status tip travels up to its window, where a main window would show it.
class StatusTipToBar : public QObject
{
public:
    StatusTipToBar(QStatusBar *bar, QObject *parent)
        : QObject(parent)
        , m_bar(bar)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::StatusTip) {
            m_bar->showMessage(static_cast<QStatusTipEvent *>(event)->tip());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QStatusBar *m_bar;
};

} // namespace

QStatusBar *hintStatusBar(QWidget *dialog, const QString &hint)
{
    auto *bar = new QStatusBar(dialog);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setStatusTip(hint);
    dialog->installEventFilter(new StatusTipToBar(bar, dialog));
    return bar;
}

} // namespace tormel
