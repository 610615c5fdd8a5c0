#include "report/ReportTable.h"

#include "report/ReportTexts.h"

#include <algorithm>
#include <utility>

namespace tormel {

namespace {

const std::string EmptyText;
const ReportRow EmptyRow;

} // namespace

ReportTable::ReportTable()
    : m_rows(MinRowCount)
    , m_caption(report_texts::CaptionAtStart)
{}

void ReportTable::SetRowCount(int count)
{
    m_rows.resize(std::size_t(std::max(count, MinRowCount)));
    KeepCurrentRowInside();
}

bool ReportTable::IsValidCell(int col, int row) const
{
    return col >= 0 && col < ColCount && row >= 0 && row < RowCount();
}

const std::string &ReportTable::Cell(int col, int row) const
{
    if (!IsValidCell(col, row))
        return EmptyText;
    return m_rows[std::size_t(row)][std::size_t(col)];
}

void ReportTable::SetCell(int col, int row, std::string text)
{
    if (IsValidCell(col, row))
        m_rows[std::size_t(row)][std::size_t(col)] = std::move(text);
}

const ReportRow &ReportTable::Row(int row) const
{
    if (!IsValidCell(0, row))
        return EmptyRow;
    return m_rows[std::size_t(row)];
}

void ReportTable::SetRow(int row, ReportRow cells)
{
    if (IsValidCell(0, row))
        m_rows[std::size_t(row)] = std::move(cells);
}

int ReportTable::RowsInUseCount() const
{
    int count = 0;
    while (count < RowCount() && IsRowInUse(count))
        ++count;
    return count;
}

void ReportTable::SetReportFile(const std::string &path)
{
    m_reportFileName = path;
    m_caption = std::string(report_texts::CaptionFilePrefix) + path;
}

void ReportTable::SetNewReportFile()
{
    m_reportFileName.clear();
    m_caption = report_texts::CaptionAfterNew;
}

void ReportTable::ClearReportTable()
{
    for (ReportRow &row : m_rows)
        row = ReportRow();
    SetRowCount(MinRowCount);
}

void ReportTable::ReplaceRows(std::vector<ReportRow> rows)
{
    m_rows = std::move(rows);
    SetRowCount(RowCount());
}

void ReportTable::KeepCurrentRowInside()
{
    if (m_currentRow >= RowCount())
        m_currentRow = RowCount() - 1;
}

void ReportTable::ReportStringGridSelectCell(int /*col*/, int row)
{
    m_currentRow = row;
}

void ReportTable::ReportStringGridMouseUp(int col, int row)
{
    if (IsValidCell(col, row)) {
        m_currentCol = col;
        m_currentRow = row;
    } else {
        m_currentCol = -1;
        m_currentRow = -1;
    }
}

std::optional<std::string> ReportTable::DeleteSelectedRow()
{
    if (m_currentCol < 0 || m_currentRow < 0 || m_currentRow >= RowCount())
        return std::string(report_texts::NoRowToDelete);
    // The rows below move up by one and the last row ends empty.
    const auto deleted = m_rows.begin() + m_currentRow;
    std::move(deleted + 1, m_rows.end(), deleted);
    m_rows.back() = ReportRow();
    if (RowCount() > MinRowCount)
        SetRowCount(RowCount() - 1);
    return std::nullopt;
}

void ReportTable::UpSpeedButtonClick()
{
    const int inUse = RowsInUseCount();
    if (m_currentRow < 1 || m_currentRow > inUse - 1)
        return;
    std::swap(m_rows[std::size_t(m_currentRow)], m_rows[std::size_t(m_currentRow - 1)]);
    m_currentRow -= 1;
}

void ReportTable::DownSpeedButtonClick()
{
    const int inUse = RowsInUseCount();
    if (m_currentRow < 0 || m_currentRow > inUse - 2)
        return;
    std::swap(m_rows[std::size_t(m_currentRow)], m_rows[std::size_t(m_currentRow + 1)]);
    m_currentRow += 1;
}

void DeleteAllReportOKBitBtnClick(ReportTable &table)
{
    table.ClearReportTable();
}

} // namespace tormel
