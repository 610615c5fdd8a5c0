#pragma once

#include "report/export/UnoServerOptions.h"

#include <memory>
#include <string>

namespace tormel {

// The "com.sun.star.ServiceManager" server as the program sees it: it loads the UNO
// plug-in module the first time an export asks for the server, so the program itself
// never links LibreOffice's libraries. Without the module or without LibreOffice the
// server counts as not registered.
class UnoServerLoader : public IAutomationServer
{
public:
    // `modulePath` overrides the search for the module (next to the program, then in
    // the build tree).
    explicit UnoServerLoader(UnoServerOptions options = {}, std::string modulePath = {});
    ~UnoServerLoader() override;

    bool isRegistered() override;
    std::shared_ptr<IAutoObject> getActiveObject() override;
    std::shared_ptr<IAutoObject> createObject() override;

    // Why the module could not be loaded (empty while it loads or was not tried).
    const std::string &loadError() const { return m_loadError; }

private:
    IAutomationServer *load();

    UnoServerOptions m_options;
    std::string m_modulePath;
    bool m_tried = false;
    std::string m_loadError;
    std::unique_ptr<IAutomationServer> m_server;
};

} // namespace tormel
