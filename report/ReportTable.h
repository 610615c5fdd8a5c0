#pragma once

#include "report/ReportTexts.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tormel {

// The texts of one report row, in column order.
using ReportRow = std::array<std::string, report_texts::ColumnCount>;

// The report: twelve text columns and at least 14 rows, the rows in use (those
// with a point name in column 0) at the top without gaps. Beside the cells it
// keeps what the report window shows about them: the current row and column,
// the file the report belongs to and the window caption. The report window is
// a view of this object and there is no other copy of the report.
class ReportTable
{
public:
    static constexpr int ColCount = report_texts::ColumnCount;
    static constexpr int MinRowCount = 14;

    ReportTable();

    int RowCount() const { return int(m_rows.size()); }
    // Grows with empty rows or drops rows from the bottom; never below MinRowCount.
    void SetRowCount(int count);

    // Out-of-range cells read as empty text, and writes to them are ignored.
    const std::string &Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    const ReportRow &Row(int row) const;
    void SetRow(int row, ReportRow cells);

    // A row is in use when its point name is not empty.
    bool IsRowInUse(int row) const { return !Cell(0, row).empty(); }
    // Rows in use counted from the top down to the first row without a name.
    int RowsInUseCount() const;

    // The row that delete and the moves act on; -1 when the last mouse button
    // release was not over a cell.
    int CurrentRow() const { return m_currentRow; }
    // Only its sign matters: -1 when the last release was not over a cell.
    int CurrentCol() const { return m_currentCol; }

    const std::string &ReportFileName() const { return m_reportFileName; }
    const std::string &Caption() const { return m_caption; }
    // Adopts a file that was written or read: the name and "Отчет-" + path.
    void SetReportFile(const std::string &path);
    // "Новый": no file and the caption "Отчет- *Новый*".
    void SetNewReportFile();

    // Empties every cell and sets the row count back to 14.
    void ClearReportTable();
    // Replaces every row at once (opening a file): the given rows from the top,
    // then empty rows up to 14.
    void ReplaceRows(std::vector<ReportRow> rows);

    // The grid selects a cell (mouse, keyboard or program): only the row is kept.
    void ReportStringGridSelectCell(int col, int row);
    // A mouse button was released over the grid at this cell, -1 and -1 when
    // there was no cell under the pointer.
    void ReportStringGridMouseUp(int col, int row);

    // "Удалить": removes the current row; the rows below move up.
    // Without a current row nothing changes and the refusal's text is given.
    std::optional<std::string> DeleteSelectedRow();
    // The move buttons exchange the current row with its neighbour among the
    // rows in use and follow it with the selection.
    void UpSpeedButtonClick();
    void DownSpeedButtonClick();

private:
    bool IsValidCell(int col, int row) const;
    // The grid keeps its selection inside the table when rows go away.
    void KeepCurrentRowInside();

    std::vector<ReportRow> m_rows;
    int m_currentRow = 0;
    int m_currentCol = 0;
    std::string m_reportFileName;
    std::string m_caption;
};

// "Да" of the delete-all confirmation: the table is emptied, the file name and
// caption stay.
void DeleteAllReportOKBitBtnClick(ReportTable &table);

} // namespace tormel
