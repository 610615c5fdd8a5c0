#include "report/export/ToExcelUnit.h"

#include "core/MessageService.h"
#include "report/ReportTable.h"
#include "report/export/Automation.h"
#include "report/export/ExportGrid.h"

namespace tormel {

namespace {

// Excel's alignment values as the export passes them.
constexpr int AlignCenter = 3;
constexpr int AlignRight = 4;
constexpr int LineContinuous = 1;

// The grid as Excel takes it: [row 1..n + 2, column 1..12].
AutoArray RowsFirst(const ExportGrid &grid)
{
    const int rows = static_cast<int>(grid.size());
    AutoArray array(1, rows, 1, ReportTable::ColCount);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < ReportTable::ColCount; ++c)
            array.set(r + 1, c + 1, grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
    return array;
}

void RunExport(const ReportTable &table, AutomationRegistry &registry, AutoValue app)
{
    app.get("Application").put("EnableEvents", false);
    const AutoValue workbook = app.get("WorkBooks").call("Add");
    // Every step fetches the sheet anew, as Excel's own macros do.
    const auto sheet = [&workbook] { return workbook.get("WorkSheets", {1}); };
    sheet().put("Name", ExportSheetName);

    const ExportGrid grid = BuildExportGrid(table);
    const int lastRow = static_cast<int>(grid.size());

    const AutoValue rangeSheet = sheet();
    const AutoValue first = sheet().get("Cells", {1, 1});
    const AutoValue last = sheet().get("Cells", {lastRow, ReportTable::ColCount});
    const AutoValue range = rangeSheet.get("Range", {first, last});
    range.put("Value", RowsFirst(grid));

    for (int col = 1; col <= 11; ++col)
        sheet().get("Columns", {col}).put("ColumnWidth", 8);
    sheet().get("Columns", {12}).put("ColumnWidth", 11);

    sheet().get("Rows", {1}).get("Font").put("Bold", true);
    sheet().get("Rows", {2}).get("Font").put("Bold", true);
    sheet().get("Rows", {1}).put("HorizontalAlignment", AlignCenter);
    sheet().get("Rows", {2}).put("HorizontalAlignment", AlignCenter);
    for (int row = 3; row <= lastRow; ++row)
        sheet().get("Rows", {row}).put("HorizontalAlignment", AlignRight);

    range.get("Borders").put("LineStyle", LineContinuous);

    app.get("Application").put("EnableEvents", true);
    app.get("Parent").put("Visible", true);

    registry.unitReference(ExcelUnitReference).reset();
}

} // namespace

void ExportReportToExcel(const ReportTable &table,
                         AutomationRegistry &registry,
                         IMessageService &messages)
{
    if (!IsProgIdRegistered(registry, ExcelProgId)) {
        messages.showMessage(ExcelMissingMessage);
        return;
    }
    // The reference stays set when a call is refused; the next export replaces it.
    std::shared_ptr<IAutoObject> &app = registry.unitReference(ExcelUnitReference);
    try {
        app = registry.getActiveObject(ExcelProgId);
        if (!app)
            app = registry.createObject(ExcelProgId);
        RunExport(table, registry, app);
    } catch (const std::exception &error) {
        messages.showError(error.what());
    } catch (...) {
        messages.showError(UnknownAutomationError);
    }
}

} // namespace tormel
