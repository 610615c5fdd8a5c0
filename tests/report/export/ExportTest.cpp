// The two exports against a recording automation server: what they call, in which
// order, with which arguments, and how they stop.

#include "report/ReportTable.h"
#include "report/export/Automation.h"
#include "report/export/ToCalcUnit.h"
#include "report/export/ToExcelUnit.h"
#include "tests/report/export/RecordingAutomation.h"
#include "tests/support/RecordingMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace tormel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::RecordingMessages;
using testing::RecordingServer;

// A report whose first `points` rows are in use: row r holds "T<r+1>" and "<col>,<r>".
ReportTable MakeReport(int points, int rows = ReportTable::MinRowCount)
{
    ReportTable table;
    table.SetRowCount(rows);
    for (int row = 0; row < points; ++row) {
        table.SetCell(0, row, "T" + std::to_string(row + 1));
        for (int col = 1; col < ReportTable::ColCount; ++col)
            table.SetCell(col, row, std::to_string(col) + "," + std::to_string(row));
    }
    return table;
}

const std::vector<std::string> Headers = {"№ точки",
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
// The last unit is the Latin "c".
const std::vector<std::string> Units
        = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

std::vector<std::string> Without(std::vector<std::string> log, const std::string &line)
{
    log.erase(std::remove(log.begin(), log.end(), line), log.end());
    return log;
}

long Count(const std::vector<std::string> &log, const std::string &line)
{
    return std::count(log.begin(), log.end(), line);
}

class ExcelExportTest : public ::testing::Test
{
protected:
    ExcelExportTest()
    {
        server->aliases = {{"App.WorkBooks.Add()", "Workbook"},
                           {"Workbook.WorkSheets(1)", "Sheet"},
                           {"Sheet.Range(Sheet.Cells(1, 1), Sheet.Cells(2, 12))", "Range"},
                           {"Sheet.Range(Sheet.Cells(1, 1), Sheet.Cells(7, 12))", "Range"}};
        registry.registerServer("Excel.Application", server);
    }

    std::shared_ptr<RecordingServer> server = std::make_shared<RecordingServer>("App");
    AutomationRegistry registry;
    RecordingMessages messages;
};

TEST_F(ExcelExportTest, EmptyReportCallsEveryStepInOrder)
{
    ExportReportToExcel(MakeReport(0), registry, messages);

    std::vector<std::string> expected = {
            "GetActiveObject",
            "CreateObject",
            "get App.Application",
            "put App.Application.EnableEvents := false",
            "get App.WorkBooks",
            "call App.WorkBooks.Add()",
            "put Sheet.Name := 'Расчет ОКЗ'",
            "get Sheet.Cells(1, 1)",
            "get Sheet.Cells(2, 12)",
            "get Sheet.Range(Sheet.Cells(1, 1), Sheet.Cells(2, 12))",
            "put Range.Value := array[1..2,1..12]",
    };
    for (int col = 1; col <= 12; ++col) {
        expected.push_back("get Sheet.Columns(" + std::to_string(col) + ")");
        expected.push_back("put Sheet.Columns(" + std::to_string(col)
                           + ").ColumnWidth := " + (col < 12 ? "8" : "11"));
    }
    expected.insert(expected.end(),
                    {"get Sheet.Rows(1)",
                     "get Sheet.Rows(1).Font",
                     "put Sheet.Rows(1).Font.Bold := true",
                     "get Sheet.Rows(2)",
                     "get Sheet.Rows(2).Font",
                     "put Sheet.Rows(2).Font.Bold := true",
                     "get Sheet.Rows(1)",
                     "put Sheet.Rows(1).HorizontalAlignment := 3",
                     "get Sheet.Rows(2)",
                     "put Sheet.Rows(2).HorizontalAlignment := 3",
                     "get Range.Borders",
                     "put Range.Borders.LineStyle := 1",
                     "get App.Application",
                     "put App.Application.EnableEvents := true",
                     "get App.Parent",
                     "put App.Parent.Visible := true"});
    // The sheet is fetched anew for every use: the name, the range and its two
    // corners, 12 widths, 2 bold rows and 2 aligned rows.
    EXPECT_THAT(Without(server->log, "get Workbook.WorkSheets(1)"), ElementsAreArray(expected));
    EXPECT_EQ(Count(server->log, "get Workbook.WorkSheets(1)"), 1 + 3 + 12 + 2 + 2);
    EXPECT_THAT(messages.entries(), IsEmpty());
    EXPECT_EQ(registry.unitReference(ExcelUnitReference), nullptr);
}

TEST_F(ExcelExportTest, GridGoesRowsFirstWithTheLatinSecondsUnit)
{
    ExportReportToExcel(MakeReport(5, 20), registry, messages);

    ASSERT_EQ(server->arrays.size(), 1u);
    const AutoArray &grid = server->arrays[0];
    ASSERT_EQ(grid.dimensions(), 2);
    EXPECT_EQ(grid.lowerBound(1), 1);
    EXPECT_EQ(grid.upperBound(1), 7);
    EXPECT_EQ(grid.lowerBound(2), 1);
    EXPECT_EQ(grid.upperBound(2), 12);
    for (int col = 1; col <= 12; ++col) {
        EXPECT_EQ(grid.at(1, col), AutoValue(Headers[col - 1]));
        EXPECT_EQ(grid.at(2, col), AutoValue(Units[col - 1]));
    }
    EXPECT_EQ(grid.at(2, 12).toString(), "\x63"); // Latin small c, not U+0441
    EXPECT_EQ(grid.at(3, 1), AutoValue("T1"));
    EXPECT_EQ(grid.at(7, 1), AutoValue("T5"));
    EXPECT_EQ(grid.at(7, 12), AutoValue("11,4"));
}

TEST_F(ExcelExportTest, FivePointsOfTwentyRowsFillA1ToL7AndAlignTheirRowsRight)
{
    ExportReportToExcel(MakeReport(5, 20), registry, messages);

    const auto &log = server->log;
    EXPECT_EQ(Count(log, "get Sheet.Cells(7, 12)"), 1);
    EXPECT_EQ(Count(log, "put Range.Value := array[1..7,1..12]"), 1);
    for (int row = 3; row <= 7; ++row) {
        EXPECT_EQ(
                Count(log, "put Sheet.Rows(" + std::to_string(row) + ").HorizontalAlignment := 4"),
                1)
                << row;
    }
    EXPECT_EQ(Count(log, "put Sheet.Rows(8).HorizontalAlignment := 4"), 0);
    // The data rows are aligned after the headers and before the borders.
    const auto position = [&log](const std::string &line) {
        return std::find(log.begin(), log.end(), line) - log.begin();
    };
    EXPECT_LT(position("put Sheet.Rows(2).HorizontalAlignment := 3"),
              position("put Sheet.Rows(3).HorizontalAlignment := 4"));
    EXPECT_LT(position("put Sheet.Rows(7).HorizontalAlignment := 4"),
              position("put Range.Borders.LineStyle := 1"));
}

TEST_F(ExcelExportTest, RowsAfterTheFirstUnnamedRowAreNotExported)
{
    ReportTable table = MakeReport(3);
    table.SetCell(0, 4, "T5");

    ExportReportToExcel(table, registry, messages);

    ASSERT_EQ(server->arrays.size(), 1u);
    EXPECT_EQ(server->arrays[0].upperBound(1), 5);
}

TEST_F(ExcelExportTest, RunningApplicationIsUsedInsteadOfANewOne)
{
    server->running = true;

    ExportReportToExcel(MakeReport(1), registry, messages);

    EXPECT_EQ(server->log.at(0), "GetActiveObject");
    EXPECT_EQ(server->log.at(1), "get App.Application");
    EXPECT_EQ(Count(server->log, "CreateObject"), 0);
}

TEST_F(ExcelExportTest, RefusedCallStopsWithTheServersText)
{
    server->refuse = "Bold";
    server->refusalText = "Нельзя установить свойство Bold";

    ExportReportToExcel(MakeReport(2), registry, messages);

    EXPECT_EQ(server->log.back(), "put Sheet.Rows(1).Font.Bold := true");
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text, "Нельзя установить свойство Bold");

    // The next export starts from a new application all the same.
    server->refuse.clear();
    server->log.clear();
    ExportReportToExcel(MakeReport(2), registry, messages);
    EXPECT_THAT(std::vector<std::string>(server->log.begin(), server->log.begin() + 2),
                ElementsAre("GetActiveObject", "CreateObject"));
    EXPECT_EQ(server->log.back(), "put App.Parent.Visible := true");
}

