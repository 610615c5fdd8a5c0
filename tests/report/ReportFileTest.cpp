#include "report/ReportFile.h"

#include "ReportTestSupport.h"
#include "report/Windows1251.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tormel {
namespace {

using testing::PointRow;
using testing::readBytes;
using testing::TableWithPoints;
using testing::writeBytes;

const std::string Header = "№ точки;Rт/3;Xт/3;Rл;Xл;Rпр;Rф-н;Xф-н;|Zф-н|;Iокз;Iср;Tср\r\n"
                           " ;мОм;мОм;мОм;мОм;мОм;мОм;мОм;мОм;А;А;с\r\n";

std::string Joined(const ReportRow &row, const std::string &separator = ";")
{
    std::string line = row[0];
    for (std::size_t col = 1; col < row.size(); ++col)
        line += separator + row[col];
    return line;
}

std::string OkzLine(const ReportRow &row)
{
    return "|" + Joined(row, "|") + "|";
}

std::vector<ReportRow> Points(int count)
{
    std::vector<ReportRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(PointRow("P" + std::to_string(i)));
    return rows;
}

TEST(ReportFileText, TwoPointsGiveTwoHeaderLinesAndTwoRows)
{
    const std::string text = ReportFileText(TableWithPoints(2));
    EXPECT_EQ(text, Header + Joined(PointRow("P1")) + "\r\n" + Joined(PointRow("P2")) + "\r\n");

    const std::optional<std::string> bytes = EncodeWindows1251(text);
    ASSERT_TRUE(bytes);
    // No byte-order mark; "№ точки;Rт/3" in the code page.
    EXPECT_EQ(bytes->substr(0, 12), "\xB9 \xF2\xEE\xF7\xEA\xE8;R\xF2/3");
    EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\n'), 4);
    EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\r'), 4);
    EXPECT_EQ(bytes->substr(bytes->size() - 2), "\r\n");
}

TEST(ReportFileText, ReportWithoutPointsIsEmpty)
{
    EXPECT_EQ(ReportFileText(ReportTable()), "");
}

TEST(ReportFileText, EmptyCellsAndNamelessRowsLoseNothing)
{
    // A damaged or foreign file can leave empty cells in a point and a row
    // without a name between points.
    ReportTable table = TableWithPoints(4);
    table.SetCell(1, 0, "");
    table.SetCell(11, 0, "");
    table.SetRow(2, ReportRow());
    const std::string text = ReportFileText(table);

    ReportRow first = PointRow("P1");
    first[1].clear();
    first[11].clear();
    EXPECT_EQ(text,
              Header + Joined(first) + "\r\n" + Joined(PointRow("P2")) + "\r\n"
                      + Joined(PointRow("P4")) + "\r\n");
    EXPECT_EQ(ParseReportText(text, ReportFileFormat::Semicolon).Rows,
              (std::vector<ReportRow>{first, PointRow("P2"), PointRow("P4")}));
}

TEST(ParseReportText, ReadsBackWhatWasWritten)
{
    for (const int count : {1, 3, 20}) {
        const ParsedReport report = ParseReportText(ReportFileText(TableWithPoints(count)),
                                                    ReportFileFormat::Semicolon);
        EXPECT_FALSE(report.Damaged);
        EXPECT_EQ(report.Rows, Points(count));
    }
}

TEST(ParseReportText, LoadingSetsTheRowCountToTheFileOrFourteen)
{
    for (const auto &[count, rows] : {std::pair{3, 14}, std::pair{14, 14}, std::pair{20, 20}}) {
        ReportTable table = TableWithPoints(30);
        LoadParsedReport(table,
                         ParseReportText(ReportFileText(TableWithPoints(count)),
                                         ReportFileFormat::Semicolon));
        EXPECT_EQ(table.RowCount(), rows);
        EXPECT_EQ(table.RowsInUseCount(), count);
        EXPECT_EQ(table.Row(count - 1), PointRow("P" + std::to_string(count)));
        EXPECT_EQ(table.Row(count), ReportRow());
    }
}

TEST(ParseReportText, EmptyFileGivesNoRows)
{
    for (const auto format : {ReportFileFormat::Semicolon, ReportFileFormat::Okz}) {
        const ParsedReport report = ParseReportText("", format);
        EXPECT_FALSE(report.Damaged);
        EXPECT_TRUE(report.Rows.empty());
    }
}

TEST(ParseReportText, EveryKindOfLineEndEndsALine)
{
    const std::string a = Joined(PointRow("A"));
    const std::string b = Joined(PointRow("B"));
    const std::string c = Joined(PointRow("C"));
    for (const std::string &text :
         {Header + a + "\r\n" + b + "\n" + c + "\r",
          Header + a + "\r" + b + "\r\n" + c,
          "h;;;;;;;;;;;\nu;;;;;;;;;;;\r" + a + "\n" + b + "\n" + c + "\n"}) {
        const ParsedReport report = ParseReportText(text, ReportFileFormat::Semicolon);
        EXPECT_FALSE(report.Damaged);
        EXPECT_EQ(report.Rows,
                  (std::vector<ReportRow>{PointRow("A"), PointRow("B"), PointRow("C")}));
    }
}

TEST(ParseReportText, TrailingSeparatorsGiveTheSameCells)
{
    const std::string text
            = Header + Joined(PointRow("A")) + ";\r\n" + Joined(PointRow("B")) + ";\r\n";
    const ParsedReport report = ParseReportText(text, ReportFileFormat::Semicolon);
    EXPECT_FALSE(report.Damaged);
    EXPECT_EQ(report.Rows, (std::vector<ReportRow>{PointRow("A"), PointRow("B")}));
}

TEST(ParseReportText, ExtraEmptyLineSwitchesToTrailingSeparatorMode)
{
    const std::string text = ReportFileText(TableWithPoints(2)) + "\r\n";
    const ParsedReport report = ParseReportText(text, ReportFileFormat::Semicolon);
    EXPECT_FALSE(report.Damaged);
    ASSERT_EQ(report.Rows.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        ReportRow expected = PointRow("P" + std::to_string(i + 1));
        expected[11].clear();
        EXPECT_EQ(report.Rows[std::size_t(i)], expected);
    }
    EXPECT_EQ(report.Rows[2], ReportRow());
}

TEST(ParseReportText, TooFewSeparatorsMarkTheFileDamaged)
{
    const std::string shortLine = "a;b;c;d;e;f;g;h;i;j";
    const ParsedReport report
            = ParseReportText(Header + Joined(PointRow("A")) + "\r\n" + shortLine + "\r\n",
                              ReportFileFormat::Semicolon);
    EXPECT_TRUE(report.Damaged);
    ASSERT_EQ(report.Rows.size(), 2u);
    EXPECT_EQ(report.Rows[0], PointRow("A"));
    EXPECT_EQ(report.Rows[1],
              (ReportRow{"a", "b", "c", "d", "e", "f", "g", "h", "i", "", "", shortLine}));
}

TEST(ParseReportText, SemicolonInANameShiftsThatRow)
{
    ReportTable table = TableWithPoints(2);
    table.SetCell(0, 1, "K;2");
    const ParsedReport report = ParseReportText(ReportFileText(table), ReportFileFormat::Semicolon);
    EXPECT_FALSE(report.Damaged);
    ReportRow first = PointRow("P1");
    first[11].clear();
    EXPECT_EQ(report.Rows[0], first);
    EXPECT_EQ(report.Rows[1][0], "K");
    EXPECT_EQ(report.Rows[1][1], "2");
    EXPECT_EQ(report.Rows[1][11], "P2-10");
}

TEST(ParseReportText, LeadingSeparatorIsCountedTwice)
{
    // 11 semicolons, the first one leading: 13 fields, so trailing-separator mode.
    const ParsedReport report
            = ParseReportText(Header + ";b;c;d;e;f;g;h;i;j;k;l\r\n", ReportFileFormat::Semicolon);
    EXPECT_FALSE(report.Damaged);
    EXPECT_EQ(report.Rows.at(0),
              (ReportRow{"", "", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}));
}

TEST(ParseReportText, NoLimitOnLinesOrSeparators)
{
    // 24 fields are sound; the twelfth cell takes the rest of the line.
    std::string text = Header;
    const std::string wide = Joined(PointRow("W")) + ";" + Joined(PointRow("X"));
    for (int i = 0; i < 3000; ++i)
        text += wide + "\r\n";
    const ParsedReport report = ParseReportText(text, ReportFileFormat::Semicolon);
    EXPECT_FALSE(report.Damaged);
    ASSERT_EQ(report.Rows.size(), 3000u);
    EXPECT_EQ(report.Rows.back()[10], "W-10");
    EXPECT_EQ(report.Rows.back()[11], "W-11;" + Joined(PointRow("X")));
}

TEST(ParseReportText, OkzLinesGiveTheirTwelveCells)
{
    const ParsedReport report
            = ParseReportText(OkzLine(PointRow("A")) + "\r\n" + OkzLine(PointRow("B")) + "\r\n",
                              ReportFileFormat::Okz);
    EXPECT_FALSE(report.Damaged);
    EXPECT_EQ(report.Rows, (std::vector<ReportRow>{PointRow("A"), PointRow("B")}));
}

TEST(ParseReportText, OkzLineWithoutItsLastBarIsDamaged)
{
    std::string line = OkzLine(PointRow("A"));
    line.pop_back();
    const ParsedReport report = ParseReportText(line + "\r\n", ReportFileFormat::Okz);
    EXPECT_TRUE(report.Damaged);
    ReportRow expected = PointRow("A");
    expected[11].clear();
    EXPECT_EQ(report.Rows.at(0), expected);
}

TEST(ParseReportText, SemicolonFileReadAsOkzGivesEmptyRows)
{
    // The data lines have no bar; the header's "|Zф-н|" has two, which no okz
    // line can have.
    ParsedReport report
            = ParseReportText(ReportFileText(TableWithPoints(3)), ReportFileFormat::Okz);
    EXPECT_TRUE(report.Damaged);
    EXPECT_EQ(report.Rows, std::vector<ReportRow>(5));

    report = ParseReportText("a;b;c\r\nd;e\r\n", ReportFileFormat::Okz);
    EXPECT_FALSE(report.Damaged);
    EXPECT_EQ(report.Rows, std::vector<ReportRow>(2));
}

class SaveReportFileTest : public ::testing::Test
{
protected:
    std::string path(const std::string &name) const { return m_folder.filePath(name); }

