#pragma once

#include <memory>

namespace tormel {

class IFileDialogService;
class IHelpService;
class ISheetPrinter;
struct SpreadsheetPrograms;
class TAboutProgramForm;
class TAskNumberForm;
class TDeleteAllReportForm;
class TDeviceDefenceForm;
class TMainForm;
class TReportForm;
class TResultForm;
class TormelSession;

// The program's windows. Each is created once, in a fixed order with the main window
// first, and lives until the program ends; the dialogs are only shown and hidden, so
// each keeps its texts for the whole run. The main window owns the others.
class TormelWindows
{
public:
    // The file dialogs and the spreadsheet programs are those of the report window; all
    // the services must outlive the windows.
    TormelWindows(TormelSession &session,
                  IHelpService &help,
                  IFileDialogService &dialogs,
                  SpreadsheetPrograms &spreadsheets);
    ~TormelWindows();
    TormelWindows(const TormelWindows &) = delete;
    TormelWindows &operator=(const TormelWindows &) = delete;

    // Shows the main window, centred on the screen; the others stay hidden.
    void showMainWindow();

    // Brings the main and the result window up to date with the session. A dialog that
    // opens from inside a calculation (the point-name dialog) calls it first, so that
    // the windows behind it already show the new result.
    void showState();

    TMainForm &MainForm() const { return *m_mainForm; }
    TResultForm &ResultForm() const { return *m_resultForm; }
    TDeviceDefenceForm &DeviceDefenceForm() const { return *m_deviceDefenceForm; }
    TAskNumberForm &AskNumberForm() const { return *m_askNumberForm; }
    TReportForm &ReportForm() const { return *m_reportForm; }
    TDeleteAllReportForm &DeleteAllReportForm() const { return *m_deleteAllReportForm; }
    TAboutProgramForm &AboutProgramForm() const { return *m_aboutProgramForm; }

    // The printer of the sheets; the print dialog unless a test sets another, which must
    // outlive the windows.
    void setSheetPrinter(ISheetPrinter &printer) { m_sheetPrinter = &printer; }

private:
    // The sheet of the current calculation, or of the report, printed or saved as PDF.
    void printCalculationSheet();
    void saveCalculationSheet();
    void printReportSheet();
    void saveReportSheet();

    TormelSession &m_session;
    std::unique_ptr<TMainForm> m_mainForm;
    TResultForm *m_resultForm = nullptr;
    TDeviceDefenceForm *m_deviceDefenceForm = nullptr;
    TAskNumberForm *m_askNumberForm = nullptr;
    TReportForm *m_reportForm = nullptr;
    TDeleteAllReportForm *m_deleteAllReportForm = nullptr;
    TAboutProgramForm *m_aboutProgramForm = nullptr;
    IFileDialogService &m_dialogs;
    std::unique_ptr<ISheetPrinter> m_ownPrinter;
    ISheetPrinter *m_sheetPrinter = nullptr;
};

} // namespace tormel
