#include "report/export/ExportGrid.h"

#include "report/ReportTable.h"

#include <array>

namespace tormel {

namespace {

// The headers write the magnitude without the blanks of the report window; the
// time unit is the Latin "c", unlike the Cyrillic "с" of the window and the file.
constexpr std::array<const char *, ReportTable::ColCount> Headers = {"№ точки",
                                                                     "Rт/3",
                                                                     "Xт/3",
                                                                     "Rл",
                                                                     "Xл",
                                                                     "Rпр",
                                                                     "Rф-н",
                                                                     "Xф-н",
                                                                     "|Zф-н|",
                                                                     "Iокз",
                                                                     "Iср",
                                                                     "Tср"};
constexpr std::array<const char *, ReportTable::ColCount> Units
        = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

} // namespace

ExportGrid BuildExportGrid(const ReportTable &table)
{
    const int rowsInUse = table.RowsInUseCount();
    ExportGrid grid;
    grid.reserve(static_cast<std::size_t>(rowsInUse) + 2);
    grid.emplace_back(Headers.begin(), Headers.end());
    grid.emplace_back(Units.begin(), Units.end());
    for (int row = 0; row < rowsInUse; ++row) {
        std::vector<std::string> cells;
        cells.reserve(ReportTable::ColCount);
        for (int col = 0; col < ReportTable::ColCount; ++col)
            cells.push_back(table.Cell(col, row));
        grid.push_back(std::move(cells));
    }
    return grid;
}

} // namespace tormel