    // Saves a report whose second point holds the cell in column 5 and tells
    // why it was refused, or reads the file back into `back`.
    FileResult save(const std::string &cell, ParsedReport &back)
    {
        ReportTable table = TableWithPoints(3);
        table.SetCell(5, 1, cell);
        const std::string file = path("r.csv");
        writeBytes(file, "old");
        const FileResult result = SaveReportFile(table, file);
        if (!result.Ok)
            EXPECT_EQ(readBytes(file), "old");
        else
            EXPECT_TRUE(ReadReportFile(file, ReportFileFormat::Semicolon, back).Ok);
        return result;
    }

private:
    testing::TempFolder m_folder;
};

// What the reader splits on cannot stand in a cell of the file: the save is
// refused with the row named and the old file kept.
TEST_F(SaveReportFileTest, CellsThatWouldNotReadBackAreRefused)
{
    for (const auto &[cell, reason] :
         {std::pair{"1;5", "текст \"1;5\" в строке 2 содержит точку с запятой"},
          std::pair{";", "текст \";\" в строке 2 содержит точку с запятой"},
          std::pair{"a\r\nb", "текст в строке 2 содержит перевод строки"},
          std::pair{"a\n", "текст в строке 2 содержит перевод строки"},
          std::pair{"\rb", "текст в строке 2 содержит перевод строки"},
          std::pair{"a;\nb", "текст в строке 2 содержит перевод строки"},
          std::pair{"1,5\u03B1", "в строке 2 не может быть записан в кодировке Windows-1251"}}) {
        ParsedReport back;
        const FileResult result = save(cell, back);
        EXPECT_FALSE(result.Ok) << cell;
        EXPECT_NE(result.Reason.find(reason), std::string::npos) << result.Reason;
    }
}

TEST_F(SaveReportFileTest, EveryOtherCellReadsBackAsItIs)
{
    for (const std::string cell : {"", "|Zф-н|", "\t\"a\"", " 1 ", "\u0098\u00A0\u00AD", ",,"}) {
        ParsedReport back;
        ASSERT_TRUE(save(cell, back).Ok) << cell;
        EXPECT_FALSE(back.Damaged);
        ASSERT_EQ(back.Rows.size(), 3u);
        EXPECT_EQ(back.Rows[1][5], cell);
        EXPECT_EQ(back.Rows[2], PointRow("P3"));
    }
}

TEST(WithWindows1251Separators, OnlyWhatTheCodePageLacksIsReplaced)
{
    EXPECT_EQ(WithWindows1251Separators("1\u202F234\u2009567,5"), "1\u00A0234\u00A0567,5");
    EXPECT_EQ(WithWindows1251Separators("1\u066C234\u066B5"), "1\u00A0234,5");
    const std::string kept = "№ 1\u00A0234,5 \u2019Ёё \u0098 \u03B1 \u2212";
    EXPECT_EQ(WithWindows1251Separators(kept), kept);
    EXPECT_EQ(WithWindows1251Separators("\u202F"), "\u00A0");
    EXPECT_EQ(WithWindows1251Separators("a\xE2\x80"), "a\xE2\x80"); // a cut character stays
}

TEST(ReportFileFormatOf, LastThreeCharactersExactly)
{
    EXPECT_EQ(ReportFileFormatOf("/a/b.csv"), ReportFileFormat::Semicolon);
    EXPECT_EQ(ReportFileFormatOf("/a/b.okz"), ReportFileFormat::Okz);
    EXPECT_EQ(ReportFileFormatOf("/a/b.CSV"), std::nullopt);
    EXPECT_EQ(ReportFileFormatOf("/a/b.txt"), std::nullopt);
    EXPECT_EQ(ReportFileFormatOf("cs"), std::nullopt);
}

TEST(Windows1251, EveryByteComesBackUnchanged)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += char(byte);
    const std::string text = DecodeWindows1251(all);
    EXPECT_EQ(EncodeWindows1251(text), all);
    EXPECT_EQ(DecodeWindows1251("\x98"), "\u0098");
    EXPECT_EQ(DecodeWindows1251("\xA0\xB9\xA8\xB8\x88"), "\u00A0№Ёё€");
    EXPECT_EQ(EncodeWindows1251("Ток\u00A0КЗ №5"),
              "\xD2\xEE\xEA\xA0\xCA\xC7 \xB9"
              "5");
}

