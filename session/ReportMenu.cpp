#include "session/ReportMenu.h"

#include "core/FileDialogService.h"
#include "core/MessageService.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/ReportTexts.h"

namespace tormel {

namespace {

namespace texts = report_texts;

const FileFilter CsvFilter{std::string(texts::TableCsvFilter), "*.csv"};
const FileFilter OkzFilter{std::string(texts::TableOkzFilter), "*.okz"};

std::string FileErrorText(const char *action, const std::string &path, const std::string &reason)
{
    return std::string(action) + " \"" + path + "\": " + reason + ".";
}

// Writes the report and tells the user why when it could not be written.
bool WriteReport(const ReportTable &table, const std::string &path, IMessageService &messages)
{
    const FileResult result = SaveReportFile(table, path);
    if (!result.Ok)
        messages.showError(FileErrorText("Не удалось записать файл", path, result.Reason));
    return result.Ok;
}

// Only a name that "Открыть..." reads back as a semicolon file is written to.
bool IsSemicolonFileName(const std::string &path)
{
    return ReportFileFormatOf(path) == ReportFileFormat::Semicolon;
}

} // namespace

bool SaveReportMenuClick(ReportTable &table, IMessageService &messages, IFileDialogService &dialogs)
{
    if (table.ReportFileName().empty() || !IsSemicolonFileName(table.ReportFileName()))
        return SaveAsReportMenuClick(table, messages, dialogs);
    return WriteReport(table, table.ReportFileName(), messages);
}

bool SaveAsReportMenuClick(ReportTable &table,
                           IMessageService &messages,
                           IFileDialogService &dialogs)
{
    for (;;) {
        const std::optional<std::string> path = dialogs.askSaveFileName(CsvFilter, "csv");
        if (!path)
            return false;
        if (!IsSemicolonFileName(*path)) {
            messages.showMessage(std::string(texts::SaveExtensionMessage));
            continue;
        }
        if (PathExists(*path)
            && messages.askWarning(std::string(texts::OverwriteQuestion)) != MessageAnswer::Ok)
            continue;
        if (!WriteReport(table, *path, messages))
            return false;
        table.SetReportFile(*path);
        return true;
    }
}

bool OpenReportMenuClick(ReportTable &table, IMessageService &messages, IFileDialogService &dialogs)
{
    for (;;) {
        const std::optional<std::string> path
                = dialogs.askOpenFileName({CsvFilter, OkzFilter}, "okz");
        if (!path)
            return false;
        ReportOpening opening = ReadReportToOpen(*path);
        if (!opening.Report) {
            if (opening.RefusalIsError)
                messages.showError(opening.Refusal);
            else
                messages.showMessage(opening.Refusal);
            return false;
        }
        if (opening.Report->Damaged
            && messages.askQuestion(std::string(texts::DamagedFileQuestion), false)
                       != MessageAnswer::Yes)
            continue;
        LoadParsedReport(table, std::move(*opening.Report));
        table.SetReportFile(*path);
        return true;
    }
}

void NewReportMenuClick(ReportTable &table, IMessageService &messages, IFileDialogService &dialogs)
{
    if (table.IsRowInUse(0)) {
        switch (messages.askQuestion(std::string(texts::SavePreviousQuestion), true)) {
        case MessageAnswer::Yes:
            if (!SaveReportMenuClick(table, messages, dialogs))
                return;
            break;
        case MessageAnswer::No:
            break;
        default:
            return;
        }
        table.ClearReportTable();
    }
    table.SetNewReportFile();
}

} // namespace tormel
