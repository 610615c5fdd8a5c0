#pragma once

// The workbook that the "Excel.Application" server builds in memory and writes as an
// .xlsx file: cells with texts or numbers, and formats on cells, whole rows and whole
// columns, where a cell's own format wins over its row's, and its row's over its
// column's.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tormel::xlsx {

// Excel's sheet size; rows and columns are counted from 1.
inline constexpr int MaxRow = 1048576;
inline constexpr int MaxColumn = 16384;
// Excel's standard column width, in characters.
inline constexpr double DefaultColumnWidth = 8.43;

enum class HorizontalAlign {
    General,
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcross,
    Distributed
};
enum class LineStyle { None, Continuous, Dash, Dot, Double, DashDot, DashDotDot };

struct Format
{
    std::optional<bool> bold;
    std::optional<HorizontalAlign> align;
    // The same line on all four edges of the cell.
    std::optional<LineStyle> border;

    // The attributes of `over` that are set replace these.
    void overlay(const Format &over);
    bool operator==(const Format &) const = default;
};

using CellValue = std::variant<std::monostate, std::string, double, bool>;

struct Cell
{
    CellValue value;
    Format format;
};

struct Sheet
{
    std::string name;
    std::map<std::pair<int, int>, Cell> cells; // by (row, column)
    std::map<int, Format> rowFormats;
    std::map<int, Format> columnFormats;
    std::map<int, double> columnWidths; // in characters

    // The format that a cell shows: column, then row, then the cell's own.
    Format effectiveFormat(int row, int column) const;
};

struct Workbook
{
    std::vector<Sheet> sheets;
};

// Writes the workbook to an .xlsx file; returns an empty text on success, else the reason.
std::string WriteWorkbook(const Workbook &workbook, const std::string &path);

// Sheet names as Excel accepts them: 1 to 31 characters, none of : \ / ? * [ ],
// not beginning or ending with an apostrophe.
bool IsValidSheetName(const std::string &name);

} // namespace tormel::xlsx
