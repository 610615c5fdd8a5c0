// The two report readers and the report table: any file reads without harm into the
// rows its lines give, a sound line gives exactly its cells, and the table saved again
// reads back to the same rows, byte for byte.

#include "FuzzSupport.h"

#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/Windows1251.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using tormel::ParsedReport;
using tormel::ReportFileFormat;
using tormel::ReportRow;
using tormel::ReportTable;
using tormel::fuzz::Require;

// The lines of the text as written here: each CR LF, LF or CR ends one, and a last
// line without an end counts when it is not empty.
std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    if (lines.back().empty())
        lines.pop_back();
    return lines;
}

std::vector<std::string> splitFields(const std::string &line, char separator)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == separator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The cells of a normal line: 12 fields joined by ";" (csv), or a bar before each of
// the 12 cells and one after the last (okz); nothing for any other line.
std::optional<ReportRow> normalRow(const std::string &line, ReportFileFormat format)
{
    std::vector<std::string> fields;
    if (format == ReportFileFormat::Semicolon) {
        fields = splitFields(line, ';');
        // A first field that is empty is collected twice by the reader's count.
        if (fields.size() != 12 || fields[0].empty())
            return std::nullopt;
    } else {
        fields = splitFields(line, '|');
        if (fields.size() != 14 || !fields.front().empty() || !fields.back().empty())
            return std::nullopt;
        fields = std::vector<std::string>(fields.begin() + 1, fields.end() - 1);
    }
    ReportRow row;
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = fields[i];
    return row;
}

std::string describeRow(const ReportRow &row)
{
    std::string text;
    for (const std::string &cell : row)
        text += "[" + cell + "]";
    return text;
}

void checkParsed(const std::string &text, ReportFileFormat format, const ParsedReport &parsed)
{
    const std::vector<std::string> lines = splitLines(text);
    const std::size_t skipped = format == ReportFileFormat::Semicolon ? 2 : 0;
    Require(parsed.Rows.size() == (lines.size() > skipped ? lines.size() - skipped : 0),
            "one row per data line",
            text);

    // The mode of a csv file depends on all its lines; every line normal means the normal
    // mode, and then each line gives its own fields.
    bool allNormal = true;
    for (std::size_t i = skipped; i < lines.size(); ++i)
        allNormal = allNormal && normalRow(lines[i], format).has_value();
    if (format == ReportFileFormat::Semicolon) {
        for (std::size_t i = 0; i < skipped && i < lines.size(); ++i)
            allNormal = allNormal && normalRow(lines[i], format).has_value();
    }
    if (!allNormal)
        return;
    Require(!parsed.Damaged, "a file of normal lines is sound", text);
    for (std::size_t i = skipped; i < lines.size(); ++i)
        Require(parsed.Rows[i - skipped] == *normalRow(lines[i], format),
                "a normal line gives its cells",
                lines[i] + " read as " + describeRow(parsed.Rows[i - skipped]));
}

void checkLoaded(const ParsedReport &parsed, const ReportTable &table)
{
    const int rows = int(parsed.Rows.size());
    Require(table.RowCount() == std::max(rows, ReportTable::MinRowCount),
            "the table holds every row read, and at least 14");
    for (int row = 0; row < table.RowCount(); ++row)
        Require(table.Row(row) == (row < rows ? parsed.Rows[std::size_t(row)] : ReportRow{}),
                "the table holds the rows read, then empty rows",
                describeRow(table.Row(row)));
}

bool anyCell(const std::vector<ReportRow> &rows, bool (*test)(const std::string &))
{
    for (const ReportRow &row : rows)
        for (const std::string &cell : row)
            if (test(cell))
                return true;
    return false;
}

// "Сохранить" and "Открыть..." again: the saved file reads back as the rows in use, each
// separator of the regional settings that Windows-1251 lacks as its stand-in there (a
// point made under such settings holds one; a file read never does).
void checkSavedAgain(const ReportTable &table)
{
    std::vector<ReportRow> inUse;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (!table.IsRowInUse(row))
            continue;
        ReportRow written = table.Row(row);
        for (std::string &cell : written)
            cell = tormel::WithWindows1251Separators(cell);
        inUse.push_back(std::move(written));
    }
    const bool unencodable = anyCell(
            inUse, [](const std::string &cell) { return !tormel::IsWindows1251Text(cell); });
    const bool semicolon = anyCell(
            inUse, [](const std::string &cell) { return cell.find(';') != std::string::npos; });

    const std::string path = tormel::fuzz::ScratchFolder() + "/report.csv";
    const tormel::FileResult saved = tormel::SaveReportFile(table, path);
    if (!saved.Ok) {
        Require(!saved.Reason.empty() && saved.Reason.find_first_of("\r\n") == std::string::npos,
                "a refused save says why in one line",
                saved.Reason);
        Require(unencodable || semicolon,
                "a report that Windows-1251 holds is saved",
                saved.Reason);
        return;
    }
    Require(!unencodable, "text that Windows-1251 lacks is not saved");

    ParsedReport readBack;
    const tormel::FileResult read
            = tormel::ReadReportFile(path, ReportFileFormat::Semicolon, readBack);
    Require(read.Ok, "the saved file can be read", read.Reason);
    if (semicolon && tormel::fuzz::Tolerate(tormel::fuzz::KnownFault::SemicolonInCell))
        return;
    Require(!readBack.Damaged, "the program's own file is sound");
    Require(readBack.Rows.size() == inUse.size(), "every point reads back");
    for (std::size_t i = 0; i < inUse.size(); ++i)
        Require(readBack.Rows[i] == inUse[i],
                "the saved report reads back to the same cells",
                describeRow(inUse[i]) + " read back as " + describeRow(readBack.Rows[i]));
}

} // namespace

// The first byte chooses the format, whether the bytes are a Windows-1251 file or text
// as the reader sees it, and what the table held before; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const std::string_view bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    const ReportFileFormat format
            = (flags & 1) ? ReportFileFormat::Okz : ReportFileFormat::Semicolon;
    const std::string text = (flags & 2) ? std::string(bytes) : tormel::DecodeWindows1251(bytes);

    const ParsedReport parsed = tormel::ParseReportText(text, format);
    checkParsed(text, format, parsed);

    // Opening replaces whatever the table held, more rows or fewer.
    ReportTable table;
    const int before = (flags >> 2) & 3;
    table.SetRowCount(ReportTable::MinRowCount + before * 10);
    for (int row = 0; row < before * 8; ++row)
        table.SetCell(0, row, "К-" + std::to_string(row));
    tormel::LoadParsedReport(table, parsed);
    checkLoaded(parsed, table);

    checkSavedAgain(table);
    return 0;
}
