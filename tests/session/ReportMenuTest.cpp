#include "session/ReportMenu.h"

#include "core/LocaleSeparators.h"
#include "core/NumberFormat.h"
#include "report/ReportFile.h"
#include "report/ReportTexts.h"
#include "report/Windows1251.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/RecordingFileDialogs.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tormel {
namespace {

using testing::PointRow;
using testing::readBytes;
using testing::RecordingFileDialogs;
using testing::RecordingMessages;
using testing::TableWithPoints;
using testing::writeBytes;

const std::string OverwriteQuestion(report_texts::OverwriteQuestion);
const std::string DamagedQuestion(report_texts::DamagedFileQuestion);

class ReportMenuTest : public ::testing::Test
{
protected:
    // The bytes a save of the table writes.
    static std::string FileBytes(const ReportTable &table)
    {
        return EncodeWindows1251(ReportFileText(table)).value();
    }

    void expectFileUnchanged(const std::string &name, const std::string &caption)
    {
        EXPECT_EQ(table.ReportFileName(), name);
        EXPECT_EQ(table.Caption(), caption);
    }

    std::string path(const std::string &name) const { return m_folder.filePath(name); }

    testing::TempFolder m_folder;
    ReportTable table = TableWithPoints(3);
    RecordingMessages messages;
    RecordingFileDialogs dialogs;
};

TEST_F(ReportMenuTest, SaveAsWritesTheFileAndAdoptsItsName)
{
    const std::string file = m_folder.filePath("r.csv");
    dialogs.paths = {file};
    EXPECT_TRUE(SaveAsReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(readBytes(file), FileBytes(table));
    EXPECT_EQ(table.ReportFileName(), file);
    EXPECT_EQ(table.Caption(), "Отчет-" + file);
    EXPECT_TRUE(messages.entries().empty());
    ASSERT_EQ(dialogs.last().filters.size(), 1u);
    EXPECT_EQ(dialogs.last().filters[0].Description, "Таблица (*.csv)");
    EXPECT_EQ(dialogs.last().filters[0].Pattern, "*.csv");
    EXPECT_EQ(dialogs.last().defaultExtension, "csv");
    EXPECT_EQ(m_folder.entries(), std::vector<std::string>{"r.csv"});
}

TEST_F(ReportMenuTest, EmptyReportIsSavedAsAnEmptyFileAndOpensAsFourteenEmptyRows)
{
    const std::string file = m_folder.filePath("empty.csv");
    ReportTable empty;
    dialogs.paths = {file};
    ASSERT_TRUE(SaveAsReportMenuClick(empty, messages, dialogs));
    EXPECT_EQ(readBytes(file), "");

    table = TableWithPoints(20);
    dialogs.paths = {file};
    EXPECT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(table.RowCount(), 14);
    EXPECT_EQ(table.RowsInUseCount(), 0);
}

TEST_F(ReportMenuTest, DecliningTheOverwriteShowsTheDialogAgainAndKeepsTheOldName)
{
    const std::string file = m_folder.filePath("old.csv");
    writeBytes(file, "old contents");
    table.SetReportFile("/earlier.csv");
    dialogs.paths = {file, std::nullopt};
    messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(SaveAsReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(dialogs.saveDialogs(), 2);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Warning);
    EXPECT_EQ(messages.entries()[0].text, OverwriteQuestion);
    EXPECT_EQ(readBytes(file), "old contents");
    expectFileUnchanged("/earlier.csv", "Отчет-/earlier.csv");
}

TEST_F(ReportMenuTest, AcceptedOverwriteReplacesTheFileAndKeepsItsPermissions)
{
    const std::string file = m_folder.filePath("old.csv");
    writeBytes(file, "old contents that are longer than nothing");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    dialogs.paths = {file};
    messages.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(SaveAsReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(readBytes(file), FileBytes(table));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(ReportMenuTest, SaveAsRefusesANameItCannotReadBack)
{
    const std::string okz = m_folder.filePath("r.okz");
    const std::string csv = m_folder.filePath("r.csv");
    dialogs.paths = {okz, m_folder.filePath("r.txt"), csv};
    EXPECT_TRUE(SaveAsReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(dialogs.saveDialogs(), 3);
    ASSERT_EQ(messages.entries().size(), 2u);
    EXPECT_EQ(messages.entries()[0].text, report_texts::SaveExtensionMessage);
    EXPECT_FALSE(PathExists(okz));
    EXPECT_EQ(table.ReportFileName(), csv);
}

TEST_F(ReportMenuTest, SaveWritesToTheReportsFileWithoutAQuestion)
{
    const std::string file = m_folder.filePath("r.csv");
    writeBytes(file, "old");
    table.SetReportFile(file);
    EXPECT_TRUE(SaveReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(dialogs.saveDialogs(), 0);
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(readBytes(file), FileBytes(table));
    EXPECT_EQ(table.Caption(), "Отчет-" + file);
}

TEST_F(ReportMenuTest, SaveOfANewOrOkzReportAsksForACsvName)
{
    for (const std::string &name : {std::string(), m_folder.filePath("r.okz")}) {
        const std::string okzBytes = "|a|b|c|d|e|f|g|h|i|j|k|l|\r\n";
        if (!name.empty())
            writeBytes(name, okzBytes);
        table.SetReportFile(name);
        dialogs.clear();
        dialogs.paths = {m_folder.filePath("new.csv")};
        messages.answers = {MessageAnswer::Ok};
        EXPECT_TRUE(SaveReportMenuClick(table, messages, dialogs));
        EXPECT_EQ(dialogs.saveDialogs(), 1);
        EXPECT_EQ(table.ReportFileName(), m_folder.filePath("new.csv"));
        if (!name.empty()) {
            EXPECT_EQ(readBytes(name), okzBytes);
        }
    }
}

TEST_F(ReportMenuTest, FailedSaveNamesTheFileAndTheReasonAndKeepsTheName)
{
    const std::string file = m_folder.filePath("no-such-folder/r.csv");
    dialogs.paths = {file};
    EXPECT_FALSE(SaveAsReportMenuClick(table, messages, dialogs));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text,
              "Не удалось записать файл \"" + file + "\": нет такого файла или папки.");
    expectFileUnchanged("", "Отчет - *Новый*");
}

TEST_F(ReportMenuTest, SaveOverAFolderLeavesTheFolder)
{
    const std::string folder = m_folder.filePath("folder.csv");
    std::filesystem::create_directory(folder);
    writeBytes(folder + "/inside", "x");
    table.SetReportFile(folder);
    EXPECT_FALSE(SaveReportMenuClick(table, messages, dialogs));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_NE(messages.entries()[0].text.find(folder), std::string::npos);
    EXPECT_EQ(readBytes(folder + "/inside"), "x");
    EXPECT_EQ(m_folder.entries(), std::vector<std::string>{"folder.csv"});
}

TEST_F(ReportMenuTest, WriteThatFailsHalfwayLeavesTheOldFile)
{
    // A file size limit makes the write fail part of the way, as a full disk does.
    const std::string file = m_folder.filePath("r.csv");
    const std::string old = FileBytes(TableWithPoints(1));
    writeBytes(file, old);
    table = TableWithPoints(500);
    table.SetReportFile(file);

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = SaveReportMenuClick(table, messages, dialogs);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text,
              "Не удалось записать файл \"" + file + "\": файл слишком велик.");
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(m_folder.entries(), std::vector<std::string>{"r.csv"});
}

TEST_F(ReportMenuTest, TextTheCodePageCannotHoldIsNotWritten)
{
    const std::string file = m_folder.filePath("r.csv");
    writeBytes(file, "old");
    table.SetCell(4, 1, "1,5\u03B1");
    table.SetReportFile(file);
    EXPECT_FALSE(SaveReportMenuClick(table, messages, dialogs));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_NE(messages.entries()[0].text.find("в строке 2"), std::string::npos);
    EXPECT_EQ(readBytes(file), "old");
}

// Cells read from an okz file, or from a damaged line the user agreed to load,
// may hold a semicolon; written as they are, their columns would shift.
TEST_F(ReportMenuTest, CellWithASemicolonIsNotSavedAndTheOldFileStays)
{
    const std::string okz = path("r.okz");
    const std::string damaged = path("damaged.csv");
    writeBytes(okz, "|P1|1|2|3|4|5|6|7|8|9|10|11|\r\n|K|1;5|2|3|4|5|6|7|8|9|10|11|\r\n");
    writeBytes(damaged, FileBytes(TableWithPoints(1)) + "K;a;b\r\n");
    for (const std::string &source : {okz, damaged}) {
        SCOPED_TRACE(source);
        const std::string target = path("saved.csv");
        writeBytes(target, "old");
        dialogs.paths = {source};
        messages.answers = {MessageAnswer::Yes};
        ASSERT_TRUE(OpenReportMenuClick(table, messages, dialogs));
        const ReportTable opened = table;

        messages.clear();
        dialogs.paths = {target};
        messages.answers = {MessageAnswer::Ok};
        EXPECT_FALSE(SaveAsReportMenuClick(table, messages, dialogs));
        ASSERT_EQ(messages.entries().size(), 2u);
        EXPECT_EQ(messages.entries()[1].kind, RecordingMessages::Kind::Error);
        EXPECT_NE(messages.entries()[1].text.find("в строке 2 содержит точку с запятой"),
                  std::string::npos)
                << messages.entries()[1].text;
        EXPECT_EQ(readBytes(target), "old");
        EXPECT_EQ(table.ReportFileName(), source);
        for (int row = 0; row < table.RowCount(); ++row)
            EXPECT_EQ(table.Row(row), opened.Row(row));
    }
}

// Numbers of these regional settings hold separators that Windows-1251 lacks.
// The file holds the nearest character of the code page instead and reads back
// to exactly that; saving what was read gives the same bytes again.
TEST_F(ReportMenuTest, ReportOfEveryLocaleIsSavedAndReadsBack)
{
    struct Case
    {
        const char *locale;
        std::string written; // 1234.5 with two decimals, as the file holds it
    };
    for (const Case &c : {Case{"fr_FR", "1\u00A0234,50"},
                          Case{"fr_CH", "1\u00A0234,50"},
                          Case{"ar_SA", "1\u00A0234,50"},
                          Case{"fa_IR", "1\u00A0234,50"},
                          Case{"de_CH", "1\u2019234.50"},
                          Case{"ru_RU", "1\u00A0234,50"},
                          Case{"en_US", "1,234.50"}}) {
        SCOPED_TRACE(c.locale);
        const std::optional<NumberSeparators> separators = NamedNumberSeparators(c.locale);
        ASSERT_TRUE(separators);
        ReportTable report;
        report.SetRow(0, PointRow("P1"));
        report.SetCell(3, 0, FormatNumber(1234.5, 2, *separators));
        report.SetCell(6, 0, FormatNumber(0.5, 2, *separators));
        const ReportTable shown = report;

        const std::string file = path(std::string(c.locale) + ".csv");
        dialogs.paths = {file};
        ASSERT_TRUE(SaveAsReportMenuClick(report, messages, dialogs));
        EXPECT_TRUE(messages.entries().empty());
        EXPECT_EQ(report.Row(0), shown.Row(0)); // the report keeps what it shows

        ReportTable back;
        dialogs.paths = {file};
        ASSERT_TRUE(OpenReportMenuClick(back, messages, dialogs));
        EXPECT_EQ(back.RowsInUseCount(), 1);
        EXPECT_EQ(back.Cell(3, 0), c.written);
        EXPECT_EQ(back.Cell(6, 0), "0" + c.written.substr(c.written.size() - 3, 1) + "50");
        ReportRow expected = PointRow("P1");
        expected[3] = back.Cell(3, 0);
        expected[6] = back.Cell(6, 0);
        EXPECT_EQ(back.Row(0), expected);

        const std::string bytes = readBytes(file);
        ASSERT_TRUE(SaveReportMenuClick(back, messages, dialogs));
        EXPECT_EQ(readBytes(file), bytes);
    }
}

// Whatever regional settings the user has, among all that the toolkit knows, a report
// with thousands and decimals is saved, and its numbers read back with one distinct
// stand-in each for the decimal and the group separator.
TEST_F(ReportMenuTest, ReportOfAnyKnownLocaleIsSaved)
{
    const QList<QLocale> locales = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    const std::string file = path("any.csv");
    for (const QLocale &locale : locales) {
        const std::string name = locale.name().toStdString();
        const NumberSeparators separators{locale.decimalPoint().toStdString(),
                                          locale.groupSeparator().toStdString()};
        SCOPED_TRACE(name + " decimal \"" + separators.decimal + "\" group \"" + separators.group
                     + "\"");
        ReportTable report;
        report.SetRow(0, PointRow("P1"));
        report.SetCell(3, 0, FormatNumber(1234.5, 2, separators));
        const FileResult saved = SaveReportFile(report, file);
        ASSERT_TRUE(saved.Ok) << saved.Reason;
        ParsedReport back;
        ASSERT_TRUE(ReadReportFile(file, ReportFileFormat::Semicolon, back).Ok);
        ASSERT_EQ(back.Rows.size(), 1u);
        // "1", the group stand-in, "234", the decimal stand-in, "50".
        const std::string &cell = back.Rows[0][3];
        const std::size_t digits = cell.find("234");
        ASSERT_TRUE(cell.starts_with("1") && cell.ends_with("50") && digits != std::string::npos)
                << cell;
        const std::string group = cell.substr(1, digits - 1);
        const std::string decimal = cell.substr(digits + 3, cell.size() - digits - 5);
        EXPECT_FALSE(decimal.empty()) << cell;
        EXPECT_NE(decimal, group) << cell;
    }
}

TEST_F(ReportMenuTest, OpenReplacesTheReportAndAdoptsTheName)
{
    const std::string file = m_folder.filePath("twenty.csv");
    writeBytes(file, FileBytes(TableWithPoints(20)));
    dialogs.paths = {file};
    EXPECT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(table.RowCount(), 20);
    EXPECT_EQ(table.RowsInUseCount(), 20);
    EXPECT_EQ(table.Row(19), PointRow("P20"));
    EXPECT_EQ(table.Caption(), "Отчет-" + file);
    EXPECT_TRUE(messages.entries().empty());
    ASSERT_EQ(dialogs.last().filters.size(), 2u);
    EXPECT_EQ(dialogs.last().filters[0].Description, "Таблица (*.csv)");
    EXPECT_EQ(dialogs.last().filters[1].Description, "Таблица (*.okz)");
    EXPECT_EQ(dialogs.last().filters[1].Pattern, "*.okz");
    EXPECT_EQ(dialogs.last().defaultExtension, "okz");
}

TEST_F(ReportMenuTest, OpenOfAnOkzFile)
{
    const std::string file = m_folder.filePath("r.okz");
    writeBytes(file, EncodeWindows1251("|К-1|1|2|3|4|5|6|7|8|9|---|Тср < 5 с|\r\n").value());
    dialogs.paths = {file};
    EXPECT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(table.RowsInUseCount(), 1);
    EXPECT_EQ(table.Row(0),
              (ReportRow{"К-1", "1", "2", "3", "4", "5", "6", "7", "8", "9", "---", "Тср < 5 с"}));
}

TEST_F(ReportMenuTest, EveryByteOfAFileSurvivesOpenAndSave)
{
    std::string cells;
    for (int byte = 0x80; byte < 0x100; ++byte)
        cells += char(byte);
    std::string line = "K";
    for (int col = 1; col < 12; ++col)
        line += ";" + cells.substr(std::size_t(col - 1) * 11, 11);
    const std::string bytes = EncodeWindows1251(ReportFileText(ReportTable())).value()
                              + EncodeWindows1251(ReportFileText(TableWithPoints(1))).value() + line
                              + "\r\n";
    const std::string file = m_folder.filePath("bytes.csv");
    writeBytes(file, bytes);
    dialogs.paths = {file};
    ASSERT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    ASSERT_TRUE(SaveReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(ReportMenuTest, OpenOfAnotherExtensionSaysSoAndChangesNothing)
{
    for (const std::string name : {"r.CSV", "r.txt"}) {
        const std::string file = m_folder.filePath(name);
        writeBytes(file, FileBytes(TableWithPoints(5)));
        messages.clear();
        dialogs.paths = {file};
        EXPECT_FALSE(OpenReportMenuClick(table, messages, dialogs));
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Message);
        EXPECT_EQ(messages.entries()[0].text, report_texts::UnknownExtensionMessage);
        EXPECT_EQ(table.RowsInUseCount(), 3);
        expectFileUnchanged("", "Отчет - *Новый*");
    }
}

TEST_F(ReportMenuTest, DecliningADamagedFileShowsTheDialogAgainAndChangesNothing)
{
    const std::string file = m_folder.filePath("bad.csv");
    writeBytes(file, FileBytes(TableWithPoints(2)) + "a;b\r\n");
    table.SetReportFile("/earlier.csv");
    dialogs.paths = {file, std::nullopt};
    EXPECT_FALSE(OpenReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(dialogs.openDialogs(), 2);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Question);
    EXPECT_EQ(messages.entries()[0].text, DamagedQuestion);
    EXPECT_EQ(table.Row(0), PointRow("P1"));
    EXPECT_EQ(table.RowsInUseCount(), 3);
    expectFileUnchanged("/earlier.csv", "Отчет-/earlier.csv");

    dialogs.paths = {file};
    messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    EXPECT_EQ(table.RowsInUseCount(), 3);
    EXPECT_EQ(table.Cell(0, 2), "a");
    EXPECT_EQ(table.ReportFileName(), file);
}

TEST_F(ReportMenuTest, OkzLineWithOneBarTooManyAsksBeforeLoading)
{
    const std::string file = path("extra.okz");
    writeBytes(file, "|A|1|2|3|4|5|6|7|8|9|10|11|\r\n|B|1|2|3|4|5|6|7|8|9|10|11||\r\n");
    dialogs.paths = {file};
    messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(OpenReportMenuClick(table, messages, dialogs));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Question);
    EXPECT_EQ(messages.entries()[0].text, DamagedQuestion);
    EXPECT_EQ(table.RowsInUseCount(), 2);
    EXPECT_EQ(table.Cell(0, 1), "B");
    EXPECT_EQ(table.Cell(11, 1), "11");
}

TEST_F(ReportMenuTest, ReadErrorNamesTheFileAndChangesNothing)
{
    const std::string file = m_folder.filePath("missing.csv");
    dialogs.paths = {file};
    EXPECT_FALSE(OpenReportMenuClick(table, messages, dialogs));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(messages.entries()[0].text,
              "Не удалось прочитать файл \"" + file + "\": нет такого файла или папки.");
    EXPECT_EQ(table.RowsInUseCount(), 3);
    expectFileUnchanged("", "Отчет - *Новый*");
}

TEST_F(ReportMenuTest, NewWithoutAPointInTheFirstRowOnlyForgetsTheFile)
{
    table.SetRow(0, ReportRow());
    table.SetReportFile("/a.csv");
    NewReportMenuClick(table, messages, dialogs);
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(table.Row(1), PointRow("P2"));
    expectFileUnchanged("", "Отчет- *Новый*");
}

TEST_F(ReportMenuTest, NewAnsweredCancelOrNo)
{
    table.SetReportFile("/a.csv");
    messages.answers = {MessageAnswer::Cancel};
    NewReportMenuClick(table, messages, dialogs);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingMessages::Kind::Question);
    EXPECT_EQ(messages.entries()[0].text, "Сохранить предыдущий отчет?");
    EXPECT_EQ(table.RowsInUseCount(), 3);
    expectFileUnchanged("/a.csv", "Отчет-/a.csv");

    messages.answers = {MessageAnswer::No};
    NewReportMenuClick(table, messages, dialogs);
    EXPECT_EQ(table.RowsInUseCount(), 0);
    EXPECT_EQ(dialogs.saveDialogs(), 0);
    expectFileUnchanged("", "Отчет- *Новый*");
}

TEST_F(ReportMenuTest, NewAnsweredYesSavesThenClears)
{
    const std::string file = m_folder.filePath("r.csv");
    table.SetReportFile(file);
    const std::string bytes = FileBytes(table);
    messages.answers = {MessageAnswer::Yes};
    NewReportMenuClick(table, messages, dialogs);
    EXPECT_EQ(readBytes(file), bytes);
    EXPECT_EQ(table.RowsInUseCount(), 0);
    expectFileUnchanged("", "Отчет- *Новый*");
}

TEST_F(ReportMenuTest, NewKeepsTheReportWhenItsSaveIsCancelledOrFails)
{
    messages.answers = {MessageAnswer::Yes};
    NewReportMenuClick(table, messages, dialogs);
    EXPECT_EQ(dialogs.saveDialogs(), 1);
    EXPECT_EQ(table.RowsInUseCount(), 3);
    expectFileUnchanged("", "Отчет - *Новый*");

    const std::string file = m_folder.filePath("no-such-folder/r.csv");
    table.SetReportFile(file);
    messages.answers = {MessageAnswer::Yes};
    NewReportMenuClick(table, messages, dialogs);
    EXPECT_EQ(messages.entries().back().kind, RecordingMessages::Kind::Error);
    EXPECT_EQ(table.RowsInUseCount(), 3);
    expectFileUnchanged(file, "Отчет-" + file);
}

} // namespace
} // namespace tormel
