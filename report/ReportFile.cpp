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

// The rows that a save writes: every row with a point name.
template<typename Visit>
void ForEachPointRow(const ReportTable &table, Visit visit)
{
    for (int row = 0; row < table.RowCount(); ++row) {
        if (table.IsRowInUse(row))
            visit(row);
    }
}

// Why the text cannot be written: the first cell that the code page cannot hold.
std::string UnencodableReason(const ReportTable &table)
{
    std::string reason = "текст не может быть записан в кодировке Windows-1251";
    bool found = false;
    ForEachPointRow(table, [&](int row) {
        for (int col = 0; col < ReportTable::ColCount && !found; ++col) {
            const std::string &cell = table.Cell(col, row);
            if (!IsWindows1251Text(cell)) {
                reason = "текст \"" + cell + "\" в строке " + std::to_string(row + 1)
                         + " не может быть записан в кодировке Windows-1251";
                found = true;
            }
        }
    });
    return reason;
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
    std::size_t size = 0;
    ForEachPointRow(table, [&](int row) {
        for (const std::string &cell : table.Row(row))
            size += cell.size() + 1;
        size += LineEnd.size();
    });
    std::string text;
    if (size > 0)
        text.reserve(report_texts::FileHeaderLine.size() + report_texts::FileUnitLine.size()
                     + 2 * LineEnd.size() + size);
    ForEachPointRow(table, [&](int row) {
        if (text.empty()) {
            text.append(report_texts::FileHeaderLine).append(LineEnd);
            text.append(report_texts::FileUnitLine).append(LineEnd);
        }
        for (int col = 0; col < ReportTable::ColCount; ++col) {
            if (col > 0)
                text += ';';
            text += table.Cell(col, row);
        }
        text.append(LineEnd);
    });
    return text;
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
    const std::optional<std::string> bytes = EncodeWindows1251(ReportFileText(table));
    if (!bytes)
        return FileResult::failure(UnencodableReason(table));
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

} // namespace tormel
