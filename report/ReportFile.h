#pragma once

#include "core/FileAccess.h"
#include "report/ReportTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

// The two report file formats: semicolon-separated text with two header lines
// ("csv", written and read) and bar-separated text ("okz", read only).
enum class ReportFileFormat { Semicolon, Okz };

// The format that the last three characters of the path name, compared exactly
// ("csv" or "okz"); nothing for any other name.
std::optional<ReportFileFormat> ReportFileFormatOf(std::string_view path);

// The text of the semicolon file in UTF-8: the two header lines and one line
// per point, each ended by CR LF; empty for a report without points. Every row
// with a point name is written whole, an empty cell as an empty field, and a
// separator of the regional settings that Windows-1251 lacks as its nearest
// character there (WithWindows1251Separators).
std::string ReportFileText(const ReportTable &table);

// The rows of a report file as read, before anything in the table changes.
struct ParsedReport
{
    std::vector<ReportRow> Rows;
    // Some line has a number of separators that the format does not allow.
    bool Damaged = false;
};

// Reads the decoded (UTF-8) text of a report file. CR LF, a lone LF and a lone
// CR each end a line; there is no limit on lines or separators.
ParsedReport ParseReportText(std::string_view text, ReportFileFormat format);

// Replaces the table with the rows read: the table is emptied, then holds the
// rows read in a table of at least 14 rows.
void LoadParsedReport(ReportTable &table, ParsedReport report);

// Writes the report to the path in the semicolon format, in Windows-1251. The
// old file is replaced only when the new one was written completely. A report
// whose file would not read back to the same rows is not written: a cell with a
// semicolon or a line break (possible only in a cell read from a file), or with a
// character the code page lacks, is refused with a reason that names its row.
FileResult SaveReportFile(const ReportTable &table, const std::string &path);

// Reads and decodes a report file of the given format.
FileResult ReadReportFile(const std::string &path, ReportFileFormat format, ParsedReport &report);

// A report file read as "Открыть..." reads the file it was given: the report (perhaps
// damaged, which the caller asks about), or the text of the box that refuses the file, an
// error box for a file that could not be read.
struct ReportOpening
{
    std::optional<ParsedReport> Report;
    std::string Refusal;
    bool RefusalIsError = false;
};
ReportOpening ReadReportToOpen(const std::string &path);

} // namespace tormel
