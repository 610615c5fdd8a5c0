// The plug-in module's entry points and the "com.sun.star.ServiceManager" server.

#include "report/export/UnoServerOptions.h"
#include "report/export/uno/UnoObjects.h"
#include "report/export/uno/UnoOffice.h"

#include <com/sun/star/lang/XComponent.hpp>

#include <cstdlib>

namespace tormel::uno {

namespace {

class UnoServer final : public IAutomationServer
{
public:
    explicit UnoServer(const UnoServerOptions &options)
        : m_options(options)
        , m_office(FindOffice(options.officeProgram))
    {}

    ~UnoServer() override
    {
        // No UNO reference may outlive the program's exit: let go of the office first,
        // then of the local side.
        m_connection.reset();
        if (m_local.is()) {
            try {
                Reference<css::lang::XComponent>(m_local, css::uno::UNO_QUERY_THROW)->dispose();
            } catch (const css::uno::Exception &) {
            }
            m_local.clear();
        }
    }

    bool isRegistered() override
    {
        // An office installed while the program runs is found at the next export.
        if (!m_office)
            m_office = FindOffice(m_options.officeProgram);
        return m_office && (m_options.hiddenDocuments || OfficeHasWindows(*m_office));
    }

    // The office is reached through its service manager only; no running object is
    // looked up.
    std::shared_ptr<IAutoObject> getActiveObject() override { return nullptr; }

    std::shared_ptr<IAutoObject> createObject() override
    {
        if (!m_office)
            throw AutomationError("LibreOffice не найден.");
        if (!m_options.headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            throw AutomationError("Нет дисплея, на котором LibreOffice мог бы показать документ.");
        if (!m_local.is())
            m_local = BootstrapLocalContext(*m_office);
        if (m_connection && !m_connection->alive())
            m_connection.reset();
        if (!m_connection)
            m_connection = std::make_shared<OfficeConnection>(m_local, *m_office, m_options);
        return std::make_shared<UnoObject>(
                m_connection, css::uno::Any(m_connection->remoteManager()), true);
    }

private:
    UnoServerOptions m_options;
    std::optional<OfficeInstall> m_office;
    Reference<css::uno::XComponentContext> m_local;
    std::shared_ptr<OfficeConnection> m_connection;
};

} // namespace

} // namespace tormel::uno

extern "C" SAL_DLLPUBLIC_EXPORT int tormel_uno_plugin_abi()
{
    return tormel::UnoPluginAbiVersion;
}

extern "C" SAL_DLLPUBLIC_EXPORT tormel::IAutomationServer *
tormel_uno_create_server(const tormel::UnoServerOptions *options)
{
    try {
        return new tormel::uno::UnoServer(options ? *options : tormel::UnoServerOptions());
    } catch (...) {
        return nullptr;
    }
}
