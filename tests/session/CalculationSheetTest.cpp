#include "session/CalculationSheet.h"

#include "feed/BatchInput.h"
#include "feed/FeedFile.h"
#include "report/ReportTable.h"
#include "report/ReportTexts.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tormel {
namespace {

using testing::RecordingMessages;

// Six sections of every group: cables, SIP at 70 °C, a busbar and parallel conductors,
// protected by a breaker that does not trip at the end of the feed.
const char *const SixSections = R"json({"Name": "Т-6", "WindKind": "T/Y-0", "TransPower": "400",
 "RArc": "15", "Lines": [
  {"KindPerform": "Кабель с бумажной изоляцией", "Stuff": "Алюминий", "Ff": "185", "Fn": "95",
   "Length": "120"},
  {"KindPerform": "СИП-2", "Stuff": "3*70+1*54.6", "Length": "250", "Temperature": "70"},
  {"KindPerform": "Шинопровод Canalis", "Stuff": "KS, 250A", "Length": "40"},
  {"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "16", "Fn": "16",
   "Length": "35", "QuanPar": "2"},
  {"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "25", "Fn": "16",
   "Length": "20"},
  {"KindPerform": "СИП-2", "Stuff": "3*70+1*54.6", "Length": "15"}],
 "Device": {"AV": true, "TokAVnom": "100", "TokNR": "10 (\"C\")", "KZAV": "1.1"}})json";

const char *const OneSection = R"({"WindKind": "Y/Y-0", "TransPower": "250", "Lines": [
  {"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "25", "Fn": "16",
   "Length": "150"}]})";

class CalculationSheetTest : public ::testing::Test
{
protected:
    void calculate(const std::string &json)
    {
        const BatchInput input = ParseBatchInput(json);
        ASSERT_TRUE(ApplyCalcRequest(session, input.Requests.at(0)));
        session.Calculate();
        ASSERT_TRUE(session.Status().ResultMenuEnabled) << "the feed was refused";
    }

    CalculationSheet sheet(const SheetHeading &heading = {"К-1", {}, "08.12.2026 10:00"})
    {
        std::optional<CalculationSheet> built = BuildCalculationSheet(session, heading);
        if (!built)
            ADD_FAILURE() << "no sheet";
        return built.value_or(CalculationSheet());
    }

    // Every text of the sheet, one per line, table cells included.
    static std::string allText(const CalculationSheet &sheet)
    {
        std::string text = sheet.Title + "\n";
        for (const std::string &line : sheet.TitleLines)
            text += line + "\n";
        for (const SheetBlock &block : sheet.Blocks) {
            text += block.Heading + "\n";
            for (const std::string &line : block.Lines)
                text += line + "\n";
            if (block.Table)
                for (const auto &row : block.Table->Rows)
                    for (const std::string &cell : row)
                        text += cell + "\n";
        }
        return text;
    }

    static const SheetBlock &block(const CalculationSheet &sheet, std::string_view heading)
    {
        for (const SheetBlock &block : sheet.Blocks)
            if (block.Heading == heading)
                return block;
        static const SheetBlock none;
        ADD_FAILURE() << "no block " << heading;
        return none;
    }

    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
};

TEST_F(CalculationSheetTest, NoSheetWithoutASuccessfulCalculation)
{
    EXPECT_FALSE(BuildCalculationSheet(session, {}));

    calculate(OneSection);
    EXPECT_TRUE(BuildCalculationSheet(session, {}));
    // A refused calculation leaves no result to sign, whatever the one before gave.
    session.Input().Lines[0].Length = "-1";
    session.Calculate();
    EXPECT_FALSE(BuildCalculationSheet(session, {}));
}

TEST_F(CalculationSheetTest, EveryNumberOfTheResultWindowStandsOnTheSheet)
{
    calculate(SixSections);
    const std::string text = allText(sheet());
    // Texts stand as the window shows them; "name=value unit" labels of the loop stand as
    // the results of their formulas, so their values are looked for.
    for (const auto &[name, label] : session.ResultWindow().Labels()) {
        const bool formula = name == "RsumLabel" || name == "XsumLabel" || name == "ZsumLabel";
        const std::string shown = formula ? label.substr(label.find('=') + 1) : label;
        EXPECT_NE(text.find(shown), std::string::npos) << name << ": " << label;
    }
    for (const auto &[name, label] : session.ResultWindow().Analysis.Labels())
        EXPECT_NE(text.find(label), std::string::npos) << name << ": " << label;
}

