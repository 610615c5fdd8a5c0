#pragma once

namespace tormel {

class IFileDialogService;
class IMessageService;
class ReportTable;

// The report window's menu "Файл". Each returns whether the report was written
// (the saves) or read (open); the file name and caption change only then.

// "Сохранить": writes to the report's file without a question; a report
// without a file, or one read from a file that is not a csv file, goes
// through "Сохранить как...".
bool SaveReportMenuClick(ReportTable &table,
                         IMessageService &messages,
                         IFileDialogService &dialogs);

// "Сохранить как...": asks for a csv file name (and before overwriting a file)
// and writes the report there.
bool SaveAsReportMenuClick(ReportTable &table,
                           IMessageService &messages,
                           IFileDialogService &dialogs);

// "Открыть...": asks for a csv or okz file and replaces the report with it,
// after asking whether a damaged file should be loaded.
bool OpenReportMenuClick(ReportTable &table,
                         IMessageService &messages,
                         IFileDialogService &dialogs);

// "Новый": offers to save a report that has points, then starts an empty one.
// The report stays when the save was cancelled or failed.
void NewReportMenuClick(ReportTable &table, IMessageService &messages, IFileDialogService &dialogs);

} // namespace tormel
