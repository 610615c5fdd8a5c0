#pragma once

#include <string>
#include <vector>

namespace tormel {

class ReportTable;

// The texts that both exports send: the header row, the units row and the rows in
// use of the report, 12 columns each, rows first. Only the rows from the top down
// to the first row without a point name are exported.
using ExportGrid = std::vector<std::vector<std::string>>;

ExportGrid BuildExportGrid(const ReportTable &table);

// The name of the exported sheet in both programs.
inline constexpr const char *ExportSheetName = "Расчет ОКЗ";

} // namespace tormel
