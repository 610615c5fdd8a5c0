#include "app/HelpContext.h"

#include "app/AppInfo.h"
#include "app/HelpService.h"

#include <QApplication>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace tormel {

namespace {

constexpr char ContextProperty[] = "helpContext";

} // namespace

void setHelpContext(QWidget *widget, int context)
{
    widget->setProperty(ContextProperty, context);
}

int helpContext(const QWidget *widget)
{
    return widget->property(ContextProperty).toInt();
}

int helpContextFor(const QWidget *focus)
{
    for (const QWidget *w = focus; w; w = w->parentWidget()) {
        if (const int context = helpContext(w))
            return context;
        if (w->isWindow())
            break;
    }
    return 0;
}

void installHelpKey(QWidget *window, IHelpService &help)
{
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, &help] {
        const QWidget *focus = QApplication::focusWidget();
        if (!focus || focus->window() != window)
            focus = window;
        if (const int context = helpContextFor(focus))
            help.showHelpTopic(HelpFileName, context);
    });
}

} // namespace tormel