TEST_F(ExcelExportTest, CreationFailureIsShownAsAnError)
{
    server->createFails = true;

    ExportReportToExcel(MakeReport(1), registry, messages);

    EXPECT_THAT(server->log, ElementsAre("GetActiveObject", "CreateObject"));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text, "Класс не зарегистрирован");
}

class CalcExportTest : public ::testing::Test
{
protected:
    CalcExportTest()
    {
        server->aliases
                = {{"ServiceManager.createInstance('com.sun.star.frame.Desktop')", "Desktop"},
                   {"Desktop.LoadComponentFromURL('private:factory/scalc', '_blank', 0, "
                    "array[0..-1])",
                    "Document"},
                   {"Document.getSheets().getByIndex(0)", "Sheet"},
                   {"ServiceManager.Bridge_GetStruct('com.sun.star.table.BorderLine')", "Border"}};
        registry.registerServer("com.sun.star.ServiceManager", server);
    }

    std::shared_ptr<RecordingServer> server = std::make_shared<RecordingServer>("ServiceManager");
    AutomationRegistry registry;
    RecordingMessages messages;
};

TEST_F(CalcExportTest, EmptyReportCallsEveryStepInOrder)
{
    ExportReportToCalc(MakeReport(0), registry, messages);

    std::vector<std::string> expected = {
            "CreateObject",
            "call ServiceManager.createInstance('com.sun.star.frame.Desktop')",
            "call Desktop.LoadComponentFromURL('private:factory/scalc', '_blank', 0, array[0..-1])",
            "call Document.getSheets()",
            "call Document.getSheets().getByIndex(0)",
            "call Sheet.setName('Расчет ОКЗ')",
            "call Sheet.getCellRangeByName('A1:L2')",
            "call Sheet.getCellRangeByName('A1:L2')",
            "put Sheet.getCellRangeByName('A1:L2').CharWeight := 150",
            "call Sheet.getCellRangeByName('A1:L2')",
            "put Sheet.getCellRangeByName('A1:L2').ParaAdjust := 3",
            "call Sheet.getCellRangeByName('A3:L3')",
            "put Sheet.getCellRangeByName('A3:L3').ParaAdjust := 1",
            "call ServiceManager.Bridge_GetStruct('com.sun.star.table.BorderLine')",
            "put Border.lineDistance := 0",
            "put Border.innerLineWidth := 0",
            "put Border.outerLineWidth := 1",
            "put Sheet.getCellRangeByName('A1:L2').leftBorder := Border",
            "put Sheet.getCellRangeByName('A1:L2').rightBorder := Border",
            "put Sheet.getCellRangeByName('A1:L2').topBorder := Border",
            "put Sheet.getCellRangeByName('A1:L2').bottomBorder := Border",
    };
    for (int col = 0; col < 12; ++col) {
        const std::string column = "Sheet.GetColumns().GetByIndex(" + std::to_string(col) + ")";
        expected.push_back("call Sheet.GetColumns()");
        expected.push_back("call " + column);
        expected.push_back("put " + column + ".OptimalWidth := true");
    }
    expected.push_back("call Sheet.getCellRangeByName('A1:L2').setDataArray(array[1..12,1..2])");

    EXPECT_THAT(server->log, ElementsAreArray(expected));
    EXPECT_THAT(messages.entries(), IsEmpty());
    EXPECT_EQ(registry.unitReference(CalcUnitReference), nullptr);
}

