#include "cli/ReportJoin.h"

#include <string>
#include <unordered_map>

namespace tormel::cli {

void JoinReport(ReportTable &into, const ReportTable &from)
{
    // The first row of each name, as the point-name dialog looks it up.
    std::unordered_map<std::string, int> rowOf;
    int next = into.RowsInUseCount();
    for (int row = next - 1; row >= 0; --row)
        rowOf[into.Cell(0, row)] = row;

    for (int row = 0; row < from.RowsInUseCount(); ++row) {
        const auto [at, added] = rowOf.try_emplace(from.Cell(0, row), next);
        if (added) {
            ++next;
            if (next > into.RowCount())
                into.SetRowCount(next);
        }
        into.SetRow(at->second, from.Row(row));
    }
}

} // namespace tormel::cli
