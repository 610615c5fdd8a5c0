// The export's grid and messages, the .xlsx workbook read back from the file,
// and the loading of the UNO module.

#include "report/ReportTable.h"
#include "report/export/SpreadsheetExport.h"
#include "report/export/ToCalcUnit.h"
#include "report/export/ToExcelUnit.h"
#include "tests/report/export/XlsxContents.h"
#include "tests/support/RecordingMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace tormel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RecordingMessages;
using ::testing::SizeIs;
using testing::XlsxContents;

// A report whose first `points` rows are in use: "ТК<r+1>", then
// "<col*10+r>,5".
ReportTable MakeReport(int points, int rows = 20)
{
    ReportTable table;
    table.SetRowCount(rows);
    for (int row = 0; row < points; ++row) {
        table.SetCell(0, row, "ТК" + std::to_string(row + 1));
        for (int col = 1; col < ReportTable::ColCount; ++col)
            table.SetCell(col, row, std::to_string(col * 10 + row) + ",5");
    }
    return table;
}

std::string Ref(int col, int row)
{
    return std::string(1, static_cast<char>('A' + col - 1)) + std::to_string(row);
}

TEST(ExportGridTest, HeadersUnitsAndTheRowsInUse)
{
    const ExportGrid grid = BuildExportGrid(MakeReport(5));
    ASSERT_THAT(grid, SizeIs(7));
    EXPECT_THAT(grid[0],
                ElementsAre("№ точки",
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
                            "Tср"));
    // The time unit is the Latin c, not the Cyrillic one of the report window.
    EXPECT_THAT(
            grid[1],
            ElementsAre("", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"));
    EXPECT_EQ(grid[1][11], "\x63");
    EXPECT_EQ(grid[2][0], "ТК1");
    EXPECT_EQ(grid[6][11], "114,5");
}

TEST(ExportGridTest, RowsStopAtTheFirstRowWithoutAName)
{
    struct Case
    {
        const char *name;
        int points;
        int gapAt; // a row left without a name, -1 for none
        std::size_t rows;
    };
    for (const Case &c : {Case{"empty report", 0, -1, 2},
                          Case{"five of twenty", 5, -1, 7},
                          Case{"a gap after three", 5, 3, 5},
                          Case{"every row in use", 14, -1, 16}}) {
        SCOPED_TRACE(c.name);
        ReportTable table = MakeReport(c.points, 14);
        if (c.gapAt >= 0)
            table.SetCell(0, c.gapAt, "");
        EXPECT_THAT(BuildExportGrid(table), SizeIs(c.rows));
    }
}

// A spreadsheet program with scripted answers.
class FakeSpreadsheet final : public ISpreadsheetExport
{
public:
    bool installed = true;
    bool finish = true;
    std::string refusal;
    std::vector<ExportGrid> grids;

    bool isInstalled() override { return installed; }
    bool exportGrid(const ExportGrid &grid, IExportProgress &) override
    {
        grids.push_back(grid);
        if (!refusal.empty())
            throw ExportError(refusal);
        return finish;
    }
};

struct DoneProgress final : IExportProgress
{
    bool isDone = false;
    bool keepWaiting(std::string_view) override { return true; }
    void done() override { isDone = true; }
};

TEST(ExportMessagesTest, EachEndingOfAnExportHasItsMessage)
{
    using Kind = RecordingMessages::Kind;
    struct Case
    {
        const char *name;
        bool calc;
        bool present;
        bool installed;
        bool finish;
        const char *refusal;
        std::vector<std::pair<Kind, std::string>> shown;
        std::size_t exported;
    };
    const std::vector<Case> cases = {
            {"Excel done", false, true, true, true, "", {}, 1},
            {"Calc done", true, true, true, true, "", {}, 1},
            {"Excel missing",
             false,
             true,
             false,
             true,
             "",
             {{Kind::Message, "Требуется установить MS Excel на компьютер"}},
             0},
            {"Calc missing",
             true,
             true,
             false,
             true,
             "",
             {{Kind::Message, "Требуется установить OpenOffice.org на компьютер"}},
             0},
            {"no Calc at all",
             true,
             false,
             true,
             true,
             "",
             {{Kind::Message, "Требуется установить OpenOffice.org на компьютер"}},
             0},
            {"refused step",
             true,
             true,
             true,
             true,
             "Couldn't get ServiceManager",
             {{Kind::Error, "Couldn't get ServiceManager"}},
             1},
            {"user stopped waiting",
             true,
             true,
             true,
             false,
             "",
             {{Kind::Message, "Экспорт отменен: документ в Calc не создан."}},
             1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpreadsheet program;
        program.installed = c.installed;
        program.finish = c.finish;
        program.refusal = c.refusal;
        RecordingMessages messages;
        DoneProgress progress;
        // The sign of work is down before any message box.
        messages.onShow
                = [&progress](const RecordingMessages::Entry &) { EXPECT_TRUE(progress.isDone); };
        const ReportTable table = MakeReport(3);

        ISpreadsheetExport *target = c.present ? &program : nullptr;
        if (c.calc)
            ExportReportToCalc(table, target, messages, progress);
        else
            ExportReportToExcel(table, target, messages, progress);

        std::vector<std::pair<Kind, std::string>> shown;
        for (const auto &entry : messages.entries())
            shown.emplace_back(entry.kind, entry.text);
        EXPECT_EQ(shown, c.shown);
        ASSERT_THAT(program.grids, SizeIs(c.exported));
        if (c.exported) {
            EXPECT_EQ(program.grids[0], BuildExportGrid(table));
        }
        EXPECT_EQ(table.RowsInUseCount(), 3);
        EXPECT_TRUE(progress.isDone);
    }
}

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

std::string NewFolder()
{
    char pattern[] = "/tmp/tormel-xlsx-XXXXXX";
    return mkdtemp(pattern);
}

class XlsxExportTest : public ::testing::Test
{
protected:
    ~XlsxExportTest() override { std::filesystem::remove_all(folder); }

    void exportReport(const ReportTable &table)
    {
        NoExportProgress progress;
        ExportReportToExcel(table, &excel, messages, progress);
    }

    std::string folder = NewFolder();
    RecordingOpener opener;
    XlsxExport excel{opener, [] { return true; }, folder};
    RecordingMessages messages;
};

TEST_F(XlsxExportTest, ExportWritesTheFormattedSheetAndOpensIt)
{
    ReportTable table = MakeReport(5);
    table.SetCell(10, 2, "---");
    exportReport(table);

    EXPECT_THAT(messages.entries(), IsEmpty());
    ASSERT_THAT(opener.opened, SizeIs(1));
    const std::string &path = opener.opened[0];
    EXPECT_EQ(std::filesystem::path(path).parent_path(), folder);
    EXPECT_EQ(std::filesystem::path(path).extension(), ".xlsx");

    const XlsxContents xlsx = XlsxContents::Read(path);
    EXPECT_THAT(xlsx.sheetNames, ElementsAre("Расчет ОКЗ"));
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

TEST_F(XlsxExportTest, EverySecondExportIsANewFile)
{
    exportReport(MakeReport(5));
    exportReport(ReportTable());

    ASSERT_THAT(opener.opened, SizeIs(2));
    EXPECT_NE(opener.opened[0], opener.opened[1]);
    const XlsxContents empty = XlsxContents::Read(opener.opened[1]);
    EXPECT_EQ(empty.texts.at("J2"), "А");
    EXPECT_EQ(empty.texts.count("A3"), 0u);
    EXPECT_EQ(XlsxContents::Read(opener.opened[0]).texts.at("A7"), "ТК5");
}

TEST_F(XlsxExportTest, NoApplicationForTheFileIsAnError)
{
    opener.answer = false;

    exportReport(MakeReport(5));

    ASSERT_THAT(messages.entries(), SizeIs(1));
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_THAT(messages.entries()[0].text, HasSubstr(".xlsx"));
}

TEST_F(XlsxExportTest, UnwritableFolderIsAnErrorAndOpensNothing)
{
    XlsxExport elsewhere(
            opener, [] { return true; }, folder + "/missing");
    NoExportProgress progress;
    ExportReportToExcel(MakeReport(2), &elsewhere, messages, progress);

    ASSERT_THAT(messages.entries(), SizeIs(1));
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_THAT(messages.entries()[0].text, HasSubstr("missing"));
    EXPECT_THAT(opener.opened, IsEmpty());
}

TEST_F(XlsxExportTest, NotInstalledWithoutADesktopApplication)
{
    XlsxExport unregistered(
            opener, [] { return false; }, folder);
    EXPECT_FALSE(unregistered.isInstalled());
    EXPECT_TRUE(excel.isInstalled());
}

// The desktop program's toolkit sets the C library's locale from the
// environment, and every user here has a Russian one, whose decimal separator
// is a comma.
class RussianLocaleTest : public XlsxExportTest
{
protected:
    void SetUp() override
    {
        if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) {
            // A fresh machine has no locales generated.
            [[maybe_unused]] const int generated
                    = std::system("localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 >/dev/null 2>&1");
            ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr)
                    << "the locale ru_RU.UTF-8 is missing: run scripts/install-deps.sh";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(RussianLocaleTest, WorkbookNumbersKeepTheDecimalPoint)
{
    exportReport(MakeReport(2));
    ASSERT_THAT(opener.opened, SizeIs(1));
    const std::string &path = opener.opened[0];
    // The program's own locale is back once the file is written.
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");

    // No number in any part of the file is written with a comma.
    const std::regex decimalComma("=\"-?[0-9]+,[0-9]+\"");
    const std::string parts = testing::RunCommand("unzip -Z1 '" + path + "'");
    std::istringstream names(parts);
    int checked = 0;
    for (std::string part; std::getline(names, part);) {
        SCOPED_TRACE(part);
        const std::string xml = testing::UnzipEntry(path, part);
        EXPECT_FALSE(std::regex_search(xml, decimalComma));
        ++checked;
    }
    EXPECT_GE(checked, 5);
    const std::string sheet = testing::UnzipEntry(path, "xl/worksheets/sheet1.xml");
    EXPECT_THAT(sheet, HasSubstr("width=\"8.7109375\""));
    EXPECT_THAT(sheet, HasSubstr("<pageMargins left=\"0.7\""));
    // The texts of the report keep their own commas.
    EXPECT_EQ(XlsxContents::Read(path).texts.at("B3"), "10,5");
}

TEST(CalcModuleTest, MissingModuleOrOfficeIsNotInstalled)
{
    CalcExport noModule({}, "/nonexistent/libtormel_uno.so");
    EXPECT_FALSE(noModule.isInstalled());
    EXPECT_THAT(noModule.loadError(), HasSubstr("libtormel_uno.so"));
    NoExportProgress progress;
    EXPECT_THROW(noModule.exportGrid(BuildExportGrid(ReportTable()), progress), ExportError);

#ifdef TORMEL_UNO_MODULE
    CalcOfficeOptions noOffice;
    noOffice.officeProgram = "/nonexistent/soffice";
    CalcExport calc(noOffice, TORMEL_UNO_MODULE);
    RecordingMessages messages;
    ExportReportToCalc(MakeReport(2), &calc, messages, progress);
    EXPECT_TRUE(calc.loadError().empty()) << calc.loadError();
    EXPECT_THAT(messages.texts(), ElementsAre("Требуется установить OpenOffice.org на компьютер"));
#endif
}

} // namespace
} // namespace tormel
