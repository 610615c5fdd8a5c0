// The sheets painted into PDF files and read back with poppler's tools: the texts of the
// windows on the pages, the fonts embedded, a long report continued under its header,
// and the PDF save's file handling.

#include "feed/BatchInput.h"
#include "feed/FeedFile.h"
#include "report/ReportTable.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"
#include "sheet/SheetActions.h"
#include "sheet/SheetFile.h"
#include "sheet/SheetStream.h"
#include "tests/support/PdfTools.h"
#include "tests/support/RecordingFileDialogs.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace tormel {
namespace {

using namespace tormel::testing;

// The sheets' fonts need a QGuiApplication, one for the whole test program.
class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { m_application = OffscreenGuiApplication(); }
    void TearDown() override { m_application.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_application;
};

const auto *const Registered = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

const char *const OneSection = R"json({"WindKind": "Y/Y-0", "TransPower": "250", "Lines": [
  {"KindPerform": "Кабель с ПВХ изоляцией", "Stuff": "Медь", "Ff": "25", "Fn": "16",
   "Length": "150"}]})json";

const char *const SixSections = R"json({"WindKind": "T/Y-0", "TransPower": "400",
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

// pdftotext breaks lines where the layout does; spaces and line ends compare alike. The
// same glyph draws a space and a no-break space, and the text read back may give either.
std::string squeezed(std::string text)
{
    for (std::size_t at = text.find("\u00A0"); at != std::string::npos; at = text.find("\u00A0"))
        text.replace(at, 2, " ");
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\f';
        if (blank && (out.empty() || out.back() == ' '))
            continue;
        out += blank ? ' ' : c;
    }
    return out;
}

int occurrences(const std::string &text, const std::string &what)
{
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++count;
    return count;
}

class SheetPdfTest : public ::testing::Test
{
protected:
    CalculationSheet calculated(const std::string &json, const std::string &point)
    {
        TormelSession session(messages, NumberSeparators::russian());
        ApplyCalcRequest(session, ParseBatchInput(json).Requests.at(0));
        session.Calculate();
        windowLabels.clear();
        for (const auto &[name, label] : session.ResultWindow().Labels())
            windowLabels.push_back(label);
        for (const auto &[name, label] : session.ResultWindow().Analysis.Labels())
            windowLabels.push_back(label);
        std::optional<CalculationSheet> sheet
                = BuildCalculationSheet(session, {point, "схема.tormel.json", "08.12.2026 10:00"});
        EXPECT_TRUE(sheet);
        return sheet.value_or(CalculationSheet());
    }

    std::string write(const SheetDocument &document, const std::string &name = "sheet.pdf")
    {
        const std::string path = folder.filePath(name);
        const FileResult written = WriteSheetPdf(path, document);
        EXPECT_TRUE(written.Ok) << written.Reason;
        return path;
    }

    RecordingMessages messages;
    TempFolder folder;
    std::vector<std::string> windowLabels;
};

