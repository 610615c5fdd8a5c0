// The "Excel.Application" server: its object model as the export and Excel's own
// scripts use it, and the workbook it writes, read back from the file.

#include "report/ReportTable.h"
#include "report/export/ToExcelUnit.h"
#include "report/export/XlsxAutomationServer.h"
#include "tests/report/export/XlsxContents.h"
#include "tests/support/RecordingMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace tormel {
namespace {

using ::testing::IsEmpty;
using testing::RecordingMessages;
using ::testing::SizeIs;
using testing::XlsxContents;

class RecordingOpener : public IFileOpener
{
public:
    bool answer = true;
    std::vector<std::string> opened;

    bool openFile(const std::string &path) override
    {
        opened.push_back(path);
        return answer;
    }
};

class XlsxServerTest : public ::testing::Test
{
protected:
    XlsxServerTest()
    {
        char pattern[] = "/tmp/tormel-xlsx-XXXXXX";
        folder = mkdtemp(pattern);
        server = std::make_shared<XlsxAutomationServer>(
                opener, [] { return true; }, folder);
        registry.registerServer("Excel.Application", server);
    }
    ~XlsxServerTest() override { std::filesystem::remove_all(folder); }

    // A fresh sheet of a new workbook.
    AutoValue newSheet()
    {
        app = server->createObject();
        return app.get("Workbooks").call("Add").get("Worksheets", {1});
    }

