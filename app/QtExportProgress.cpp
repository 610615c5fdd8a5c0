#include "app/QtExportProgress.h"

#include "app/AppInfo.h"

#include <QApplication>
#include <QProgressDialog>

namespace tormel {

QtExportProgress::QtExportProgress(QWidget *parent)
    : m_parent(parent)
{
    // The arrow stays, so that "Отмена" still looks clickable.
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

QtExportProgress::~QtExportProgress()
{
    done();
}

void QtExportProgress::done()
{
    if (m_dialog)
        m_dialog->hide();
    if (m_busy)
        QApplication::restoreOverrideCursor();
    m_busy = false;
}

bool QtExportProgress::keepWaiting(std::string_view activity)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setObjectName(QStringLiteral("ExportProgressDialog"));
        m_dialog->setWindowTitle(QString::fromUtf8(ApplicationTitle));
        m_dialog->setCancelButtonText(QString::fromUtf8(ExportCancelButtonText));
        // No known end: the bar only shows that the program is working.
        m_dialog->setRange(0, 0);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumWidth(320);
    }
    const QString label
            = QString::fromUtf8(activity.data(), static_cast<qsizetype>(activity.size()));
    if (m_dialog->labelText() != label)
        m_dialog->setLabelText(label);
    if (!m_dialog->isVisible())
        m_dialog->show();
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

} // namespace tormel
