// The "com.sun.star.ServiceManager" server with a real LibreOffice: a headless
// office with a private profile and hidden documents, ended after each test. The
// exported document is read back through the same late-bound calls.

#include "report/ReportTable.h"
#include "report/export/Automation.h"
#include "report/export/ToCalcUnit.h"
#include "report/export/UnoServerLoader.h"
#include "tests/support/RecordingMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tormel {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
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

UnoServerOptions TestOptions(const TempDir &profile)
{
    UnoServerOptions options;
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

// One border line of a cell: its outer width in 1/100 mm.
int LineWidth(const AutoValue &cell, const char *border)
{
    return cell.get(border).get("OuterLineWidth").toInt();
}

class CalcOfficeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!OfficeInstalled())
            GTEST_SKIP() << "LibreOffice is not installed";
        registry = std::make_unique<AutomationRegistry>();
        loader = std::make_shared<UnoServerLoader>(TestOptions(profile), TORMEL_UNO_MODULE);
        registry->registerServer(CalcProgId, loader);
        ASSERT_TRUE(IsProgIdRegistered(*registry, CalcProgId)) << loader->loadError();
    }

    // The one document of the test's office.
    AutoValue onlyDocument()
    {
        const AutoValue desktop = AutoValue(registry->createObject(CalcProgId))
                                          .call("createInstance", {"com.sun.star.frame.Desktop"});
        const AutoValue components = desktop.call("getComponents").call("createEnumeration");
        std::vector<AutoValue> documents;
        while (components.call("hasMoreElements").toBool())
            documents.push_back(components.call("nextElement"));
        EXPECT_EQ(documents.size(), 1u);
        return documents.empty() ? AutoValue() : documents.front();
    }

    TempDir profile;
    std::shared_ptr<UnoServerLoader> loader;
    // Ending the registry ends the office.
    std::unique_ptr<AutomationRegistry> registry;
    RecordingMessages messages;
};

TEST_F(CalcOfficeTest, ExportFillsANamedFormattedSheet)
{
    ExportReportToCalc(FivePoints(), *registry, messages);
    ASSERT_THAT(messages.texts(), IsEmpty());

    const AutoValue document = onlyDocument();
    ASSERT_FALSE(document.isEmpty());
    const AutoValue sheets = document.call("getSheets");
    EXPECT_EQ(sheets.call("getCount").toInt(), 1);
    const AutoValue sheet = sheets.call("getByIndex", {0});
    EXPECT_EQ(sheet.call("getName").toString(), "Расчет ОКЗ");

    // Every text, row by row, and nothing below the last point.
    const AutoArray rows
            = sheet.call("getCellRangeByName", {"A1:L8"}).call("getDataArray").toArray();
    ASSERT_EQ(rows.size(), 8);
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
        EXPECT_EQ(rows.at(0).toArray().at(col).toString(), headers[col]);
        EXPECT_EQ(rows.at(1).toArray().at(col).toString(), units[col]);
        for (int row = 0; row < 5; ++row) {
            const std::string expected = col == 0 ? "ТК" + std::to_string(row + 1)
                                                  : std::to_string(col * 100 + row) + ",25";
            EXPECT_EQ(rows.at(row + 2).toArray().at(col).toString(), expected);
        }
        EXPECT_EQ(rows.at(7).toArray().at(col).toString(), "");
    }

    // Bold centred headers, right-aligned data (the cell's HoriJustify: 2 centre, 3 right).
    const auto cell
            = [&sheet](const char *name) { return sheet.call("getCellRangeByName", {name}); };
    for (const char *name : {"A1", "L2"}) {
        EXPECT_EQ(cell(name).get("CharWeight").toDouble(), 150.0) << name;
        EXPECT_EQ(cell(name).get("HoriJustify").toInt(), 2) << name;
    }
    for (const char *name : {"A3", "L7"}) {
        EXPECT_EQ(cell(name).get("CharWeight").toDouble(), 100.0) << name;
        EXPECT_EQ(cell(name).get("HoriJustify").toInt(), 3) << name;
    }

    // The outline of A1:L7 and no inner lines.
    const AutoValue outline = cell("A1:L7").get("TableBorder");
    for (const char *side : {"Left", "Right", "Top", "Bottom"}) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(outline.get(std::string("Is") + side + "LineValid").toBool());
        EXPECT_GT(outline.get(std::string(side) + "Line").get("OuterLineWidth").toInt(), 0);
    }
    EXPECT_GT(LineWidth(cell("A1"), "TopBorder"), 0);
    EXPECT_GT(LineWidth(cell("A1"), "LeftBorder"), 0);
    EXPECT_GT(LineWidth(cell("L7"), "RightBorder"), 0);
    EXPECT_GT(LineWidth(cell("L7"), "BottomBorder"), 0);
    EXPECT_EQ(LineWidth(cell("A1"), "RightBorder"), 0);
    EXPECT_EQ(LineWidth(cell("A1"), "BottomBorder"), 0);
    EXPECT_EQ(LineWidth(cell("E4"), "LeftBorder"), 0);
    EXPECT_EQ(LineWidth(cell("E4"), "TopBorder"), 0);
    EXPECT_EQ(LineWidth(cell("A8"), "TopBorder"), 0);

    // Optimal widths, set while the columns were still empty.
    const AutoValue columns = sheet.call("getColumns");
    for (int col = 0; col < 12; ++col) {
        const AutoValue column = columns.call("getByIndex", {col});
        EXPECT_TRUE(column.get("OptimalWidth").toBool()) << col;
        EXPECT_GT(column.get("Width").toInt(), 0) << col;
    }

    document.call("close", {true});
}

