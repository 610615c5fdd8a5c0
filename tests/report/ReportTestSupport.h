#pragma once

#include "report/ReportTable.h"

#include <string>

namespace tormel::testing {

// A point row with recognisable texts: "<name>|<column>" in every value cell.
inline ReportRow PointRow(const std::string &name)
{
    ReportRow row;
    row[0] = name;
    for (int col = 1; col < ReportTable::ColCount; ++col)
        row[std::size_t(col)] = name + "-" + std::to_string(col);
    return row;
}

// A table holding the given points from row 0 down.
inline ReportTable TableWithPoints(int count)
{
    ReportTable table;
    table.SetRowCount(count);
    for (int row = 0; row < count; ++row)
        table.SetRow(row, PointRow("P" + std::to_string(row + 1)));
    return table;
}

} // namespace tormel::testing
