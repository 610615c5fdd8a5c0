#pragma once

#include "report/ReportTable.h"

namespace tormel::cli {

// Adds the points of a report (the rows in use, from the top) to another, as a run of
// the objects behind them after those of the first would have added them: a point of a
// name already there is written over that row, where it stands; a new name goes to the
// first free row. So the reports of the parts of a study, joined in the parts' order,
// are the report of the whole study.
void JoinReport(ReportTable &into, const ReportTable &from);

} // namespace tormel::cli
