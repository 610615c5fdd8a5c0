#pragma once

#include "report/export/Automation.h"

#include <functional>
#include <string>

namespace tormel {

// Opens a file with the desktop's application for its type. The desktop program
// passes the toolkit's service; tests record the paths.
class IFileOpener
{
public:
    virtual ~IFileOpener();
    // False when no application could be started for the file.
    virtual bool openFile(const std::string &path) = 0;
};

// The "Excel.Application" server: builds an Excel-compatible workbook with the part
// of Excel's object model that the export uses (Application, WorkBooks.Add,
// WorkSheets(i).Name, Cells, Range, Value, Columns(i).ColumnWidth, Rows(r).Font.Bold,
// HorizontalAlignment, Borders.LineStyle, Parent.Visible). Setting Visible to true
// writes each new workbook to a new .xlsx file in the temporary folder and opens it
// for the user.
class XlsxAutomationServer : public IAutomationServer
{
public:
    // `registered` tells whether the desktop can open .xlsx files; `folder` is where
    // the files go (the user's temporary folder when empty).
    XlsxAutomationServer(IFileOpener &opener,
                         std::function<bool()> registered,
                         std::string folder = {});
    ~XlsxAutomationServer() override;

    bool isRegistered() override;
    // The application object while someone still holds it.
    std::shared_ptr<IAutoObject> getActiveObject() override;
    std::shared_ptr<IAutoObject> createObject() override;

private:
    IFileOpener &m_opener;
    std::function<bool()> m_registered;
    std::string m_folder;
    std::weak_ptr<IAutoObject> m_running;
};

} // namespace tormel
