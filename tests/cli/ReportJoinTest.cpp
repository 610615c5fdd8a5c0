#include "cli/ReportJoin.h"
#include "cli/BatchRunner.h"
#include "feed/BatchInput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tormel::cli {
namespace {

// Points of twenty names, each name several times, at varied lengths.
std::vector<CalcRequest> points(int from, int to)
{
    nlohmann::json document = nlohmann::json::array();
    for (int i = from; i < to; ++i) {
        document.push_back({{"Name", "Т-" + std::to_string(i * 7 % 20)},
                            {"TransPower", "400"},
                            {"Lines",
                             {{{"KindPerform", "СИП-2"},
                               {"Stuff", "3*70+1*54.6"},
                               {"Length", std::to_string(10 * i)}}}}});
    }
    return ParseBatchInput(document.dump()).Requests;
}

ReportTable reportOf(const std::vector<CalcRequest> &requests, ReportTable start = {})
{
    BatchRun run(NumberSeparators::russian(), std::move(start));
    for (const CalcRequest &request : requests)
        run.Run(request);
    return std::move(run.Report());
}

std::vector<ReportRow> rowsOf(const ReportTable &report)
{
    std::vector<ReportRow> rows;
    for (int row = 0; row < report.RowCount(); ++row)
        rows.push_back(report.Row(row));
    return rows;
}

// The parts of a study joined in order give the report of the whole study: the same
// rows in the same places, grown past the 14 rows of a new report.
TEST(ReportJoinTest, PartsJoinedInOrderAreTheWholeStudy)
{
    std::vector<CalcRequest> whole = points(0, 45);
    const ReportTable expected = reportOf(whole);
    ASSERT_EQ(expected.RowsInUseCount(), 20);

    for (int split : {0, 6, 17, 45}) {
        ReportTable joined = reportOf(points(0, split));
        JoinReport(joined, reportOf(points(split, 45)));
        EXPECT_EQ(rowsOf(joined), rowsOf(expected)) << "split at " << split;
    }
    // Three parts, the first one on top of an opened report.
    ReportTable opened = reportOf(points(40, 45));
    ReportTable joined = reportOf(points(0, 10), opened);
    JoinReport(joined, reportOf(points(10, 30)));
    JoinReport(joined, reportOf(points(30, 45)));
    EXPECT_EQ(rowsOf(joined), rowsOf(reportOf(whole, opened)));
}

} // namespace
} // namespace tormel::cli
