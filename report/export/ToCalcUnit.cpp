#include "report/export/ToCalcUnit.h"

#include "core/MessageService.h"
#include "report/ReportTable.h"
#include "report/export/Automation.h"
#include "report/export/ExportGrid.h"

#include <array>
#include <string>

namespace tormel {

namespace {

constexpr int BoldWeight = 150;
constexpr int AdjustRight = 1;
constexpr int AdjustCenter = 3;

// The grid as Calc takes it: [column 1..12, row 1..n + 2].
AutoArray ColumnsFirst(const ExportGrid &grid)
{
    const int rows = static_cast<int>(grid.size());
    AutoArray array(1, ReportTable::ColCount, 1, rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < ReportTable::ColCount; ++c)
            array.set(c + 1, r + 1, grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
    return array;
}

// Steps from the open document on: name the sheet, format it and fill it.
void FillDocument(const ReportTable &table,
                  const AutoValue &serviceManager,
                  const AutoValue &document)
{
    const AutoValue sheet = document.call("getSheets").call("getByIndex", {0});
    sheet.call("setName", {ExportSheetName});

    const ExportGrid grid = BuildExportGrid(table);
    const int lastRow = static_cast<int>(grid.size());

    const AutoValue range = sheet.call("getCellRangeByName", {"A1:L" + std::to_string(lastRow)});
    sheet.call("getCellRangeByName", {"A1:L2"}).put("CharWeight", BoldWeight);
    sheet.call("getCellRangeByName", {"A1:L2"}).put("ParaAdjust", AdjustCenter);
    // One row below the last data row, so an empty report still names a range.
    sheet.call("getCellRangeByName", {"A3:L" + std::to_string(lastRow + 1)})
            .put("ParaAdjust", AdjustRight);

    const AutoValue border
            = serviceManager.call("Bridge_GetStruct", {"com.sun.star.table.BorderLine"});
    border.put("lineDistance", 0);
    border.put("innerLineWidth", 0);
    border.put("outerLineWidth", 1);
    for (const char *side : {"leftBorder", "rightBorder", "topBorder", "bottomBorder"})
        range.put(side, border);

    for (int col = 0; col < ReportTable::ColCount; ++col)
        sheet.call("GetColumns").call("GetByIndex", {col}).put("OptimalWidth", true);

    range.call("setDataArray", {ColumnsFirst(grid)});
}

} // namespace

void ExportReportToCalc(const ReportTable &table,
                        AutomationRegistry &registry,
                        IMessageService &messages)
{
    if (!IsProgIdRegistered(registry, CalcProgId)) {
        messages.showMessage(CalcMissingMessage);
        return;
    }
    // Still set only when an earlier export failed before its document was open.
    std::shared_ptr<IAutoObject> &serviceManager = registry.unitReference(CalcUnitReference);
    if (!serviceManager) {
        try {
            serviceManager = registry.createObject(CalcProgId);
        } catch (...) {
            serviceManager.reset();
        }
        if (!serviceManager) {
            messages.showError(CalcNoServiceManagerMessage);
            return;
        }
    }

    AutoValue document;
    try {
        const AutoValue desktop
                = AutoValue(serviceManager).call("createInstance", {"com.sun.star.frame.Desktop"});
        document = desktop.call("LoadComponentFromURL",
                                {"private:factory/scalc", "_blank", 0, AutoArray(0, -1)});
    } catch (const std::exception &error) {
        messages.showError(error.what());
        return;
    } catch (...) {
        messages.showError(UnknownAutomationError);
        return;
    }

    // From the open document on, the service manager is let go however the export ends.
    const AutoValue manager(serviceManager);
    serviceManager.reset();
    try {
        FillDocument(table, manager, document);
    } catch (const std::exception &error) {
        messages.showError(error.what());
    } catch (...) {
        messages.showError(UnknownAutomationError);
    }
}

} // namespace tormel
