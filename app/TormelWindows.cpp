#include "app/TormelWindows.h"

#include "app/AboutProgramForm.h"
#include "app/AskNumberForm.h"
#include "app/DeleteAllReportForm.h"
#include "app/DeviceDefenceForm.h"
#include "app/FormStyle.h"
#include "app/MainForm.h"
#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "app/SheetPrinter.h"
#include "feed/FeedDocument.h"
#include "session/TormelSession.h"
#include "sheet/SheetActions.h"

#include <ctime>

namespace tormel {

TormelWindows::TormelWindows(TormelSession &session,
                             IHelpService &help,
                             IFileDialogService &dialogs,
                             SpreadsheetPrograms &spreadsheets)
    : m_session(session)
    , m_dialogs(dialogs)
    , m_ownPrinter(std::make_unique<QtSheetPrinter>())
    , m_sheetPrinter(m_ownPrinter.get())
{
    // 1. The main window.
    m_mainForm = std::make_unique<TMainForm>(session, help);
    TMainForm &main = *m_mainForm;

    // 2. The result window, refreshed after every calculation.
    m_resultForm = new TResultForm(session.ResultWindow(), help, &main);
    main.ShowResultWindow = [this] { m_resultForm->showModal(); };
    main.CalculationDone = [this] { m_resultForm->showState(); };
    m_resultForm->PrintSheet = [this] { printCalculationSheet(); };
    m_resultForm->SaveSheetPdf = [this] { saveCalculationSheet(); };

    // 3. The protection device window; its verdict shows on the result window's page too.
    m_deviceDefenceForm = new TDeviceDefenceForm(session, help, &main);
    main.ShowDeviceDefence = [this] {
        m_deviceDefenceForm->showModal();
        m_resultForm->showState();
    };

    // 4. The point-name dialog, from the menu and as the last step of a calculation,
    // when the windows behind it must already show the new result.
    m_askNumberForm = new TAskNumberForm(session, help, &main);
    main.ShowAddReport = [this] { m_askNumberForm->showModal(); };
    session.ShowPointNameDialog = [this] {
        showState();
        m_askNumberForm->showModal();
    };

    // 5. The report window and 6. its delete confirmation.
    m_reportForm = new TReportForm(session, dialogs, spreadsheets, help, &main);
    main.ShowReport = [this] { m_reportForm->showModal(); };
    m_deleteAllReportForm = new TDeleteAllReportForm(session.Report(), &main);
    m_reportForm->ShowDeleteAll = [this] { m_deleteAllReportForm->showModal(); };
    m_reportForm->PrintSheet = [this] { printReportSheet(); };
    m_reportForm->SaveSheetPdf = [this] { saveReportSheet(); };

    // 7. The About window.
    m_aboutProgramForm = new TAboutProgramForm(&main);
    main.ShowAboutProgram = [this] { m_aboutProgramForm->showModal(); };
}

TormelWindows::~TormelWindows()
{
    // The session may outlive the windows; it must not open a dialog that is gone.
    m_session.ShowPointNameDialog = nullptr;
}

void TormelWindows::showState()
{
    m_mainForm->showState();
    m_resultForm->showState();
}

namespace {

SheetDocument calculationDocument(const TormelSession &session, const FeedDocument *feed)
{
    SheetDocument document;
    // The point name the point-name dialog offers for this result.
    const SheetHeading heading{session.AskNumber().NumberEditText(),
                               feed ? feed->FileName() : std::string(),
                               SheetDateTime(std::time(nullptr))};
    if (std::optional<CalculationSheet> sheet = BuildCalculationSheet(session, heading))
        document.Calculations.push_back(std::move(*sheet));
    return document;
}

SheetDocument reportDocument(const TormelSession &session)
{
    return {{}, BuildReportSheet(session.Report(), SheetDateTime(std::time(nullptr)))};
}

} // namespace

void TormelWindows::printCalculationSheet()
{
    const SheetDocument document = calculationDocument(m_session, m_mainForm->feedDocument());
    if (!document.Calculations.empty())
        m_sheetPrinter->printSheets(document, m_resultForm);
}

void TormelWindows::saveCalculationSheet()
{
    const SheetDocument document = calculationDocument(m_session, m_mainForm->feedDocument());
    if (!document.Calculations.empty())
        SaveSheetPdfFile(document, m_dialogs, m_session.Messages());
}

void TormelWindows::printReportSheet()
{
    m_sheetPrinter->printSheets(reportDocument(m_session), m_reportForm);
}

void TormelWindows::saveReportSheet()
{
    SaveSheetPdfFile(reportDocument(m_session), m_dialogs, m_session.Messages());
}

void TormelWindows::showMainWindow()
{
    centreOnScreen(m_mainForm.get());
    m_mainForm->show();
}

} // namespace tormel