TEST_F(CalcOfficeTest, NamesMatchWithoutRegardToCaseAndRefusalsKeepTheConnection)
{
    const AutoValue desktop = AutoValue(registry->createObject(CalcProgId))
                                      .call("CREATEINSTANCE", {"com.sun.star.frame.Desktop"});
    const AutoValue document = desktop.call(
            "LoadComponentFromURL", {"private:factory/scalc", "_blank", 0, AutoArray(0, -1)});
    const AutoValue sheet = document.call("GETSHEETS").call("GetByIndex", {0});

    sheet.call("SetName", {"Проверка"});
    EXPECT_EQ(sheet.get("NAME").toString(), "Проверка");

    const auto refusal = [](const std::function<void()> &step) {
        try {
            step();
        } catch (const AutomationError &error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_THAT(refusal([&] { sheet.call("noSuchMethod"); }), HasSubstr("noSuchMethod"));
    EXPECT_THAT(refusal([&] { sheet.put("noSuchProperty", 1); }), HasSubstr("noSuchProperty"));
    // The office's bare "at <source line>" gets the exception's name in front.
    EXPECT_THAT(refusal([&] { sheet.call("getCellRangeByName", {"not a range"}); }),
                HasSubstr("RuntimeException"));
    EXPECT_NE(refusal([&] { sheet.call("getCellByPosition", {-1, 0}); }), "accepted");
    EXPECT_THAT(refusal([&] {
                    AutoValue(registry->createObject(CalcProgId))
                            .call("Bridge_GetStruct", {"com.sun.star.no.Such"});
                }),
                HasSubstr("com.sun.star.no.Such"));

    // The connection is still there after every refusal.
    EXPECT_EQ(sheet.call("getName").toString(), "Проверка");
    document.call("close", {true});
}

TEST_F(CalcOfficeTest, SecondExportOpensASecondDocument)
{
    ExportReportToCalc(FivePoints(), *registry, messages);
    ExportReportToCalc(ReportTable(), *registry, messages);
    EXPECT_THAT(messages.texts(), IsEmpty());

    const AutoValue desktop = AutoValue(registry->createObject(CalcProgId))
                                      .call("createInstance", {"com.sun.star.frame.Desktop"});
    const AutoValue components = desktop.call("getComponents").call("createEnumeration");
    std::vector<int> rowsInUse;
    while (components.call("hasMoreElements").toBool()) {
        const AutoValue document = components.call("nextElement");
        const AutoValue sheet = document.call("getSheets").call("getByIndex", {0});
        // The last cell with content tells how many rows each document got.
        const AutoValue cursor = sheet.call("createCursor");
        cursor.call("gotoEndOfUsedArea", {false});
        rowsInUse.push_back(cursor.call("getRangeAddress").get("EndRow").toInt() + 1);
        document.call("close", {true});
    }
    std::sort(rowsInUse.begin(), rowsInUse.end());
    EXPECT_THAT(rowsInUse, ElementsAre(2, 7));
}

// An office that cannot be reached: the program that never answers is stopped after
// the time limit, one that ends at once is noticed at once.
class UnreachableOfficeTest : public ::testing::TestWithParam<std::string>
{
protected:
    // A copy of the office's program folder whose start program is a script.
    std::string fakeOffice(const std::string &script)
    {
        for (const auto &entry : fs::directory_iterator(OfficeProgramDir)) {
            if (entry.path().filename() != "soffice")
                fs::create_symlink(entry.path(), fs::path(folder.path()) / entry.path().filename());
        }
        const fs::path program = fs::path(folder.path()) / "soffice";
        std::ofstream(program) << "#!/bin/sh\n" << script << "\n";
        fs::permissions(program, fs::perms::owner_all);
        return program.string();
    }

    TempDir folder;
};

TEST_P(UnreachableOfficeTest, CreationFailsWithinTheTimeLimit)
{
    if (!OfficeInstalled())
        GTEST_SKIP() << "LibreOffice is not installed";
    UnoServerOptions options;
    options.officeProgram = fakeOffice(GetParam());
    options.headless = true;
    options.hiddenDocuments = true;
    options.startTimeoutMs = 1500;
    AutomationRegistry registry;
    auto loader = std::make_shared<UnoServerLoader>(options, TORMEL_UNO_MODULE);
    registry.registerServer(CalcProgId, loader);
    RecordingMessages messages;

    const auto start = std::chrono::steady_clock::now();
    ExportReportToCalc(FivePoints(), registry, messages);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_THAT(messages.texts(), ElementsAre("Couldn't get ServiceManager"));
    EXPECT_LT(elapsed, std::chrono::seconds(20));
    EXPECT_THROW(loader->createObject(), AutomationError);
}

INSTANTIATE_TEST_SUITE_P(Scripts,
                         UnreachableOfficeTest,
                         ::testing::Values("exec sleep 600", "exit 3"),
                         [](const auto &param) { return param.index == 0 ? "Silent" : "Failing"; });

TEST(OfficeMissingTest, MissingOfficeOrModuleIsNotRegistered)
{
    UnoServerOptions noOffice;
    noOffice.officeProgram = "/nonexistent/soffice";
    AutomationRegistry registry;
    registry.registerServer(CalcProgId,
                            std::make_shared<UnoServerLoader>(noOffice, TORMEL_UNO_MODULE));
    RecordingMessages messages;
    ExportReportToCalc(FivePoints(), registry, messages);

    auto noModule = std::make_shared<UnoServerLoader>(UnoServerOptions(),
                                                      "/nonexistent/libtormel_uno.so");
    EXPECT_FALSE(noModule->isRegistered());
    EXPECT_THAT(noModule->loadError(), HasSubstr("libtormel_uno.so"));
    EXPECT_THROW(noModule->createObject(), AutomationError);

    EXPECT_THAT(messages.texts(), ElementsAre("Требуется установить OpenOffice.org на компьютер"));
}

TEST(OfficeMissingTest, VisibleDocumentsNeedADisplay)
{
    if (!OfficeInstalled())
        GTEST_SKIP() << "LibreOffice is not installed";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    UnoServerOptions options;
    options.hiddenDocuments = true; // registered even for a display-less office
    UnoServerLoader loader(options, TORMEL_UNO_MODULE);
    ASSERT_TRUE(loader.isRegistered()) << loader.loadError();
    try {
        loader.createObject();
        ADD_FAILURE() << "created without a display";
    } catch (const AutomationError &error) {
        EXPECT_THAT(error.what(), HasSubstr("дисплея"));
    }
}

} // namespace
} // namespace tormel
