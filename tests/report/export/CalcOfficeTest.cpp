// The Calc export with a real LibreOffice: a headless office with a private profile
// and hidden documents, ended after each test. The exported documents are read back
// from the same office.

#include "report/ReportTable.h"
#include "report/export/uno/UnoCalcExport.h"
#include "tests/support/RecordingMessages.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/BorderLine.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/TableBorder.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace tormel {
namespace {

namespace fs = std::filesystem;
namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingMessages;

constexpr const char *OfficeProgramDir = "/usr/lib/libreoffice/program";

bool OfficeInstalled()
{
    std::error_code error;
    return fs::exists(fs::path(OfficeProgramDir) / "soffice", error);
}

// A folder of its own for each test, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/tormel-office-XXXXXX";
        m_path = mkdtemp(pattern);
    }
    ~TempDir()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

CalcOfficeOptions TestOptions(const TempDir &profile)
{
    CalcOfficeOptions options;
    options.profileUrl = "file://" + profile.path();
    options.headless = true;
    options.hiddenDocuments = true;
    options.terminateOffice = true;
    options.startTimeoutMs = 120000;
    return options;
}

ReportTable FivePoints()
{
    ReportTable table;
    table.SetRowCount(20);
    for (int row = 0; row < 5; ++row) {
        table.SetCell(0, row, "ТК" + std::to_string(row + 1));
        for (int col = 1; col < ReportTable::ColCount; ++col)
            table.SetCell(col, row, std::to_string(col * 100 + row) + ",25");
    }
    return table;
}

std::string Utf8(const rtl::OUString &text)
{
    return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

template<class T>
T Property(const Reference<css::uno::XInterface> &object, const char *name)
{
    T value{};
    Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW)
            ->getPropertyValue(rtl::OUString::createFromAscii(name))
            >>= value;
    return value;
}

// The documents the office holds, as spreadsheets.
std::vector<Reference<css::sheet::XSpreadsheetDocument>>
Documents(const Reference<css::uno::XComponentContext> &office)
{
    const auto components
            = css::frame::Desktop::create(office)->getComponents()->createEnumeration();
    std::vector<Reference<css::sheet::XSpreadsheetDocument>> documents;
    while (components->hasMoreElements())
        documents.emplace_back(components->nextElement(), UNO_QUERY_THROW);
    return documents;
}

Reference<css::sheet::XSpreadsheet>
FirstSheet(const Reference<css::sheet::XSpreadsheetDocument> &document)
{
    const Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    return {sheets->getByIndex(0), UNO_QUERY_THROW};
}

void Close(const Reference<css::sheet::XSpreadsheetDocument> &document)
{
    Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}

class CalcOfficeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!OfficeInstalled())
            GTEST_SKIP() << "LibreOffice is not installed";
        calc = std::make_unique<uno::UnoCalcExport>(TestOptions(profile));
        ASSERT_TRUE(calc->isInstalled());
    }

    void exportReport(const ReportTable &table)
    {
        ExportReportToCalc(table, calc.get(), messages, progress);
    }

    TempDir profile;
    // Ending the export ends the office.
    std::unique_ptr<uno::UnoCalcExport> calc;
    RecordingMessages messages;
    NoExportProgress progress;
};