// The save's check that its bytes are the text, without decoding them into a copy.
TEST(Windows1251, DecodesToComparesWithTheDecodedText)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += char(byte);
    const std::string text = DecodeWindows1251(all);
    EXPECT_TRUE(DecodesTo(all, text));
    EXPECT_TRUE(DecodesTo("", ""));
    EXPECT_FALSE(DecodesTo(all, text + "a"));
    EXPECT_FALSE(DecodesTo(all, text.substr(0, text.size() - 1)));
    EXPECT_FALSE(DecodesTo("\xB9", "N"));
    EXPECT_FALSE(DecodesTo("a", ""));
}

TEST(Windows1251, RefusesWhatTheCodePageLacks)
{
    // Cut, stray and overlong sequences are not characters of any code page.
    EXPECT_EQ(EncodeWindows1251("a\xD0"), std::nullopt);
    EXPECT_EQ(EncodeWindows1251("\x80"), std::nullopt);
    EXPECT_EQ(EncodeWindows1251("\xC1\x81"), std::nullopt);
    EXPECT_EQ(EncodeWindows1251("\xE2\x84"), std::nullopt);
    EXPECT_EQ(EncodeWindows1251("α"), std::nullopt);
    EXPECT_EQ(EncodeWindows1251("a\xFF"), std::nullopt); // not UTF-8
    EXPECT_FALSE(IsWindows1251Text("\U0001F600"));
    EXPECT_TRUE(IsWindows1251Text(""));
}

} // namespace
} // namespace tormel
