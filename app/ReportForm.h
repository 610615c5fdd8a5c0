#pragma once

#include <QDialog>

#include <functional>

class QMenuBar;
class QModelIndex;
class QTableView;

namespace tormel {

class IFileDialogService;
class IHelpService;
class ReportGridModel;
class TormelSession;
struct SpreadsheetPrograms;

// The report window: the grid of points, the buttons that move and delete rows, and the
// menu "Файл" that starts, saves, opens and exports reports. The grid shows the session's
// report table, the only copy of the report; every button and menu item forwards to a
// session command, and the window shows the table and its caption again whenever the
// session announces a change of the report.
class TReportForm : public QDialog
{
    Q_OBJECT

public:
    TReportForm(TormelSession &session,
                IFileDialogService &dialogs,
                SpreadsheetPrograms &spreadsheets,
                IHelpService &help,
                QWidget *parent = nullptr);
    ~TReportForm() override;

    // Shows the table, its selected row and the caption.
    void showState();
    // Shows the report and opens the window modally, centred on the screen.
    int showModal();

signals:
    // "Удалить все" opens the delete confirmation; connected as this window is built, the
    // confirmation itself is built when first opened.
    void deleteAllRequested();
    // "Печать..." and "Сохранить в PDF..." of the menu "Файл": the sheet of the report.
    void printSheetRequested();
    void sheetPdfRequested();

public:
protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildColumnCaptions();
    QMenuBar *buildMenu();

    void ReportStringGridSelectCell(const QModelIndex &current);
    void ReportStringGridMouseUp(const QPoint &position);
    void DeleteReportButtonClick();
    void DeleteAllButtonClick();
    void UpSpeedButtonClick();
    void DownSpeedButtonClick();
    void NewReportMenuClick();
    void SaveReportMenuClick();
    void SaveAsReportMenuClick();
    void OpenReportMenuClick();
    void ExportToExcelReportMenuClick();
    void ExportToCalcReportMenuClick();

    TormelSession &m_session;
    IFileDialogService &m_dialogs;
    SpreadsheetPrograms &m_spreadsheets;
    ReportGridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
};

} // namespace tormel