TEST_F(CalculationSheetTest, SectionTablesHoldTheInputsAndWhatTheTablesGave)
{
    calculate(SixSections);
    const CalculationSheet built = sheet();
    const SheetBlock &inputs = block(built, SheetText::LinesHeading);
    ASSERT_TRUE(inputs.Table);
    ASSERT_EQ(inputs.Table->Rows.size(), 6u);
    const TCalcInput input = *session.CalculatedInput();
    for (std::size_t n = 0; n < 6; ++n) {
        const TLineInput &line = input.Lines[n];
        // SIP (2, 6) and the busbar (3) are given by their marking and model alone.
        const bool cable = n == 0 || n == 3 || n == 4;
        EXPECT_EQ(inputs.Table->Rows[n],
                  (std::vector<std::string>{std::to_string(n + 1),
                                            line.KindPerform,
                                            line.Stuff,
                                            cable ? line.Ff : "---",
                                            cable ? line.Fn : "---",
                                            line.Length,
                                            line.QuanPar,
                                            line.Temperature}))
                << "line " << n + 1;
    }
    EXPECT_EQ(inputs.Table->Rows[0][3], "185");
    EXPECT_EQ(inputs.Table->Rows[3][6], "2");

    // The values table follows without a heading of its own: six sections and the sums.
    const auto values = std::next(
            std::find_if(built.Blocks.begin(), built.Blocks.end(), [](const SheetBlock &b) {
                return b.Heading == SheetText::LinesHeading;
            }));
    ASSERT_TRUE(values != built.Blocks.end() && values->Table);
    ASSERT_EQ(values->Table->Rows.size(), 7u);
    EXPECT_EQ(values->Table->Rows[1][3], "1,2000"); // SIP at 70 °C
    EXPECT_EQ(values->Table->Rows[0][3], "1,0000");
    EXPECT_EQ(values->Table->Rows[6],
              (std::vector<std::string>{"Σ",
                                        "",
                                        "",
                                        "",
                                        session.ResultWindow().RLineLabel,
                                        session.ResultWindow().XLineLabel,
                                        session.ResultWindow().ZLineLabel}));

    // What the tables gave, the factor and the length give the section's values.
    const TCalcResult &result = session.Result();
    for (std::size_t n = 0; n < 6; ++n) {
        const double parallel = n == 3 ? 2 : 1;
        EXPECT_DOUBLE_EQ(result.RLineTablePerMetre[n] * result.LineKt[n] * result.LineLength[n]
                                 / parallel,
                         result.RLine[n])
                << "line " << n + 1;
        EXPECT_DOUBLE_EQ(result.XLineTablePerMetre[n] * result.LineLength[n] / parallel,
                         result.XLine[n])
                << "line " << n + 1;
    }
}

TEST_F(CalculationSheetTest, LoopIsWrittenOutWithItsNumbers)
{
    // The numbers of the result window (tormel-calc's ResultWindow shows the same).
    calculate(SixSections);
    const CalculationSheet built = sheet();
    const SheetBlock &loop = block(built, SheetText::LoopHeading);
    const std::vector<std::string> expected
            = {"Rл=503,84 мОм;   Xл=76,10 мОм;   Zл=509,55 мОм",
               "Rпр=15 мОм (переходное сопротивление контактов и дуги)",
               "Rф-н = Rт/3 + Rл + Rпр = 5,90 + 503,84 + 15 = 524,74 мОм",
               "Xф-н = Xт/3 + Xл = 17,01 + 76,10 = 93,10 мОм",
               "|Zф-н| = √(Rф-н² + Xф-н²) = √(524,74² + 93,10²) = 532,93 мОм",
               "Iокз = 231000 / |Zф-н| = 231000 / 532,93 = 433 А",
               "Ток однофазного короткого замыкания равен 433 А"};
    EXPECT_EQ(loop.Lines, expected);
}

