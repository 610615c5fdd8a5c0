#include "app/TormelWindows.h"

#include "app/AboutProgramForm.h"
#include "app/AskNumberForm.h"
#include "app/DeleteAllReportForm.h"
#include "app/DeviceDefenceForm.h"
#include "app/FormStyle.h"
#include "app/MainForm.h"
#include "app/MaxCurrentInputForm.h"
#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "app/SheetPrinter.h"
#include "report/AskNumberModel.h"
#include "session/FeedDocument.h"
#include "session/TormelSession.h"
#include "sheet/SheetActions.h"

#include <ctime>

namespace tormel {

TormelWindows::TormelWindows(TormelSession &session,
                             IHelpService &help,
                             IFileDialogService &dialogs,
                             SpreadsheetPrograms &spreadsheets)
    : m_session(session)
    , m_help(help)
    , m_dialogs(dialogs)
    , m_spreadsheets(spreadsheets)
    , m_ownPrinter(std::make_unique<QtSheetPrinter>())
    , m_sheetPrinter(m_ownPrinter.get())
{
    // The main window, the only one the user sees at start-up. Building the other six
    // took most of the time to its first paint; they are built when first opened.
    m_mainForm = std::make_unique<TMainForm>(session, help);
    TMainForm &main = *m_mainForm;

    // The result window, refreshed after every calculation once it exists.
    QObject::connect(
            &main, &TMainForm::resultWindowRequested, &main, [this] { ResultForm().showModal(); });
    QObject::connect(&main, &TMainForm::calculationShown, &main, [this] { showResultState(); });

    // The protection device window; its verdict shows on the result window's page too.
    QObject::connect(&main, &TMainForm::deviceWindowRequested, &main, [this] {
        DeviceDefenceForm().showModal();
        showResultState();
    });

    // The inputs of the largest fault currents, judged by the next calculation.
    QObject::connect(&main, &TMainForm::maxCurrentInputRequested, &main, [this] {
        MaxCurrentInputForm().showModal();
    });

    // The point-name dialog, from the menu and as the last step of a calculation,
    // when the windows behind it must already show the new result.
    QObject::connect(
            &main, &TMainForm::addPointRequested, &main, [this] { AskNumberForm().showModal(); });
    QObject::connect(&main, &TMainForm::pointNameRequested, &main, [this] {
        showState();
        AskNumberForm().showModal();
    });

    // The report window (its delete confirmation opens from it) and the About window.
    QObject::connect(
            &main, &TMainForm::reportRequested, &main, [this] { ReportForm().showModal(); });
    QObject::connect(
            &main, &TMainForm::aboutRequested, &main, [this] { AboutProgramForm().showModal(); });
}

TormelWindows::~TormelWindows() = default;

TResultForm &TormelWindows::ResultForm()
{
    if (!m_resultForm) {
        m_resultForm = new TResultForm(m_session.ResultWindow(), m_help, m_mainForm.get());
        QObject::connect(m_resultForm, &TResultForm::printSheetRequested, m_resultForm, [this] {
            printCalculationSheet();
        });
        QObject::connect(m_resultForm, &TResultForm::sheetPdfRequested, m_resultForm, [this] {
            saveCalculationSheet();
        });
    }
    return *m_resultForm;
}

TDeviceDefenceForm &TormelWindows::DeviceDefenceForm()
{
    if (!m_deviceDefenceForm)
        m_deviceDefenceForm = new TDeviceDefenceForm(m_session, m_help, m_mainForm.get());
    return *m_deviceDefenceForm;
}

TMaxCurrentInputForm &TormelWindows::MaxCurrentInputForm()
{
    if (!m_maxCurrentInputForm) {
        m_maxCurrentInputForm = new TMaxCurrentInputForm(
                m_session.MaxCurrentInput(),
                [this] {
                    const MainInputModel &input = m_session.Input();
                    return MaxCurrentInputModel::PlaceholdersFor(
                            input.WindKind.Text, input.TransPower.Text, m_session.Separators());
                },
                m_help,
                m_mainForm.get());
    }
    return *m_maxCurrentInputForm;
}

TAskNumberForm &TormelWindows::AskNumberForm()
{
    if (!m_askNumberForm)
        m_askNumberForm = new TAskNumberForm(m_session, m_help, m_mainForm.get());
    return *m_askNumberForm;
}

TReportForm &TormelWindows::ReportForm()
{
    if (!m_reportForm) {
        m_reportForm
                = new TReportForm(m_session, m_dialogs, m_spreadsheets, m_help, m_mainForm.get());
        QObject::connect(m_reportForm, &TReportForm::deleteAllRequested, m_reportForm, [this] {
            DeleteAllReportForm().showModal();
        });
        QObject::connect(m_reportForm, &TReportForm::printSheetRequested, m_reportForm, [this] {
            printReportSheet();
        });
        QObject::connect(m_reportForm, &TReportForm::sheetPdfRequested, m_reportForm, [this] {
            saveReportSheet();
        });
        m_reportForm->setFeedFileName([this] { return openDocuments().FeedFile; });
    }
    return *m_reportForm;
}

TDeleteAllReportForm &TormelWindows::DeleteAllReportForm()
{
    if (!m_deleteAllReportForm)
        m_deleteAllReportForm = new TDeleteAllReportForm(m_session, m_mainForm.get());
    return *m_deleteAllReportForm;
}

TAboutProgramForm &TormelWindows::AboutProgramForm()
{
    if (!m_aboutProgramForm)
        m_aboutProgramForm = new TAboutProgramForm(m_mainForm.get());
    return *m_aboutProgramForm;
}

void TormelWindows::showResultState()
{
    if (m_resultForm)
        m_resultForm->showState();
}

void TormelWindows::showState()
{
    m_mainForm->showState();
    showResultState();
}

namespace {

SheetDocument calculationDocument(const TormelSession &session, const FeedDocument *feed)
{
    SheetDocument document;
    // The point name the point-name dialog offers for this result; a name that its check
    // refuses names no point.
    const std::string &name = session.AskNumber().NumberEditText();
    const SheetHeading heading{CheckPointName(name) ? std::string() : name,
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

OpenDocuments TormelWindows::openDocuments() const
{
    const FeedDocument *feed = m_mainForm->feedDocument();
    return {feed ? feed->FileName() : std::string(), m_session.Report().ReportFileName()};
}

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
        SaveSheetPdfFile(document, m_dialogs, m_session.Messages(), openDocuments());
}

void TormelWindows::printReportSheet()
{
    m_sheetPrinter->printSheets(reportDocument(m_session), m_reportForm);
}

void TormelWindows::saveReportSheet()
{
    SaveSheetPdfFile(reportDocument(m_session), m_dialogs, m_session.Messages(), openDocuments());
}

void TormelWindows::showMainWindow()
{
    centreOnScreen(m_mainForm.get());
    m_mainForm->show();
}

} // namespace tormel
