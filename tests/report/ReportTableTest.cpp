#include "report/ReportTable.h"

#include "ReportTestSupport.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using testing::PointRow;
using testing::TableWithPoints;

std::vector<std::string> Names(const ReportTable &table)
{
    std::vector<std::string> names;
    for (int row = 0; row < table.RowCount(); ++row)
        names.push_back(table.Cell(0, row));
    return names;
}

TEST(ReportTable, StartsEmptyWithFourteenRowsAndTheFirstRowCurrent)
{
    const ReportTable table;
    EXPECT_EQ(table.RowCount(), 14);
    EXPECT_EQ(table.RowsInUseCount(), 0);
    EXPECT_EQ(table.CurrentRow(), 0);
    EXPECT_EQ(table.CurrentCol(), 0);
    EXPECT_EQ(table.ReportFileName(), "");
    EXPECT_EQ(table.Caption(), "Отчет - *Новый*");
}

TEST(ReportTable, RowCountNeverFallsBelowFourteenAndOutsideCellsAreHarmless)
{
    ReportTable table;
    table.SetRowCount(3);
    EXPECT_EQ(table.RowCount(), 14);
    table.SetCell(12, 0, "x");
    table.SetCell(0, 14, "x");
    table.SetCell(-1, -1, "x");
    EXPECT_EQ(table.Cell(12, 0), "");
    EXPECT_EQ(table.Cell(0, 14), "");
    EXPECT_EQ(table.Cell(-1, 3), "");
    EXPECT_EQ(table.RowsInUseCount(), 0);
}

TEST(ReportTableDelete, FirstRowIsCurrentAtStart)
{
    ReportTable table = TableWithPoints(3);
    EXPECT_EQ(table.DeleteSelectedRow(), std::nullopt);
    EXPECT_EQ(table.Row(0), PointRow("P2"));
    EXPECT_EQ(table.Row(1), PointRow("P3"));
    EXPECT_EQ(table.RowsInUseCount(), 2);
    EXPECT_EQ(table.RowCount(), 14);
    EXPECT_EQ(table.CurrentRow(), 0);
}

TEST(ReportTableDelete, ShrinksOnlyAboveFourteenRows)
{
    struct Case
    {
        int points;
        int current;
        int rowsAfter;
    };
    for (const Case c : {Case{20, 7, 19}, Case{5, 2, 14}, Case{15, 3, 14}, Case{14, 13, 14}}) {
        SCOPED_TRACE(c.points);
        ReportTable table = TableWithPoints(c.points);
        table.ReportStringGridMouseUp(4, c.current);
        EXPECT_EQ(table.DeleteSelectedRow(), std::nullopt);
        EXPECT_EQ(table.RowCount(), c.rowsAfter);
        EXPECT_EQ(table.RowsInUseCount(), c.points - 1);
        // The point below moved into the current row, the last point's row is empty.
        EXPECT_EQ(table.Cell(0, c.current),
                  c.current + 1 < c.points ? "P" + std::to_string(c.current + 2) : "");
        EXPECT_EQ(table.Row(c.points - 1), ReportRow());
    }
}

TEST(ReportTableDelete, LastOfFifteenRowsMovesTheSelectionToTheNewLastRow)
{
    ReportTable table = TableWithPoints(15);
    table.ReportStringGridMouseUp(0, 14);
    EXPECT_EQ(table.DeleteSelectedRow(), std::nullopt);
    EXPECT_EQ(table.RowCount(), 14);
    EXPECT_EQ(table.RowsInUseCount(), 14);
    EXPECT_EQ(table.Cell(0, 13), "P14");
    EXPECT_EQ(table.CurrentRow(), 13);
}

TEST(ReportTableDelete, ReleaseOutsideTheCellsAsksForARow)
{
    ReportTable table = TableWithPoints(3);
    table.ReportStringGridMouseUp(-1, -1);
    EXPECT_EQ(table.CurrentRow(), -1);
    EXPECT_EQ(table.CurrentCol(), -1);
    EXPECT_EQ(table.DeleteSelectedRow(), "Укажите строку, которую необходимо удалить.");
    EXPECT_EQ(table.RowsInUseCount(), 3);

    // Selecting by keyboard sets the row but not the column, which still says
    // the last release was outside.
    table.ReportStringGridSelectCell(0, 1);
    EXPECT_EQ(table.DeleteSelectedRow(), "Укажите строку, которую необходимо удалить.");
    EXPECT_EQ(table.RowsInUseCount(), 3);
}

TEST(ReportTableMove, ThreePressesUpCarryThePointToRowTwo)
{
    ReportTable table = TableWithPoints(8);
    table.ReportStringGridSelectCell(0, 5);
    for (int i = 0; i < 3; ++i)
        table.UpSpeedButtonClick();
    EXPECT_EQ(table.CurrentRow(), 2);
    EXPECT_EQ(Names(table)[2], "P6");
    EXPECT_EQ(table.Row(2), PointRow("P6"));
    std::vector<std::string> names = Names(table);
    names.resize(8);
    EXPECT_EQ(names, (std::vector<std::string>{"P1", "P2", "P6", "P3", "P4", "P5", "P7", "P8"}));
}

TEST(ReportTableMove, DownSwapsWithTheNextPointAndFollowsIt)
{
    ReportTable table = TableWithPoints(3);
    table.DownSpeedButtonClick();
    EXPECT_EQ(table.CurrentRow(), 1);
    EXPECT_EQ(table.Row(0), PointRow("P2"));
    EXPECT_EQ(table.Row(1), PointRow("P1"));
}

TEST(ReportTableMove, EdgesDoNothing)
{
    struct Case
    {
        const char *what;
        int current;
        bool up;
    };
    for (const Case c : {Case{"up on the first row", 0, true},
                         Case{"down on the last point", 4, false},
                         Case{"down on an empty row", 7, false},
                         Case{"up on an empty row", 7, true},
                         Case{"up on the first empty row", 5, true},
                         Case{"up with no current row", -1, true},
                         Case{"down with no current row", -1, false}}) {
        SCOPED_TRACE(c.what);
        ReportTable table = TableWithPoints(5);
        const ReportTable before = table;
        table.ReportStringGridSelectCell(0, c.current);
        if (c.up)
            table.UpSpeedButtonClick();
        else
            table.DownSpeedButtonClick();
        EXPECT_EQ(table.CurrentRow(), c.current);
        for (int row = 0; row < table.RowCount(); ++row)
            EXPECT_EQ(table.Row(row), before.Row(row));
    }
}

TEST(ReportTable, DeleteAllEmptiesEveryRowButKeepsTheFile)
{
    ReportTable table = TableWithPoints(20);
    table.SetReportFile("/home/u/a.csv");
    table.ReportStringGridSelectCell(0, 18);
    DeleteAllReportOKBitBtnClick(table);
    EXPECT_EQ(table.RowCount(), 14);
    EXPECT_EQ(table.RowsInUseCount(), 0);
    for (int row = 0; row < table.RowCount(); ++row)
        EXPECT_EQ(table.Row(row), ReportRow());
    EXPECT_EQ(table.CurrentRow(), 13);
    EXPECT_EQ(table.ReportFileName(), "/home/u/a.csv");
    EXPECT_EQ(table.Caption(), "Отчет-/home/u/a.csv");
}

} // namespace
} // namespace tormel