TEST_F(CalculationSheetTest, DeviceAndItsVerdict)
{
    calculate(OneSection);
    EXPECT_EQ(block(sheet(), SheetText::DeviceHeading).Lines,
              (std::vector<std::string>{"Аппарат защиты не выбран.",
                                        "Срабатывание: " + session.Device().Status}));
    EXPECT_EQ(block(sheet(), SheetText::AnalysisHeading).Lines.at(0),
              "Запас по току срабатывания: ---");

    calculate(SixSections);
    EXPECT_EQ(block(sheet(), SheetText::DeviceHeading).Lines,
              (std::vector<std::string>{"Автоматический выключатель",
                                        "Iном=100 А;   Кз=1.1",
                                        "Ток срабатывания: Iср=1100 А",
                                        "Время срабатывания: Тср > 0,4 с",
                                        "Срабатывание: Несрабатывание за нормативное время"}));
    const CalculationSheet built = sheet();
    ASSERT_TRUE(built.Current && built.Current->TripCurrent);
    EXPECT_EQ(*built.Current->TripCurrent, 1100);
    ASSERT_TRUE(built.Loop);
    EXPECT_EQ(built.Loop->Bars.size(), 8u); // Zт/3, six sections, Rпр
}

TEST_F(CalculationSheetTest, SheetShowsTheTextsAsCalculatedNotAsEditedSince)
{
    calculate(OneSection);
    session.Input().Lines[0].Length = "999";
    const CalculationSheet built = sheet();
    EXPECT_EQ(block(built, SheetText::LinesHeading).Table->Rows.at(0)[5], "150");
    EXPECT_EQ(allText(built).find("999"), std::string::npos);
}

TEST_F(CalculationSheetTest, TitleBlockNamesThePointTheFileAndTheProgram)
{
    calculate(OneSection);
    EXPECT_EQ(sheet({"К-1", "/home/user/тп.tormel.json", "08.12.2026 10:00"}).TitleLines,
              (std::vector<std::string>{"Точка короткого замыкания: К-1",
                                        "Файл схемы: /home/user/тп.tormel.json",
                                        "Дата: 08.12.2026 10:00",
                                        "Программа: Тормел 2.8.1"}));
    EXPECT_EQ(sheet({"", "", "x"}).TitleLines.front(), "Точка короткого замыкания: не задана");
    EXPECT_EQ(sheet({"", "", "x"}).TitleLines.size(), 3u);
    // One section: one row, then the sums.
    EXPECT_EQ(block(sheet(), SheetText::LinesHeading).Table->Rows.size(), 1u);
}

TEST(ReportSheetTest, RowsInUseUnderTheReportsTwoHeaderLines)
{
    ReportTable report;
    EXPECT_EQ(BuildReportSheet(report, "d").TitleLines.front(), "Файл отчета: *Новый*");
    report.SetRowCount(20);
    for (int row = 0; row < 20; ++row) {
        ReportRow cells;
        cells.fill("v" + std::to_string(row));
        report.SetRow(row, cells);
    }
    report.SetReportFile("/tmp/отчет.csv");
    const ReportSheet sheet = BuildReportSheet(report, "08.12.2026 10:00");
    EXPECT_EQ(sheet.TitleLines[0], "Файл отчета: /tmp/отчет.csv");
    EXPECT_EQ(sheet.TitleLines[1], "Дата: 08.12.2026 10:00");
    ASSERT_EQ(sheet.Table.Header.size(), 2u);
    EXPECT_EQ(sheet.Table.Header[0][8], report_texts::ColumnHeaders[8]);
    EXPECT_EQ(sheet.Table.Header[1][9], "А");
    ASSERT_EQ(sheet.Table.Rows.size(), 20u);
    EXPECT_EQ(sheet.Table.Rows[19][11], "v19");
    EXPECT_EQ(sheet.Table.Widths.size(), 12u);
}

TEST(SheetDateTimeTest, DayMonthYearHoursMinutes)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(SheetDateTime(0), "01.01.1970 00:00");
    EXPECT_EQ(SheetDateTime(1796727300), "08.12.2026 10:55");
}

} // namespace
} // namespace tormel