    std::string folder;
    RecordingOpener opener;
    std::shared_ptr<XlsxAutomationServer> server;
    AutomationRegistry registry;
    RecordingMessages messages;
    AutoValue app;
};

ReportTable FivePoints()
{
    ReportTable table;
    table.SetRowCount(20);
    for (int row = 0; row < 5; ++row) {
        table.SetCell(0, row, "ТК" + std::to_string(row + 1));
        for (int col = 1; col < ReportTable::ColCount; ++col)
            table.SetCell(col, row, std::to_string(col * 10 + row) + ",5");
    }
    table.SetCell(10, 2, "---");
    return table;
}

std::string Ref(int col, int row)
{
    return std::string(1, static_cast<char>('A' + col - 1)) + std::to_string(row);
}

TEST_F(XlsxServerTest, ExportWritesTheFormattedSheetAndOpensIt)
{
    ExportReportToExcel(FivePoints(), registry, messages);

    EXPECT_THAT(messages.entries(), IsEmpty());
    ASSERT_THAT(opener.opened, SizeIs(1));
    const std::string &path = opener.opened[0];
    EXPECT_EQ(std::filesystem::path(path).parent_path(), folder);
    EXPECT_EQ(std::filesystem::path(path).extension(), ".xlsx");

    const XlsxContents xlsx = XlsxContents::Read(path);
    EXPECT_THAT(xlsx.sheetNames, ::testing::ElementsAre("Расчет ОКЗ"));
    EXPECT_EQ(xlsx.texts.at("A1"), "№ точки");
    EXPECT_EQ(xlsx.texts.at("I1"), "|Zф-н|");
    EXPECT_EQ(xlsx.texts.count("A2"), 0u) << "the empty unit is written as an empty text";
    EXPECT_EQ(xlsx.texts.at("L2"), "c");
    EXPECT_EQ(xlsx.texts.at("A3"), "ТК1");
    EXPECT_EQ(xlsx.texts.at("K5"), "---");
    EXPECT_EQ(xlsx.texts.at("L7"), "114,5");
    EXPECT_EQ(xlsx.texts.count("A8"), 0u);

    for (int row = 1; row <= 7; ++row) {
        for (int col = 1; col <= 12; ++col) {
            SCOPED_TRACE(Ref(col, row));
            const auto &style = xlsx.styles.at(Ref(col, row));
            EXPECT_EQ(style.bold, row <= 2);
            EXPECT_EQ(style.align, row <= 2 ? "center" : "right");
            // A line on every edge of every cell, inner lines included.
            EXPECT_EQ(style.left, "thin");
            EXPECT_EQ(style.right, "thin");
            EXPECT_EQ(style.top, "thin");
            EXPECT_EQ(style.bottom, "thin");
        }
    }
    // Whole rows carry their format, so cells typed later look the same.
    EXPECT_TRUE(xlsx.rowStyles.at(1).bold);
    EXPECT_EQ(xlsx.rowStyles.at(7).align, "right");
    EXPECT_EQ(xlsx.rowStyles.count(8), 0u);

    // Widths of 8 and 11 characters; the file adds Excel's usual padding.
    for (int col = 1; col <= 11; ++col)
        EXPECT_NEAR(xlsx.columnWidths.at(col), 8.71, 0.01) << col;
    EXPECT_NEAR(xlsx.columnWidths.at(12), 11.71, 0.01);
}

TEST_F(XlsxServerTest, EverySecondExportIsANewFile)
{
    ExportReportToExcel(FivePoints(), registry, messages);
    ExportReportToExcel(ReportTable(), registry, messages);

    ASSERT_THAT(opener.opened, SizeIs(2));
    EXPECT_NE(opener.opened[0], opener.opened[1]);
    const XlsxContents empty = XlsxContents::Read(opener.opened[1]);
    EXPECT_EQ(empty.texts.at("J2"), "А");
    EXPECT_EQ(empty.texts.count("A3"), 0u);
}

TEST_F(XlsxServerTest, NoApplicationForTheFileIsAnError)
{
    opener.answer = false;

    ExportReportToExcel(FivePoints(), registry, messages);

    ASSERT_THAT(messages.entries(), SizeIs(1));
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_THAT(messages.entries()[0].text, ::testing::HasSubstr(".xlsx"));
}

TEST_F(XlsxServerTest, NotRegisteredWithoutADesktopApplication)
{
    XlsxAutomationServer unregistered(
            opener, [] { return false; }, folder);
    EXPECT_FALSE(unregistered.isRegistered());
    EXPECT_TRUE(server->isRegistered());
}

TEST_F(XlsxServerTest, RunningApplicationIsFoundWhileSomeoneHoldsIt)
{
    EXPECT_EQ(server->getActiveObject(), nullptr);
    auto held = server->createObject();
    EXPECT_EQ(server->getActiveObject(), held);
    held.reset();
    EXPECT_EQ(server->getActiveObject(), nullptr);
}

TEST_F(XlsxServerTest, MemberNamesMatchWithoutRegardToCase)
{
    app = server->createObject();
    const AutoValue sheet = app.get("WORKBOOKS").call("add").get("worksheets", {1});
    sheet.put("NAME", "Лист А");
    sheet.get("cells", {2, 3}).put("value", "x");

    EXPECT_EQ(sheet.get("Name").toString(), "Лист А");
    EXPECT_EQ(sheet.get("Range", {"c2"}).get("Value").toString(), "x");
}

TEST_F(XlsxServerTest, ValuesAndFormatsReadBack)
{
    const AutoValue sheet = newSheet();
    AutoArray grid(1, 2, 1, 3);
    grid.set(1, 1, "a");
    grid.set(2, 3, 7);
    const AutoValue range
            = sheet.get("Range", {sheet.get("Cells", {1, 1}), sheet.get("Cells", {2, 3})});
    range.put("Value", grid);
    sheet.get("Rows", {2}).put("HorizontalAlignment", -4108);
    sheet.get("Columns", {3}).put("ColumnWidth", 12.5);

    EXPECT_EQ(sheet.get("Range", {"A1"}).get("Value"), AutoValue("a"));
    EXPECT_EQ(sheet.get("Cells", {2, 3}).get("Value"), AutoValue(7.0));
    EXPECT_TRUE(sheet.get("Cells", {2, 2}).get("Value").isEmpty());
    EXPECT_EQ(sheet.get("Cells", {2, 1}).get("HorizontalAlignment").toInt(), -4108);
    EXPECT_EQ(sheet.get("Cells", {1, 1}).get("HorizontalAlignment").toInt(), 1);
    EXPECT_EQ(sheet.get("Cells", {1, 3}).get("ColumnWidth").toDouble(), 12.5);
    // A smaller array leaves Excel's #N/A in the rest of the range.
    sheet.get("Range", {"A4:C4"}).put("Value", AutoArray(1, 1, 1, 2));
    EXPECT_EQ(sheet.get("Range", {"C4"}).get("Value"), AutoValue("#N/A"));
}

TEST_F(XlsxServerTest, RefusedCallsNameTheProblem)
{
    const AutoValue sheet = newSheet();
    const auto refused = [](const std::function<void()> &step) {
        try {
            step();
        } catch (const AutomationError &error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };

    EXPECT_THAT(refused([&] { sheet.get("Cellz", {1, 1}); }), ::testing::HasSubstr("Cellz"));
    EXPECT_THAT(refused([&] {
                    sheet.get("Cells", {1, 1}).get("Valu", {1});
                }),
                ::testing::HasSubstr("Valu"));
    EXPECT_THAT(refused([&] { sheet.get("Cells", {0, 1}); }), ::testing::HasSubstr("ячейки"));
    EXPECT_THAT(refused([&] { sheet.get("Cells", {1}); }), ::testing::HasSubstr("параметров"));
    EXPECT_THAT(refused([&] { sheet.get("Range", {"A1:1"}); }), ::testing::HasSubstr("A1:1"));
    EXPECT_THAT(refused([&] { sheet.get("Rows", {1}).put("HorizontalAlignment", 9); }),
                ::testing::HasSubstr("HorizontalAlignment"));
    EXPECT_THAT(refused([&] { sheet.get("Rows", {1}).get("Borders").put("LineStyle", 77); }),
                ::testing::HasSubstr("LineStyle"));
    EXPECT_THAT(refused([&] { sheet.get("Columns", {1}).put("ColumnWidth", 300); }),
                ::testing::HasSubstr("ширина"));
    EXPECT_THAT(refused([&] { sheet.put("Name", "Слишком длинное имя для листа Excel"); }),
                ::testing::HasSubstr("имя листа"));
    EXPECT_THAT(refused([&] { sheet.put("Name", "a/b"); }), ::testing::HasSubstr("имя листа"));
    EXPECT_THAT(refused([&] { sheet.get("Range", {"A1:XFD1048576"}).put("Value", 1); }),
                ::testing::HasSubstr("диапазон"));
    EXPECT_THAT(refused([&] { app.get("Workbooks").call("Item", {5}); }),
                ::testing::HasSubstr("диапазона"));
    EXPECT_EQ(refused([&] { sheet.put("Name", "Тридцать один символ ровно....."); }), "accepted");
}

} // namespace
} // namespace tormel
