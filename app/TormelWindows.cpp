#include "app/TormelWindows.h"

#include "app/AboutProgramForm.h"
#include "app/AskNumberForm.h"
#include "app/DeleteAllReportForm.h"
#include "app/DeviceDefenceForm.h"
#include "app/FormStyle.h"
#include "app/MainForm.h"
#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "session/TormelSession.h"

namespace tormel {

TormelWindows::TormelWindows(TormelSession &session,
                             IHelpService &help,
                             IFileDialogService &dialogs,
                             SpreadsheetPrograms &spreadsheets)
    : m_session(session)
{
    // 1. The main window.
    m_mainForm = std::make_unique<TMainForm>(session, help);
    TMainForm &main = *m_mainForm;

    // 2. The result window, refreshed after every calculation.
    m_resultForm = new TResultForm(session.ResultWindow(), help, &main);
    main.ShowResultWindow = [this] { m_resultForm->showModal(); };
    main.CalculationDone = [this] { m_resultForm->showState(); };

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

void TormelWindows::showMainWindow()
{
    centreOnScreen(m_mainForm.get());
    m_mainForm->show();
}

} // namespace tormel
