#include "app/TormelWindows.h"

#include "app/AboutProgramUnit.h"
#include "app/FormStyle.h"
#include "app/MainUnit.h"
#include "app/ResultUnit.h"
#include "session/TormelSession.h"

namespace tormel {

TormelWindows::TormelWindows(TormelSession &session, IHelpService &help)
{
    // 1. The main window.
    m_mainForm = std::make_unique<TMainForm>(session, help);
    TMainForm &main = *m_mainForm;

    // 2. The result window, refreshed after every calculation.
    m_resultForm = new TResultForm(session.ResultWindow(), help, &main);
    main.ShowResultWindow = [this] { m_resultForm->showModal(); };
    main.CalculationDone = [this] { m_resultForm->showState(); };

    // 3. The protection device window ("..." sets main.ShowDeviceDefence), 4. the
    // point-name dialog ("Добавить..." sets main.ShowAddReport; after a calculation
    // through the session's ShowPointNameDialog, which calls showState() first), 5. the
    // report window ("Просмотреть..." sets main.ShowReport) and 6. its delete
    // confirmation join here, in this order, each owned by the main window.

    // 7. The About window.
    m_aboutProgramForm = new TAboutProgramForm(&main);
    main.ShowAboutProgram = [this] { m_aboutProgramForm->showModal(); };
}

TormelWindows::~TormelWindows() = default;

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
