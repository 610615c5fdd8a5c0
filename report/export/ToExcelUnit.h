#pragma once

namespace tormel {

class AutomationRegistry;
class IMessageService;
class ReportTable;

// The ProgID that the Excel export asks for, and the message when it is missing.
inline constexpr const char *ExcelProgId = "Excel.Application";
inline constexpr const char *ExcelMissingMessage = "Требуется установить MS Excel на компьютер";
// The unit's reference to the application object, kept in the registry.
inline constexpr const char *ExcelUnitReference = "ToExcelUnit.App";

// "в Excel": copies the rows in use of the report into a new workbook of the
// "Excel.Application" server and shows it. A refused call ends the export with the
// server's text in the error box; the report is never changed.
void ExportReportToExcel(const ReportTable &table,
                         AutomationRegistry &registry,
                         IMessageService &messages);

} // namespace tormel
