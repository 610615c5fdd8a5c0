#pragma once

#include "app/EditableComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>

namespace tormel::testing {

// Runs `inspect` on the modal window as soon as its event loop runs. Whatever `inspect`
// does, the window is closed afterwards, so a test that fails cannot hang in it.
inline void whenModal(std::function<void(QWidget *modal)> inspect)
{
    QMetaObject::invokeMethod(
            qApp,
            [inspect = std::move(inspect)] {
                QWidget *modal = QApplication::activeModalWidget();
                inspect(modal);
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                    dialog && dialog == modal)
                    dialog->done(QDialog::Rejected);
            },
            Qt::QueuedConnection);
}

// Picks an item from a combo box's list the way a user does: opens the list, moves to
// the item and presses Enter.
inline bool pickItem(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    box->showPopup();
    QAbstractItemView *view = box->view();
    if (!view->isVisible())
        return false;
    view->setCurrentIndex(view->model()->index(index, box->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
    return !view->isVisible();
}

// Types `text` key by key into `widget`; unlike QTest::keyClicks it takes any letter,
// Cyrillic included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        const Qt::Key key = ch.isDigit() || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z')
                                    ? Qt::Key(ch.toUpper().unicode())
                                    : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
    }
}

// Replaces the text of an edit field key by key, as a user who selects it and types over
// it: the first key replaces the whole text.
inline void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
}

// The pointer comes to rest on `widget`, as far as the widget can tell: it receives the
// enter event that shows its hint. Offscreen, moving the real pointer over a dialog would
// reach the main window under it instead.
inline void hover(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent enter(centre, widget->mapTo(widget->window(), centre), widget->mapToGlobal(centre));
    QCoreApplication::sendEvent(widget, &enter);
}

// Top-level widgets that are still shown.
inline QStringList visibleTopLevels()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            names << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                : w->objectName());
    return names;
}

} // namespace tormel::testing
