#include "report/export/SpreadsheetExport.h"

#include "core/MessageService.h"
#include "report/ReportTable.h"

#include <array>

namespace tormel {

namespace {

// The headers write the magnitude without the blanks of the report window; the
// time unit is the Latin "c", unlike the Cyrillic "с" of the window and the file.
constexpr std::array<const char *, ReportTable::ColCount> Headers = {"№ точки",
                                                                     "Rт/3",
                                                                     "Xт/3",
                                                                     "Rл",
                                                                     "Xл",
                                                                     "Rпр",
                                                                     "Rф-н",
                                                                     "Xф-н",
                                                                     "|Zф-н|",
                                                                     "Iокз",
                                                                     "Iср",
                                                                     "Tср"};
constexpr std::array<const char *, ReportTable::ColCount> Units
        = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

constexpr const char *ExcelMissingMessage = "Требуется установить MS Excel на компьютер";
constexpr const char *CalcMissingMessage = "Требуется установить OpenOffice.org на компьютер";

void RunExport(const ReportTable &table,
               ISpreadsheetExport *program,
               const char *missingMessage,
               IMessageService &messages,
               IExportProgress &progress)
{
    const bool installed = program && program->isInstalled();
    if (!installed) {
        progress.done();
        messages.showMessage(missingMessage);
        return;
    }
    try {
        const bool finished = program->exportGrid(BuildExportGrid(table), progress);
        progress.done();
        if (!finished)
            messages.showMessage(ExportCancelledMessage);
    } catch (const std::exception &error) {
        progress.done();
        messages.showError(error.what());
    }
}

} // namespace

ExportGrid BuildExportGrid(const ReportTable &table)
{
    const int rowsInUse = table.RowsInUseCount();
    ExportGrid grid;
    grid.reserve(static_cast<std::size_t>(rowsInUse) + 2);
    grid.emplace_back(Headers.begin(), Headers.end());
    grid.emplace_back(Units.begin(), Units.end());
    for (int row = 0; row < rowsInUse; ++row) {
        std::vector<std::string> &cells = grid.emplace_back();
        for (int col = 0; col < ReportTable::ColCount; ++col)
            cells.push_back(table.Cell(col, row));
    }
    return grid;
}

void ExportReportToExcel(const ReportTable &table,
                         ISpreadsheetExport *excel,
                         IMessageService &messages,
                         IExportProgress &progress)
{
    RunExport(table, excel, ExcelMissingMessage, messages, progress);
}

void ExportReportToCalc(const ReportTable &table,
                        ISpreadsheetExport *calc,
                        IMessageService &messages,
                        IExportProgress &progress)
{
    RunExport(table, calc, CalcMissingMessage, messages, progress);
}

} // namespace tormel
