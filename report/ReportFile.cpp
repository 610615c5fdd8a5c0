#include "report/ReportFile.h"

#include "report/ReportTexts.h"
#include "report/Windows1251.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tormel {

namespace {

constexpr std::string_view LineEnd = "\r\n";
// The fields of a normal line of either format.
constexpr std::size_t FieldsPerLine = 12;
// A normal okz line collects 14 bar positions, its first bar twice.
constexpr std::size_t BarsPerLine = 14;

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Splits the text into lines; CR LF, LF and CR each end a line, and a last
// line without an end counts when it is not empty.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.push_back(text.substr(start));
    return lines;
}

// The number of separator positions a line collects: a separator that is the
// first character of the line is collected twice.
std::size_t CountPositions(std::string_view line, char separator)
{
    std::size_t count = std::size_t(std::count(line.begin(), line.end(), separator));
    if (!line.empty() && line.front() == separator)
        ++count;
    return count;
}

// The first positions that a line collects, counted from 1, with a leading
// separator at 0 and 1. Only as many as the cells need are kept.
template<std::size_t N>
struct Positions
{
    std::array<std::size_t, N> Value{};
    std::size_t Count = 0;

    Positions(std::string_view line, char separator)
    {
        for (std::size_t i = 0; i < line.size() && Count < N; ++i) {
            if (line[i] != separator)
                continue;
            if (i == 0)
                Value[Count++] = 0;
            if (Count < N)
                Value[Count++] = i + 1;
        }
    }

    // Position k, counted from 1 as p1, p2, ...; only for k <= Count.
    std::size_t operator()(std::size_t k) const { return Value[k - 1]; }
    bool Has(std::size_t k) const { return k <= Count; }
};

// The text between positions a and b, both excluded.
std::string_view Between(std::string_view line, std::size_t a, std::size_t b)
{
    return line.substr(a, b - 1 - a);
}

void ReadSemicolonRow(std::string_view line, bool trailingSeparatorMode, ReportRow &row)
{
    const Positions<FieldsPerLine> p(line, ';');
    if (p.Has(1) && p(1) != 0)
        row[0] = line.substr(0, p(1) - 1);
    const std::size_t betweenCells = trailingSeparatorMode ? 11 : 10;
    for (std::size_t k = 1; k <= betweenCells; ++k) {
        if (p.Has(k + 1))
            row[k] = Between(line, p(k), p(k + 1));
    }
    if (!trailingSeparatorMode)
        row[11] = p.Has(11) ? line.substr(p(11)) : line;
}

void ReadOkzRow(std::string_view line, ReportRow &row)
{
    const Positions<BarsPerLine> p(line, '|');
    for (std::size_t k = 0; k < FieldsPerLine; ++k) {
        if (p.Has(k + 3))
            row[k] = Between(line, p(k + 2), p(k + 3));
    }
}

ParsedReport ParseSemicolonLines(const std::vector<std::string_view> &lines)
{
    ParsedReport report;
    bool trailingSeparatorMode = false;
    for (std::string_view line : lines) {
        const std::size_t fields = 1 + CountPositions(line, ';');
        const std::size_t rest = fields % FieldsPerLine;
        if (rest > 1)
            report.Damaged = true;
        if (rest == 1)
            trailingSeparatorMode = true;
    }
    // The two header lines are not read.
    if (lines.size() > 2) {
        report.Rows.resize(lines.size() - 2);
        for (std::size_t i = 2; i < lines.size(); ++i)
            ReadSemicolonRow(lines[i], trailingSeparatorMode, report.Rows[i - 2]);
    }
    return report;
}

ParsedReport ParseOkzLines(const std::vector<std::string_view> &lines)
{
    ParsedReport report;
    report.Rows.resize(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (CountPositions(lines[i], '|') % BarsPerLine != 0)
            report.Damaged = true;
        ReadOkzRow(lines[i], report.Rows[i]);
    }
    return report;
}

