#pragma once

#include "core/OutputTargets.h"

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
class TMaxCurrentInputForm;
class TMainForm;
class TReportForm;
class TResultForm;
class TormelSession;

// The program's windows. The main window is created with this object; each of the others
// when it is first needed, and from then on it lives until the program ends, only shown
// and hidden. Every window shows what the session's models hold and every dialog is
// centred each time it opens, so a window built late shows exactly what it would have
// shown had it been built at start-up, and it keeps its texts for the rest of the run.
// The main window owns the others.
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
    // Each of these builds its window on first use.
    TResultForm &ResultForm();
    TDeviceDefenceForm &DeviceDefenceForm();
    TAskNumberForm &AskNumberForm();
    TReportForm &ReportForm();
    TDeleteAllReportForm &DeleteAllReportForm();
    TAboutProgramForm &AboutProgramForm();
    TMaxCurrentInputForm &MaxCurrentInputForm();

    // The printer of the sheets; the print dialog unless a test sets another, which must
    // outlive the windows.
    void setSheetPrinter(ISheetPrinter &printer) { m_sheetPrinter = &printer; }

private:
    // Brings the result window up to date, if it exists: it shows the session's model
    // again whenever it is built or opened.
    void showResultState();

    // The sheet of the current calculation, or of the report, printed or saved as PDF.
    void printCalculationSheet();
    void saveCalculationSheet();
    void printReportSheet();
    void saveReportSheet();
    // The files a save of another kind must not replace.
    OpenDocuments openDocuments() const;

    TormelSession &m_session;
    IHelpService &m_help;
    IFileDialogService &m_dialogs;
    SpreadsheetPrograms &m_spreadsheets;
    std::unique_ptr<TMainForm> m_mainForm;
    TResultForm *m_resultForm = nullptr;
    TDeviceDefenceForm *m_deviceDefenceForm = nullptr;
    TMaxCurrentInputForm *m_maxCurrentInputForm = nullptr;
    TAskNumberForm *m_askNumberForm = nullptr;
    TReportForm *m_reportForm = nullptr;
    TDeleteAllReportForm *m_deleteAllReportForm = nullptr;
    TAboutProgramForm *m_aboutProgramForm = nullptr;
    std::unique_ptr<ISheetPrinter> m_ownPrinter;
    ISheetPrinter *m_sheetPrinter = nullptr;
};

} // namespace tormel