TEST_F(CalcExportTest, GridGoesColumnsFirstWithTheLatinSecondsUnit)
{
    ExportReportToCalc(MakeReport(5, 20), registry, messages);

    // The empty properties array of the new document, then the grid.
    ASSERT_EQ(server->arrays.size(), 2u);
    EXPECT_EQ(server->arrays[0].dimensions(), 1);
    EXPECT_EQ(server->arrays[0].size(), 0);
    const AutoArray &grid = server->arrays[1];
    ASSERT_EQ(grid.dimensions(), 2);
    EXPECT_EQ(grid.lowerBound(1), 1);
    EXPECT_EQ(grid.upperBound(1), 12);
    EXPECT_EQ(grid.lowerBound(2), 1);
    EXPECT_EQ(grid.upperBound(2), 7);
    for (int col = 1; col <= 12; ++col) {
        EXPECT_EQ(grid.at(col, 1), AutoValue(Headers[col - 1]));
        EXPECT_EQ(grid.at(col, 2), AutoValue(Units[col - 1]));
    }
    EXPECT_EQ(grid.at(1, 3), AutoValue("T1"));
    EXPECT_EQ(grid.at(12, 7), AutoValue("11,4"));
}

TEST_F(CalcExportTest, FivePointsOfTwentyRowsUseA1ToL7AndAlignThroughRow8)
{
    ExportReportToCalc(MakeReport(5, 20), registry, messages);

    const auto &log = server->log;
    EXPECT_EQ(Count(log, "call Sheet.getCellRangeByName('A1:L7')"), 1);
    EXPECT_EQ(Count(log, "put Sheet.getCellRangeByName('A3:L8').ParaAdjust := 1"), 1);
    EXPECT_EQ(Count(log, "put Sheet.getCellRangeByName('A1:L7').bottomBorder := Border"), 1);
    EXPECT_EQ(log.back(), "call Sheet.getCellRangeByName('A1:L7').setDataArray(array[1..12,1..7])");
}