// A row that a save writes: every row with a point name, its cells as the file
// holds them.
struct WrittenRow
{
    int TableRow = 0;
    ReportRow Cells;
};

std::vector<WrittenRow> RowsToWrite(const ReportTable &table)
{
    std::vector<WrittenRow> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (!table.IsRowInUse(row))
            continue;
        WrittenRow &written = rows.emplace_back();
        written.TableRow = row;
        for (int col = 0; col < ReportTable::ColCount; ++col)
            written.Cells[std::size_t(col)] = WithWindows1251Separators(table.Cell(col, row));
    }
    return rows;
}

std::string TextOf(const std::vector<WrittenRow> &rows)
{
    if (rows.empty())
        return {};
    std::size_t size = report_texts::FileHeaderLine.size() + report_texts::FileUnitLine.size()
                       + 2 * LineEnd.size();
    for (const WrittenRow &row : rows) {
        for (const std::string &cell : row.Cells)
            size += cell.size() + 1;
        size += LineEnd.size();
    }
    std::string text;
    text.reserve(size);
    text.append(report_texts::FileHeaderLine).append(LineEnd);
    text.append(report_texts::FileUnitLine).append(LineEnd);
    for (const WrittenRow &row : rows) {
        for (std::size_t col = 0; col < row.Cells.size(); ++col) {
            if (col > 0)
                text += ';';
            text += row.Cells[col];
        }
        text.append(LineEnd);
    }
    return text;
}

std::string RowText(int tableRow)
{
    return "в строке " + std::to_string(tableRow + 1);
}

// Why a cell cannot be written so that it reads back as it is: the reader
// splits the text into lines at CR and LF and into cells at the semicolon, and
// the file holds only the characters of the code page. A text with a line
// break is not quoted, so that the message stays one line.
std::optional<std::string>
UnwritableCellReason(const std::string &cell, int tableRow, bool checkCodePage)
{
    if (std::any_of(cell.begin(), cell.end(), [](char c) { return c == '\r' || c == '\n'; }))
        return "текст " + RowText(tableRow)
               + " содержит перевод строки, который разделил бы эту строку в файле отчета";
    if (cell.find(';') != std::string::npos)
        return "текст \"" + cell + "\" " + RowText(tableRow)
               + " содержит точку с запятой, которая разделяет столбцы в файле отчета. Удалите "
                 "эту строку из отчета или исправьте файл, из которого она прочитана";
    if (checkCodePage && !IsWindows1251Text(cell))
        return "текст \"" + cell + "\" " + RowText(tableRow)
               + " не может быть записан в кодировке Windows-1251";
    return std::nullopt;
}

// The code page is checked cell by cell only to name the cell once the whole
// text failed to encode: a converter per cell would slow every save down.
std::optional<std::string> UnwritableReason(const std::vector<WrittenRow> &rows, bool checkCodePage)
{
    for (const WrittenRow &row : rows) {
        for (const std::string &cell : row.Cells) {
            if (std::optional<std::string> reason
                = UnwritableCellReason(cell, row.TableRow, checkCodePage))
                return reason;
        }
    }
    return std::nullopt;
}

// The last guard before the file is written: the bytes must read back to the
// rows they were made from. Names the first row that would not.
std::optional<std::string> ReadBackMismatch(std::string_view bytes,
                                            const std::vector<WrittenRow> &rows)
{
    const ParsedReport back
            = ParseReportText(DecodeWindows1251(bytes), ReportFileFormat::Semicolon);
    for (std::size_t i = 0; i < std::max(rows.size(), back.Rows.size()); ++i) {
        if (i < rows.size() && i < back.Rows.size() && rows[i].Cells == back.Rows[i])
            continue;
        const int tableRow = i < rows.size() ? rows[i].TableRow
                             : rows.empty()  ? 0
                                             : rows.back().TableRow;
        return "строка " + std::to_string(tableRow + 1)
               + " отчета прочиталась бы из файла иначе, чем она записана в отчете";
    }
    if (back.Damaged)
        return std::string("файл отчета прочитался бы как поврежденный");
    return std::nullopt;
}

