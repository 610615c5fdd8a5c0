#pragma once

#include "report/export/UnoServerOptions.h"

#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/lang/XSingleServiceFactory.hpp>
#include <com/sun/star/reflection/XIdlReflection.hpp>
#include <com/sun/star/script/XTypeConverter.hpp>
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

// One connection to an office process over a named pipe: the office-side service
// manager and the helpers that late binding needs. It starts the office (or hands
// the connection request to the user's running office) and waits a bounded time.
class OfficeConnection
{
public:
    // Throws AutomationError when the office cannot be reached in time.
    OfficeConnection(const Reference<css::uno::XComponentContext> &local,
                     const OfficeInstall &office,
                     const UnoServerOptions &options);
    ~OfficeConnection();
    OfficeConnection(const OfficeConnection &) = delete;
    OfficeConnection &operator=(const OfficeConnection &) = delete;

    // False once the office or the bridge has gone away.
    bool alive() const;

    bool hiddenDocuments() const { return m_hiddenDocuments; }
    const Reference<css::lang::XMultiComponentFactory> &remoteManager() const
    {
        return m_remoteManager;
    }
    const Reference<css::lang::XSingleServiceFactory> &invocationFactory() const
    {
        return m_invocationFactory;
    }
    const Reference<css::script::XTypeConverter> &converter() const { return m_converter; }
    const Reference<css::reflection::XIdlReflection> &reflection() const { return m_reflection; }

private:
    void connect(const Reference<css::uno::XComponentContext> &local,
                 const std::string &pipeName,
                 int timeoutMs);
    void endOffice();

    bool m_hiddenDocuments = false;
    bool m_terminateOffice = false;
    pid_t m_launcher = -1;
    bool m_launcherRunning = false;
    Reference<css::bridge::XBridge> m_bridge;
    Reference<css::uno::XComponentContext> m_remoteContext;
    Reference<css::lang::XMultiComponentFactory> m_remoteManager;
    Reference<css::lang::XSingleServiceFactory> m_invocationFactory;
    Reference<css::script::XTypeConverter> m_converter;
    Reference<css::reflection::XIdlReflection> m_reflection;
};

// The text of the UNO exception being handled, for an AutomationError.
std::string CaughtExceptionText();

} // namespace tormel::uno