TEST_F(CalcOfficeTest, ExportFillsANamedFormattedSheet)
{
    exportReport(FivePoints());
    ASSERT_THAT(messages.texts(), IsEmpty());

    const auto documents = Documents(calc->officeContext());
    ASSERT_EQ(documents.size(), 1u);
    const Reference<css::container::XIndexAccess> sheets(documents[0]->getSheets(),
                                                         UNO_QUERY_THROW);
    EXPECT_EQ(sheets->getCount(), 1);
    const auto sheet = FirstSheet(documents[0]);
    EXPECT_EQ(Utf8(Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->getName()),
              "Расчет ОКЗ");

    // Every text, row by row, and nothing below the last point.
    const auto rows = Reference<css::sheet::XCellRangeData>(sheet->getCellRangeByName("A1:L8"),
                                                            UNO_QUERY_THROW)
                              ->getDataArray();
    ASSERT_EQ(rows.getLength(), 8);
    const auto text = [&rows](int row, int col) {
        rtl::OUString value;
        rows[row][col] >>= value;
        return Utf8(value);
    };
    const std::vector<std::string> headers = {"№ точки",
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
    const std::vector<std::string> units
            = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};
    for (int col = 0; col < 12; ++col) {
        SCOPED_TRACE(col);
        EXPECT_EQ(text(0, col), headers[col]);
        EXPECT_EQ(text(1, col), units[col]);
        for (int row = 0; row < 5; ++row) {
            const std::string expected = col == 0 ? "ТК" + std::to_string(row + 1)
                                                  : std::to_string(col * 100 + row) + ",25";
            EXPECT_EQ(text(row + 2, col), expected);
        }
        EXPECT_EQ(text(7, col), "");
    }

    // Bold centred headers, right-aligned data.
    const auto cell = [&sheet](const char *name) {
        return Reference<css::uno::XInterface>(
                sheet->getCellRangeByName(rtl::OUString::createFromAscii(name)));
    };
    using css::table::CellHoriJustify;
    for (const char *name : {"A1", "L2"}) {
        EXPECT_EQ(Property<float>(cell(name), "CharWeight"), 150.0f) << name;
        EXPECT_EQ(Property<CellHoriJustify>(cell(name), "HoriJustify"),
                  CellHoriJustify::CellHoriJustify_CENTER)
                << name;
    }
    for (const char *name : {"A3", "L7"}) {
        EXPECT_EQ(Property<float>(cell(name), "CharWeight"), 100.0f) << name;
        EXPECT_EQ(Property<CellHoriJustify>(cell(name), "HoriJustify"),
                  CellHoriJustify::CellHoriJustify_RIGHT)
                << name;
    }

    // The outline of A1:L7 and no inner lines.
    const auto outline = Property<css::table::TableBorder>(cell("A1:L7"), "TableBorder");
    EXPECT_TRUE(outline.IsLeftLineValid && outline.IsRightLineValid && outline.IsTopLineValid
                && outline.IsBottomLineValid);
    EXPECT_GT(outline.LeftLine.OuterLineWidth, 0);
    EXPECT_GT(outline.BottomLine.OuterLineWidth, 0);
    const auto line = [&cell](const char *name, const char *side) {
        return Property<css::table::BorderLine>(cell(name), side).OuterLineWidth;
    };
    EXPECT_GT(line("A1", "TopBorder"), 0);
    EXPECT_GT(line("A1", "LeftBorder"), 0);
    EXPECT_GT(line("L7", "RightBorder"), 0);
    EXPECT_GT(line("L7", "BottomBorder"), 0);
    EXPECT_EQ(line("A1", "RightBorder"), 0);
    EXPECT_EQ(line("A1", "BottomBorder"), 0);
    EXPECT_EQ(line("E4", "LeftBorder"), 0);
    EXPECT_EQ(line("E4", "TopBorder"), 0);
    EXPECT_EQ(line("A8", "TopBorder"), 0);

    // Optimal widths, set while the columns were still empty.
    const Reference<css::container::XIndexAccess> columns(
            Reference<css::table::XColumnRowRange>(sheet, UNO_QUERY_THROW)->getColumns(),
            UNO_QUERY_THROW);
    for (int col = 0; col < 12; ++col) {
        const Reference<css::uno::XInterface> column(columns->getByIndex(col), UNO_QUERY_THROW);
        EXPECT_TRUE(Property<bool>(column, "OptimalWidth")) << col;
        EXPECT_GT(Property<sal_Int32>(column, "Width"), 0) << col;
    }
    Close(documents[0]);
}

TEST_F(CalcOfficeTest, SecondExportOpensASecondDocument)
{
    exportReport(FivePoints());
    exportReport(ReportTable());
    EXPECT_THAT(messages.texts(), IsEmpty());

    std::vector<int> rowsInUse;
    for (const auto &document : Documents(calc->officeContext())) {
        // The last cell with content tells how many rows each document got.
        const auto sheet = FirstSheet(document);
        const Reference<css::sheet::XUsedAreaCursor> cursor(sheet->createCursor(), UNO_QUERY_THROW);
        cursor->gotoEndOfUsedArea(false);
        rowsInUse.push_back(Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)
                                    ->getRangeAddress()
                                    .EndRow
                            + 1);
        Close(document);
    }
    std::sort(rowsInUse.begin(), rowsInUse.end());
    EXPECT_THAT(rowsInUse, ElementsAre(2, 7));
}

