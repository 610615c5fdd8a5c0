#pragma once

#include "report/export/ToCalcUnit.h"

#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

namespace tormel::uno {

namespace css = ::com::sun::star;
using css::uno::Reference;
using ::rtl::OUString;

// An installed office: its start program and its program folder.
struct OfficeInstall
{
    std::string program;
    std::string programDir;
};

// The office to start: the configured program, else "soffice" on the search path,
// else the office this module was built against.
std::optional<OfficeInstall> FindOffice(const std::string &configuredProgram);

// True when the office can show windows (it has a user-interface plug-in); the
// display-less build cannot show a document to the user.
bool OfficeHasWindows(const OfficeInstall &office);

// The local UNO side: a component context over the office's type libraries.
Reference<css::uno::XComponentContext> BootstrapLocalContext(const OfficeInstall &office);

// One connection to an office process over a named pipe and its service manager. It
// starts the office (or hands the connection request to the user's running office)
// and waits a bounded time, which the user may cut short.
class OfficeConnection
{
public:
    // Throws ExportError when the office cannot be reached in time, OfficeCancelled
    // when the user stopped waiting; either way an office it started is ended.
    OfficeConnection(const Reference<css::uno::XComponentContext> &local,
                     const OfficeInstall &office,
                     const CalcOfficeOptions &options,
                     IExportProgress &progress);
    ~OfficeConnection();
    OfficeConnection(const OfficeConnection &) = delete;
    OfficeConnection &operator=(const OfficeConnection &) = delete;

    // False once the office or the bridge has gone away.
    bool alive() const;

    const Reference<css::uno::XComponentContext> &remoteContext() const { return m_remoteContext; }
    Reference<css::lang::XMultiServiceFactory> serviceManager() const;

private:
    void connect(const Reference<css::uno::XComponentContext> &local,
                 const std::string &pipeName,
                 int timeoutMs,
                 IExportProgress &progress);
    void endOffice();

    bool m_terminateOffice = false;
    pid_t m_launcher = -1;
    bool m_launcherRunning = false;
    Reference<css::bridge::XBridge> m_bridge;
    Reference<css::uno::XComponentContext> m_remoteContext;
};

// The user stopped waiting for the office.
struct OfficeCancelled
{
};

// The text of the UNO exception being handled, for an ExportError.
std::string CaughtExceptionText();

} // namespace tormel::uno
