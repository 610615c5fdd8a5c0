#include "app/EditableComboBox.h"

#include "app/HelpContext.h"

#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QStringList>

namespace tormel {

namespace {

QStringList toQStringList(const std::vector<std::string> &items)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string &item : items)
        list.append(QString::fromStdString(item));
    return list;
}

// QComboBox::setEditable(true) builds the box's drop-down list at once, and a completer
// that these boxes take off again; for the main window's 38 boxes that was about a third
// of the time to its first paint. A box given a line edit of its own builds its list
// when the list first opens (the list is then the same), and a line edit that already
// has a completer keeps it instead of getting a new one: this placeholder, shared and
// taken off each box right away.
QCompleter *placeholderCompleter()
{
    static QPointer<QCompleter> placeholder;
    if (!placeholder)
        placeholder = new QCompleter(QCoreApplication::instance());
    return placeholder;
}

} // namespace

QStringList itemsOf(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

QComboBox *
editableComboBox(const QString &name, const QString &hint, int helpContext, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    auto *edit = new QLineEdit(box);
    edit->setCompleter(placeholderCompleter());
    box->setLineEdit(edit);
    box->setCompleter(nullptr);
    if (!box->testAttribute(Qt::WA_Resized))
        box->adjustSize();
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(16);
    box->setStatusTip(hint);
    setHelpContext(box, helpContext);
    return box;
}

void onUserEdit(QComboBox *box, QObject *context, std::function<void(const std::string &)> edited)
{
    auto report = [box, edited = std::move(edited)] { edited(box->currentText().toStdString()); };
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, context, report);
    QObject::connect(box, &QComboBox::activated, context, report);
}

void showComboBoxState(QComboBox *box,
                       const std::vector<std::string> &items,
                       const std::string &text)
{
    const QSignalBlocker blocker(box);
    const QStringList list = toQStringList(items);
    const QString value = QString::fromStdString(text);
    if (itemsOf(box) != list) {
        box->clear();
        box->addItems(list);
        box->setEditText(value);
    }
    if (box->currentText() != value) {
        const int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0 && index != box->currentIndex())
            box->setCurrentIndex(index);
        if (box->currentText() != value)
            box->setEditText(value);
    }
}

void bindComboBoxText(QComboBox *box,
                      std::string &text,
                      QObject *context,
                      std::function<void()> changed)
{
    std::string *target = &text;
    onUserEdit(box, context, [target, changed = std::move(changed)](const std::string &edited) {
        if (edited == *target)
            return;
        *target = edited;
        if (changed)
            changed();
    });
}

} // namespace tormel
