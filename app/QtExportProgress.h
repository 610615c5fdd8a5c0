#pragma once

#include "report/export/SpreadsheetExport.h"

#include <memory>

class QProgressDialog;
class QWidget;

namespace tormel {

// An export as the user sees it: a busy cursor for as long as the export runs and,
// once it has to wait for the spreadsheet program, a progress window whose "Отмена"
// stops the wait. The windows keep painting meanwhile; the progress window is
// modal, so nothing else can be started while the export runs.
class QtExportProgress final : public IExportProgress
{
public:
    explicit QtExportProgress(QWidget *parent);
    ~QtExportProgress() override;
    QtExportProgress(const QtExportProgress &) = delete;
    QtExportProgress &operator=(const QtExportProgress &) = delete;

    bool keepWaiting(std::string_view activity) override;
    // Takes the progress window and the busy cursor down.
    void done() override;

    // The progress window, null until the export first waits.
    QProgressDialog *dialog() const { return m_dialog.get(); }

private:
    QWidget *m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_busy = true;
};

} // namespace tormel
