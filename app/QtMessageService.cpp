#include "app/QtMessageService.h"

#include "app/AppInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tormel {

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

// Every box is owned by the window the user works in, so it is centred over it and
// blocks it; before the main window exists there is none.
QWidget *ownerWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void QtMessageService::beforeShow() const
{
    if (m_beforeShow)
        m_beforeShow();
}

void QtMessageService::showMessage(const std::string &text)
{
    beforeShow();
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf8(ApplicationTitle),
                    fromUtf8(text),
                    QMessageBox::Ok,
                    ownerWindow());
    box.exec();
}

MessageAnswer QtMessageService::askWarning(const std::string &text)
{
    beforeShow();
    // The warning box keeps its English caption and button texts in the Russian program.
    QMessageBox box(QMessageBox::Warning,
                    QStringLiteral("Warning"),
                    fromUtf8(text),
                    QMessageBox::NoButton,
                    ownerWindow());
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

MessageAnswer QtMessageService::askQuestion(const std::string &text, bool withCancel)
{
    beforeShow();
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question,
                    QStringLiteral("Внимание!"),
                    fromUtf8(text),
                    buttons,
                    ownerWindow());
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        // The close box and Escape count as "No" when the box has no "Cancel".
        return withCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
}

void QtMessageService::showError(const std::string &text)
{
    beforeShow();
    QMessageBox box(QMessageBox::Critical,
                    QString::fromUtf8(ApplicationTitle),
                    fromUtf8(text),
                    QMessageBox::Ok,
                    ownerWindow());
    box.exec();
}

} // namespace tormel