// Whether the file text reads back to the rows it was made from, shown without
// reading it: the reader splits lines only at CR and LF and cells only at the
// semicolon, which no cell holds once UnwritableReason passed; a line's fields are
// then its cells, unless it starts with a semicolon, which only an empty point
// name would give; and the two header lines must count as whole lines of cells.
bool ReadsBackByItsShape(const std::vector<WrittenRow> &rows)
{
    static const bool headersPlain = [] {
        for (const std::string_view header :
             {report_texts::FileHeaderLine, report_texts::FileUnitLine}) {
            if (header.find_first_of("\r\n") != std::string_view::npos
                || (1 + CountPositions(header, ';')) % FieldsPerLine != 0)
                return false;
        }
        return true;
    }();
    return headersPlain && std::all_of(rows.begin(), rows.end(), [](const WrittenRow &row) {
               return !row.Cells[0].empty();
           });
}

} // namespace

std::optional<ReportFileFormat> ReportFileFormatOf(std::string_view path)
{
    if (EndsWith(path, "csv"))
        return ReportFileFormat::Semicolon;
    if (EndsWith(path, "okz"))
        return ReportFileFormat::Okz;
    return std::nullopt;
}

std::string ReportFileText(const ReportTable &table)
{
    return TextOf(RowsToWrite(table));
}

ParsedReport ParseReportText(std::string_view text, ReportFileFormat format)
{
    const std::vector<std::string_view> lines = SplitLines(text);
    return format == ReportFileFormat::Okz ? ParseOkzLines(lines) : ParseSemicolonLines(lines);
}

void LoadParsedReport(ReportTable &table, ParsedReport report)
{
    table.ClearReportTable();
    table.ReplaceRows(std::move(report.Rows));
}

FileResult SaveReportFile(const ReportTable &table, const std::string &path)
{
    const std::vector<WrittenRow> rows = RowsToWrite(table);
    if (std::optional<std::string> reason = UnwritableReason(rows, false))
        return FileResult::failure(std::move(*reason));
    const std::string text = TextOf(rows);
    const std::optional<std::string> bytes = EncodeWindows1251(text);
    if (!bytes)
        return FileResult::failure(
                UnwritableReason(rows, true)
                        .value_or("текст не может быть записан в кодировке Windows-1251"));
    // The last guard before the file is written, in two cheap steps where it can:
    // the bytes decode to the very text, and that text reads back by its shape.
    // Otherwise the file is read back as a whole.
    if (!DecodesTo(*bytes, text) || !ReadsBackByItsShape(rows)) {
        if (std::optional<std::string> reason = ReadBackMismatch(*bytes, rows))
            return FileResult::failure(std::move(*reason));
    }
    return WriteFileReplacing(path, *bytes);
}

FileResult ReadReportFile(const std::string &path, ReportFileFormat format, ParsedReport &report)
{
    std::string bytes;
    FileResult result = ReadFileBytes(path, bytes);
    if (!result.Ok)
        return result;
    report = ParseReportText(DecodeWindows1251(bytes), format);
    return result;
}

ReportOpening ReadReportToOpen(const std::string &path)
{
    ReportOpening opening;
    const std::optional<ReportFileFormat> format = ReportFileFormatOf(path);
    if (!format) {
        opening.Refusal = report_texts::UnknownExtensionMessage;
        return opening;
    }
    ParsedReport report;
    const FileResult result = ReadReportFile(path, *format, report);
    if (!result.Ok) {
        opening.Refusal = "Не удалось прочитать файл \"" + path + "\": " + result.Reason + ".";
        opening.RefusalIsError = true;
        return opening;
    }
    opening.Report = std::move(report);
    return opening;
}

} // namespace tormel