// Stops waiting after a number of calls.
class CancellingProgress final : public IExportProgress
{
public:
    int callsLeft = 3;
    std::vector<std::string> activities;

    bool keepWaiting(std::string_view activity) override
    {
        activities.emplace_back(activity);
        return --callsLeft > 0;
    }
};

// An office that does not answer or ends at once: a copy of the office's program
// folder whose start program is a script that writes its process id first.
class FakeOfficeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!OfficeInstalled())
            GTEST_SKIP() << "LibreOffice is not installed";
    }

    CalcOfficeOptions fakeOffice(const std::string &script)
    {
        for (const auto &entry : fs::directory_iterator(OfficeProgramDir)) {
            if (entry.path().filename() != "soffice")
                fs::create_symlink(entry.path(), fs::path(folder.path()) / entry.path().filename());
        }
        const fs::path program = fs::path(folder.path()) / "soffice";
        std::ofstream(program) << "#!/bin/sh\necho $$ > '" << pidFile() << "'\n" << script << "\n";
        fs::permissions(program, fs::perms::owner_all);
        CalcOfficeOptions options;
        options.officeProgram = program.string();
        options.headless = true;
        options.hiddenDocuments = true;
        options.startTimeoutMs = 1500;
        return options;
    }

    std::string pidFile() const { return folder.path() + "/office.pid"; }

    // The started office's process, 0 when none was started.
    pid_t officePid() const
    {
        pid_t pid = 0;
        std::ifstream(pidFile()) >> pid;
        return pid;
    }

    TempDir folder;
    RecordingMessages messages;
};

TEST_F(FakeOfficeTest, SilentOfficeIsEndedAfterTheTimeLimit)
{
    uno::UnoCalcExport calc(fakeOffice("exec sleep 600"));
    NoExportProgress progress;

    const auto start = std::chrono::steady_clock::now();
    ExportReportToCalc(FivePoints(), &calc, messages, progress);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_THAT(messages.texts(), ElementsAre("Couldn't get ServiceManager"));
    EXPECT_GE(elapsed, std::chrono::milliseconds(1500));
    EXPECT_LT(elapsed, std::chrono::seconds(20));
    ASSERT_GT(officePid(), 0);
    EXPECT_EQ(kill(officePid(), 0), -1) << "the office is still running";
}

TEST_F(FakeOfficeTest, FailingOfficeIsNoticedAtOnce)
{
    uno::UnoCalcExport calc(fakeOffice("exit 3"));
    NoExportProgress progress;

    const auto start = std::chrono::steady_clock::now();
    ExportReportToCalc(FivePoints(), &calc, messages, progress);

    EXPECT_THAT(messages.texts(), ElementsAre("Couldn't get ServiceManager"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST_F(FakeOfficeTest, StoppedWaitEndsTheOfficeWithItsOwnMessage)
{
    uno::UnoCalcExport calc(fakeOffice("exec sleep 600"));
    CancellingProgress progress;

    const auto start = std::chrono::steady_clock::now();
    ExportReportToCalc(FivePoints(), &calc, messages, progress);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    ASSERT_THAT(messages.entries(), ::testing::SizeIs(1));
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Message);
    EXPECT_EQ(messages.entries()[0].text, "Экспорт отменен: документ в Calc не создан.");
    EXPECT_THAT(
            progress.activities,
            ElementsAre("Запуск LibreOffice...", "Запуск LibreOffice...", "Запуск LibreOffice..."));
    ASSERT_GT(officePid(), 0);
    EXPECT_EQ(kill(officePid(), 0), -1) << "the office is still running";
}

TEST_F(FakeOfficeTest, VisibleDocumentsNeedADisplay)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    CalcOfficeOptions options = fakeOffice("exec sleep 600");
    options.headless = false; // registered even for a display-less office
    uno::UnoCalcExport calc(options);
    NoExportProgress progress;
    ASSERT_TRUE(calc.isInstalled());

    ExportReportToCalc(FivePoints(), &calc, messages, progress);

    EXPECT_THAT(messages.texts(), ElementsAre("Couldn't get ServiceManager"));
    EXPECT_EQ(officePid(), 0) << "an office was started without a display";
}

} // namespace
} // namespace tormel
