#pragma once

namespace tormel {

class AutomationRegistry;
class IFileOpener;

// Registers the two spreadsheet servers of the desktop program: "Excel.Application"
// (an .xlsx workbook opened with the desktop's application for .xlsx files) and
// "com.sun.star.ServiceManager" (the user's LibreOffice through the UNO plug-in).
// The opener must outlive the registry.
void RegisterDesktopServers(AutomationRegistry &registry, IFileOpener &opener);

// True when the desktop names a default application for .xlsx files. Asks xdg-mime
// and waits at most a few seconds for it.
bool DesktopOpensXlsxFiles();

} // namespace tormel
