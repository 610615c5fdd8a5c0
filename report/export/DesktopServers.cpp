#include "report/export/DesktopServers.h"

#include "report/export/ToCalcUnit.h"
#include "report/export/ToExcelUnit.h"
#include "report/export/UnoServerLoader.h"
#include "report/export/XlsxAutomationServer.h"

#include <QProcess>

namespace tormel {

namespace {

constexpr int XdgMimeTimeoutMs = 5000;

} // namespace

bool DesktopOpensXlsxFiles()
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start("xdg-mime",
                  {"query",
                   "default",
                   "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"});
    if (!process.waitForFinished(XdgMimeTimeoutMs)) {
        process.kill();
        process.waitForFinished(XdgMimeTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
           && !process.readAllStandardOutput().trimmed().isEmpty();
}

void RegisterDesktopServers(AutomationRegistry &registry, IFileOpener &opener)
{
    registry.registerServer(ExcelProgId,
                            std::make_shared<XlsxAutomationServer>(opener, DesktopOpensXlsxFiles));
    registry.registerServer(CalcProgId, std::make_shared<UnoServerLoader>());
}

} // namespace tormel