TEST_F(CalcExportTest, NoServiceManagerGivesItsOwnError)
{
    server->createFails = true;

    ExportReportToCalc(MakeReport(1), registry, messages);

    EXPECT_THAT(server->log, ElementsAre("CreateObject"));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text, "Couldn't get ServiceManager");
}

TEST_F(CalcExportTest, ServiceManagerIsKeptOnlyWhenTheDocumentDidNotOpen)
{
    server->refuse = "LoadComponentFromURL";
    server->refusalText = "Документ не создан";

    ExportReportToCalc(MakeReport(1), registry, messages);

    EXPECT_THAT(messages.texts(), ElementsAre("Документ не создан"));
    EXPECT_NE(registry.unitReference(CalcUnitReference), nullptr);

    // The next export reuses the service manager it kept.
    server->refuse = "setName";
    server->refusalText = "Имя не подходит";
    server->log.clear();
    ExportReportToCalc(MakeReport(1), registry, messages);

    EXPECT_EQ(server->log.front(),
              "call ServiceManager.createInstance('com.sun.star.frame.Desktop')");
    EXPECT_EQ(server->log.back(), "call Sheet.setName('Расчет ОКЗ')");
    EXPECT_THAT(messages.texts(), ElementsAre("Документ не создан", "Имя не подходит"));
    // Once the document was open the reference is let go, so the third export
    // creates a new service manager.
    EXPECT_EQ(registry.unitReference(CalcUnitReference), nullptr);
    server->log.clear();
    ExportReportToCalc(MakeReport(1), registry, messages);
    EXPECT_EQ(server->log.front(), "CreateObject");
}

TEST(ExportMessagesTest, MissingServersShowTheirMessagesAndCallNothing)
{
    AutomationRegistry registry;
    auto excel = std::make_shared<RecordingServer>("App");
    auto calc = std::make_shared<RecordingServer>("ServiceManager");
    excel->registered = false;
    calc->registered = false;
    registry.registerServer("Excel.Application", excel);
    registry.registerServer("com.sun.star.ServiceManager", calc);
    RecordingMessages messages;

    ExportReportToExcel(MakeReport(3), registry, messages);
    ExportReportToCalc(MakeReport(3), registry, messages);
    // With no server registered at all, too.
    AutomationRegistry empty;
    ExportReportToExcel(MakeReport(3), empty, messages);
    ExportReportToCalc(MakeReport(3), empty, messages);

    EXPECT_THAT(messages.texts(),
                ElementsAre("Требуется установить MS Excel на компьютер",
                            "Требуется установить OpenOffice.org на компьютер",
                            "Требуется установить MS Excel на компьютер",
                            "Требуется установить OpenOffice.org на компьютер"));
    for (const auto &entry : messages.entries())
        EXPECT_EQ(entry.kind, RecordingMessages::Kind::Message);
    EXPECT_THAT(excel->log, IsEmpty());
    EXPECT_THAT(calc->log, IsEmpty());
}

TEST(AutomationRegistryTest, ProgIdsMatchWithoutRegardToCase)
{
    AutomationRegistry registry;
    auto server = std::make_shared<RecordingServer>("App");
    registry.registerServer("Excel.Application", server);

    EXPECT_TRUE(IsProgIdRegistered(registry, "excel.application"));
    EXPECT_FALSE(IsProgIdRegistered(registry, "Excel.Applications"));
    EXPECT_THROW(registry.createObject("Word.Application"), AutomationError);
    EXPECT_EQ(registry.getActiveObject("Word.Application"), nullptr);
}

} // namespace
} // namespace tormel
