#pragma once

#include "report/export/SpreadsheetExport.h"

#include <functional>
#include <string>

namespace tormel {

// Opens a file with the desktop's application for its type. The desktop program
// passes the toolkit's service; tests record the paths.
class IFileOpener
{
public:
    virtual ~IFileOpener() = default;
    // False when no application could be started for the file.
    virtual bool openFile(const std::string &path) = 0;
};

// "в Excel": writes the grid as a new .xlsx workbook in the temporary folder and
// opens it with the desktop's application for .xlsx files. The file does not
// depend on the process's numeric locale.
class XlsxExport final : public ISpreadsheetExport
{
public:
    // `installed` tells whether the desktop can open .xlsx files; `folder` is where
    // the files go (the user's temporary folder when empty). The opener must outlive
    // the export.
    XlsxExport(IFileOpener &opener, std::function<bool()> installed, std::string folder = {});

    bool isInstalled() override;
    bool exportGrid(const ExportGrid &grid, IExportProgress &progress) override;

private:
    IFileOpener &m_opener;
    std::function<bool()> m_installed;
    std::string m_folder;
};

// Writes the grid as the exported workbook: widths of 8 and 11 characters, two bold
// centred header rows, right-aligned data, a thin line on every edge of every cell.
void WriteExportWorkbook(const ExportGrid &grid, const std::string &path);

// True when the desktop names a default application for .xlsx files. Asks xdg-mime
// and waits at most a few seconds for it.
bool DesktopOpensXlsxFiles();

} // namespace tormel
