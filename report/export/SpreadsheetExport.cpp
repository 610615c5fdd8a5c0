#include "report/export/SpreadsheetExport.h"

#include "core/MessageService.h"
#include "report/ReportTable.h"
#include "report/ReportTexts.h"

#include <array>

namespace tormel {

namespace {

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
    for (const auto &line : {report_texts::ExportColumnHeaders, report_texts::ExportColumnUnits})
        grid.emplace_back(line.begin(), line.end());
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
