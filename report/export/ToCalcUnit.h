#pragma once

namespace tormel {

class AutomationRegistry;
class IMessageService;
class ReportTable;

// The ProgID that the Calc export asks for and its messages.
inline constexpr const char *CalcProgId = "com.sun.star.ServiceManager";
inline constexpr const char *CalcMissingMessage
        = "Требуется установить OpenOffice.org на компьютер";
inline constexpr const char *CalcNoServiceManagerMessage = "Couldn't get ServiceManager";
// The unit's reference to the service manager, kept in the registry.
inline constexpr const char *CalcUnitReference = "ToCalcUnit.ServiceManager";

// "в Calc": copies the rows in use of the report into a new spreadsheet document of
// the "com.sun.star.ServiceManager" server, which stays open for the user. A refused
// call ends the export with the server's text in the error box; the report is never
// changed.
void ExportReportToCalc(const ReportTable &table,
                        AutomationRegistry &registry,
                        IMessageService &messages);

} // namespace tormel