TEST_F(SheetPdfTest, SheetsOfFeedsHoldTheInputsAndTheWindowsNumbers)
{
    struct Case
    {
        const char *name;
        const char *json;
        std::vector<std::string> inputs;
    };
    const Case cases[] = {
            {"one section without a device",
             OneSection,
             {"Кабель с ПВХ изоляцией", "Медь", "150", "Аппарат защиты не выбран."}},
            {"six sections with SIP, a busbar and a device that does not trip",
             SixSections,
             {"Кабель с бумажной изоляцией",
              "Алюминий",
              "3*70+1*54.6",
              "Шинопровод Canalis",
              "KS, 250A",
              "Iном=100 А",
              "Iср=1100 А",
              "Срабатывание: Несрабатывание за нормативное время",
              "Iокз = 231000 / |Zф-н| = 231000 / 532,93 = 433 А"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write({{calculated(c.json, "К-1")}, std::nullopt});
        const std::string text = squeezed(PdfText(path));
        for (const std::string &input : c.inputs)
            EXPECT_NE(text.find(squeezed(input)), std::string::npos) << input;
        // The loop's labels stand as the results of their formulas: "Rф-н = ... = 524,74 мОм".
        for (const std::string &label : windowLabels) {
            const std::string shown = label.rfind("Rф-н=", 0) == 0 || label.rfind("Xф-н=", 0) == 0
                                                      || label.rfind("Zф-н=", 0) == 0
                                              ? "= " + label.substr(label.find('=') + 1)
                                              : label;
            EXPECT_NE(text.find(squeezed(shown)), std::string::npos) << label;
        }
        EXPECT_NE(text.find("Точка короткого замыкания: К-1"), std::string::npos);
        EXPECT_NE(text.find("Файл схемы: схема.tormel.json"), std::string::npos);
        EXPECT_NE(text.find("Программа: Тормел 2.8.1"), std::string::npos);
        // The pictures' axes are on the sheet as text, not as an image.
        EXPECT_NE(text.find("Расстояние от трансформатора, м"), std::string::npos);
        EXPECT_NE(text.find("Доля в |Zф-н|, %"), std::string::npos);
    }
}

TEST_F(SheetPdfTest, EveryFontIsEmbedded)
{
    const std::string path = write({{calculated(SixSections, "К-1")}, std::nullopt});
    const std::string fonts = PdfFonts(path);
    ASSERT_FALSE(fonts.empty());
    std::istringstream lines(fonts);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            continue;
        // name, type words, encoding, then emb sub uni: the embedded column says "yes".
        EXPECT_NE(line.find(" yes "), std::string::npos) << line;
        EXPECT_NE(line.find("DejaVu"), std::string::npos) << line;
    }
}

TEST_F(SheetPdfTest, EachCalculationStartsAPageAndTheReportComesLast)
{
    SheetDocument document;
    document.Calculations = {calculated(OneSection, "К-1"), calculated(SixSections, "К-2")};
    ReportTable report;
    report.SetCell(0, 0, "К-1");
    document.Report = BuildReportSheet(report, "08.12.2026 10:00");
    const std::string path = write(document);
    const int pages = PdfPageCount(path);
    ASSERT_GE(pages, 3);
    EXPECT_EQ(PdfText(path, 1).rfind("Расчет тока однофазного короткого замыкания", 0), 0u);
    EXPECT_NE(PdfText(path, 1).find("Точка короткого замыкания: К-1"), std::string::npos);
    EXPECT_EQ(PdfText(path, 1).find("К-2"), std::string::npos);
    // The first sheet may run on over several pages; the second starts a page of its own.
    int second = 2;
    while (second < pages && PdfText(path, second).find("К-2") == std::string::npos)
        ++second;
    EXPECT_EQ(PdfText(path, second).rfind("Расчет тока однофазного короткого замыкания", 0), 0u);
    EXPECT_NE(PdfText(path, second).find("Точка короткого замыкания: К-2"), std::string::npos);
    // Each sheet ends with the section of the largest fault currents.
    std::string first;
    for (int page = 1; page < second; ++page)
        first += PdfText(path, page);
    EXPECT_NE(first.find("6. Максимальные токи КЗ, отключающая способность"), std::string::npos);
    EXPECT_NE(first.find("Основание: ГОСТ 28249-93"), std::string::npos);
    EXPECT_EQ(PdfText(path, pages).rfind("Отчет о расчете", 0), 0u);
    for (int page = 1; page <= pages; ++page)
        EXPECT_NE(PdfText(path, page).find("Лист " + std::to_string(page)), std::string::npos);
}

TEST_F(SheetPdfTest, LongReportContinuesUnderItsHeaderOnEveryPage)
{
    ReportTable report;
    const int rows = 150;
    report.SetRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        ReportRow cells;
        cells.fill("1\u00A0062,38");
        cells[0] = "Т" + std::to_string(1000 + row);
        report.SetRow(row, cells);
    }
    report.SetReportFile("/tmp/отчет.csv");
    const std::string path = write({{}, BuildReportSheet(report, "08.12.2026 10:00")});
    const int pages = PdfPageCount(path);
    ASSERT_GE(pages, 3);
    std::string all;
    for (int page = 1; page <= pages; ++page) {
        const std::string text = PdfText(path, page);
        EXPECT_NE(text.find("№ точки"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("| Zф-н |"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("мОм"), std::string::npos) << "page " << page;
        all += text;
    }
    EXPECT_NE(all.find("Файл отчета: /tmp/отчет.csv"), std::string::npos);
    // Every row once, none lost at a page break.
    for (int row = 0; row < rows; ++row)
        EXPECT_EQ(occurrences(all, "Т" + std::to_string(1000 + row)), 1) << row;
}

TEST_F(SheetPdfTest, PdfSaveAsksReplacesAndReportsFailures)
{
    const SheetDocument document{{calculated(OneSection, "К-1")}, std::nullopt};
    RecordingFileDialogs dialogs;

    // Cancelled: nothing written.
    EXPECT_FALSE(SaveSheetPdfFile(document, dialogs, messages));
    EXPECT_EQ(dialogs.last().filterTexts(), std::vector<std::string>{"PDF (*.pdf)|*.pdf"});
    EXPECT_EQ(dialogs.last().defaultExtension, "pdf");

    // A new file is written without a question.
    const std::string path = folder.filePath("лист.pdf");
    dialogs.paths.push_back(path);
    messages.clear();
    EXPECT_TRUE(SaveSheetPdfFile(document, dialogs, messages));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_NE(PdfText(path).find("Тормел"), std::string::npos);

    // An existing file stays as it was unless the user agrees.
    {
        std::ofstream(path, std::ios::binary) << "keep";
    }
    dialogs.paths.push_back(path);
    messages.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(SaveSheetPdfFile(document, dialogs, messages));
    EXPECT_EQ(messages.entries().back().text, "Такой файл уже существует. Переписать файл?");
    EXPECT_EQ(std::filesystem::file_size(path), 4u);

    // A folder that does not exist: an error naming the file, and no success.
    const std::string missing = folder.filePath("нет/лист.pdf");
    dialogs.paths.push_back(missing);
    messages.clear();
    EXPECT_FALSE(SaveSheetPdfFile(document, dialogs, messages));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries().back().text.rfind("Не удалось записать файл \"" + missing + "\": ",
                                                   0),
              0u);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// A sheet never replaces the open feed file or the report's file, under any name.
TEST_F(SheetPdfTest, PdfSaveRefusesTheOpenDocuments)
{
    const SheetDocument document{{calculated(OneSection, "К-1")}, std::nullopt};
    RecordingFileDialogs dialogs;
    const std::string feed = folder.filePath("a.tormel.json");
    const std::string report = folder.filePath("r.csv");
    std::ofstream(feed, std::ios::binary) << "feed";
    std::ofstream(report, std::ios::binary) << "report";
    std::filesystem::create_symlink(feed, folder.filePath("feed.pdf"));
    const std::pair<std::string, std::string> cases[] = {
            {folder.filePath("feed.pdf"), "это открытый файл схемы"},
            {report, "это открытый файл отчета"},
    };
    for (const auto &[path, reason] : cases) {
        dialogs.paths.push_back(path);
        messages.clear();
        EXPECT_FALSE(SaveSheetPdfFile(document, dialogs, messages, {feed, report}));
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.entries().back().text,
                  "Не удалось записать файл \"" + path + "\": " + reason);
    }
    EXPECT_EQ(std::filesystem::file_size(feed), 4u);
    EXPECT_EQ(std::filesystem::file_size(report), 6u);
}

// Sheets painted one by one into a prepared file make the same document as painted at
// once, and the file takes its place only when committed.
TEST_F(SheetPdfTest, StreamedSheetsMakeTheSameDocument)
{
    const std::string path = folder.filePath("s.pdf");
    std::ofstream(path, std::ios::binary) << "old";
    SheetPdfStream stream;
    ASSERT_TRUE(stream.Create(path).Ok);
    for (const char *point : {"К-1", "К-2", "К-3"})
        stream.Add(calculated(OneSection, point));
    ASSERT_TRUE(stream.Finish().Ok);
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    ASSERT_TRUE(CommitPreparedFiles({&stream.File()}).Ok);
    // Two pages a sheet: the largest currents go on the second.
    EXPECT_EQ(PdfPageCount(path), 6);
    for (const char *point : {"К-1", "К-2", "К-3"})
        EXPECT_NE(PdfText(path).find(std::string("Точка короткого замыкания: ") + point),
                  std::string::npos);

    // A run without a calculated object: one page that says so.
    SheetPdfStream empty;
    ASSERT_TRUE(empty.Create(path).Ok);
    ASSERT_TRUE(empty.Finish().Ok);
    ASSERT_TRUE(CommitPreparedFiles({&empty.File()}).Ok);
    EXPECT_EQ(PdfPageCount(path), 1);
    EXPECT_NE(PdfText(path).find(std::string(EmptySheetText)), std::string::npos);
    EXPECT_EQ(PdfText(path).find("Лист 0"), std::string::npos);
}

} // namespace
} // namespace tormel
