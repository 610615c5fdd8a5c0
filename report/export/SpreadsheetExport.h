#pragma once

// The spreadsheet export as both menu items see it: the grid of texts that goes to
// the spreadsheet, the program that takes it, and the run of one export.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

class IMessageService;
class ReportTable;

// The name of the exported sheet in both programs.
inline constexpr const char *ExportSheetName = "Расчет ОКЗ";
// The button that stops waiting for the spreadsheet program, and the message then.
inline constexpr const char *ExportCancelButtonText = "Отмена";
inline constexpr const char *ExportCancelledMessage = "Экспорт отменен: документ в Calc не создан.";

// The texts that both exports send: the header row, the units row and the rows in
// use of the report, 12 columns each, rows first. Only the rows from the top down
// to the first row without a point name are exported.
using ExportGrid = std::vector<std::vector<std::string>>;

ExportGrid BuildExportGrid(const ReportTable &table);

// A step that the spreadsheet program refused; what() is the text for the error box.
class ExportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Lets a long wait of an export show that the program works and be stopped. The
// desktop program shows a progress dialog; tests script the answers.
class IExportProgress
{
public:
    virtual ~IExportProgress() = default;
    // Called every few tens of milliseconds while the export waits; `activity` says
    // for what. False when the user asked to stop waiting.
    virtual bool keepWaiting(std::string_view activity) = 0;
    // The export has stopped working; its messages follow.
    virtual void done() {}
};

// Waits without a sign and is never stopped.
class NoExportProgress final : public IExportProgress
{
public:
    bool keepWaiting(std::string_view) override { return true; }
};

// A spreadsheet program that takes the grid into a new document of its own and
// leaves it open for the user; nothing is saved for the user.
class ISpreadsheetExport
{
public:
    virtual ~ISpreadsheetExport() = default;
    // False when the program is not installed.
    virtual bool isInstalled() = 0;
    // Throws ExportError (or another std::exception) when a step is refused; false
    // when the user stopped waiting before the document was created.
    virtual bool exportGrid(const ExportGrid &grid, IExportProgress &progress) = 0;
};

// The spreadsheet programs of one run; a missing one counts as not installed.
struct SpreadsheetPrograms
{
    ISpreadsheetExport *excel = nullptr;
    ISpreadsheetExport *calc = nullptr;
};

// "в Excel" and "в Calc": say that the program is missing, or copy the rows in use
// into a new document; a refused step ends the export with its text in the error
// box. The report is never changed.
void ExportReportToExcel(const ReportTable &table,
                         ISpreadsheetExport *excel,
                         IMessageService &messages,
                         IExportProgress &progress);
void ExportReportToCalc(const ReportTable &table,
                        ISpreadsheetExport *calc,
                        IMessageService &messages,
                        IExportProgress &progress);

} // namespace tormel
