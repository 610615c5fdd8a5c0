#include "report/AskNumberModel.h"

#include "calc/CalcTypes.h"
#include "session/TormelSession.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using testing::PointRow;
using testing::RecordingMessages;
using testing::TableWithPoints;

const std::string LongNameMessage(ask_number_texts::EmptyNameMessage);
const std::string LengthMessage(ask_number_texts::NameTooLongMessage);
const std::string ReplaceQuestion(ask_number_texts::ReplaceQuestion);

TCalcResult SampleResult()
{
    TCalcResult result;
    result.Rt = 1957.2;
    result.Xt = 2417.24;
    result.RLineSum = 1234.5;
    result.XLineSum = 0;
    result.Rother = 40.5;
    result.Rsum = 12.5;
    result.Xsum = 3;
    result.Zsum = 1004.444;
    result.Iokz = 533.5;
    result.Isr = 157.5;
    result.TimeSR = "Тср < 0,4 с";
    return result;
}

// The point-name dialog's "Да" as the session runs it.
struct Dialog
{
    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
    AskNumberModel &model = session.AskNumber();
    ReportTable &table = session.Report();

    bool ok(const std::string &name, const TCalcResult &result = SampleResult())
    {
        session.Result() = result;
        return session.AddPointNamed(name).Done;
    }
};

TEST(AskNumberModel, StartsWithAnEmptyNameAndTheBoxTicked)
{
    const AskNumberModel model;
    EXPECT_EQ(model.NumberEditText(), "");
    EXPECT_TRUE(model.NumberPointNoMoreChecked());
}

TEST(MakeReportRow, WritesTheValuesWithTheUsersSeparators)
{
    const ReportRow row = MakeReportRow("К-1", SampleResult(), NumberSeparators::russian());
    const ReportRow expected = {"К-1",
                                "652,40",
                                "805,75",
                                "1\u00A0234,50",
                                "0,00",
                                "41",
                                "12,50",
                                "3,00",
                                "1\u00A0004,44",
                                "534",
                                "157,5",
                                "Тср < 0,4 с"};
    EXPECT_EQ(row, expected);

    const ReportRow english = MakeReportRow("K", SampleResult(), NumberSeparators::english());
    EXPECT_EQ(english[3], "1,234.50");
    EXPECT_EQ(english[10], "157.5");
}

TEST(MakeReportRow, RoundsTheCurrentHalfToEven)
{
    TCalcResult result = SampleResult();
    for (const auto &[iokz, text] : {std::pair{532.5, "532"},
                                     std::pair{533.5, "534"},
                                     std::pair{217.49, "217"},
                                     std::pair{12345.6, "12346"}}) {
        result.Iokz = iokz;
        EXPECT_EQ(MakeReportRow("x", result, NumberSeparators::russian())[9], text) << iokz;
    }
}

TEST(MakeReportRow, NoDeviceGivesDashes)
{
    TCalcResult result = SampleResult();
    result.Rother = 40;
    for (const double isr : {0.0, -1.0}) {
        result.Isr = isr;
        result.TimeSR = "---";
        const ReportRow row = MakeReportRow("x", result, NumberSeparators::russian());
        EXPECT_EQ(row[5], "40");
        EXPECT_EQ(row[10], "---");
        EXPECT_EQ(row[11], "---");
    }
}

TEST(CheckPointName, LengthAndFirstCharacter)
{
    struct Case
    {
        std::string name;
        std::optional<std::string> message;
    };
    const Case cases[] = {
            {"К-1", std::nullopt},
            {"ABCD", std::nullopt},
            {"12345678", std::nullopt},
            {"АБВГДЕЖЗ", std::nullopt}, // eight Cyrillic letters are eight characters
            {"К 1  2  ", std::nullopt}, // blanks after the first character are allowed
            {"№\u00A0Ё-1", std::nullopt},
            {"123456789", LengthMessage},
            {"АБВГДЕЖЗИ", LengthMessage},
            {"", LongNameMessage},
            {" К-1", LongNameMessage},
            {" ", LongNameMessage},
    };
    for (const Case &c : cases) {
        const std::optional<std::string_view> message = CheckPointName(c.name);
        EXPECT_EQ(message ? std::optional<std::string>(std::string(*message)) : std::nullopt,
                  c.message)
                << c.name;
    }
}

TEST(CheckPointName, RefusesWhatTheReportFileCannotHold)
{
    const std::string semicolon(ask_number_texts::SemicolonInNameMessage);
    const std::string unstorable(ask_number_texts::UnstorableNameMessage);
    for (const auto &[name, message] : {std::pair{"К;1", semicolon},
                                        std::pair{";", semicolon},
                                        std::pair{"α-1", unstorable},
                                        std::pair{"К\u2192 1", unstorable},
                                        std::pair{"К-1\n2", unstorable},
                                        std::pair{"К\r", unstorable},
                                        std::pair{"К\t1", unstorable},
                                        std::pair{"К\x7F", unstorable},
                                        // C1 controls, of which the code page even
                                        // has U+0098, and the Unicode line ends
                                        std::pair{"К\u0098", unstorable},
                                        std::pair{"\u0080К", unstorable},
                                        std::pair{"К\u0085", unstorable},
                                        std::pair{"К\u009F1", unstorable},
                                        std::pair{"К\u20281", unstorable},
                                        std::pair{"К\u2029", unstorable},
                                        std::pair{"K\xFF", unstorable}}) {
        const std::optional<std::string_view> refusal = CheckPointName(name);
        ASSERT_TRUE(refusal) << name;
        EXPECT_EQ(std::string(*refusal), message) << name;
    }
}

TEST(AskNumberModel, FirstPointGoesToRowZero)
{
    Dialog dialog;
    EXPECT_TRUE(dialog.ok("К-1"));
    EXPECT_TRUE(dialog.messages.entries().empty());
    EXPECT_EQ(dialog.table.RowCount(), 14);
    EXPECT_EQ(dialog.table.Row(0),
              MakeReportRow("К-1", SampleResult(), NumberSeparators::russian()));
    EXPECT_EQ(dialog.table.RowsInUseCount(), 1);
    // The name is offered again next time.
    EXPECT_EQ(dialog.model.NumberEditText(), "К-1");
}

TEST(AskNumberModel, FifteenthPointGrowsTheTable)
{
    Dialog dialog;
    dialog.table = TableWithPoints(14);
    EXPECT_TRUE(dialog.ok("К-15"));
    EXPECT_EQ(dialog.table.RowCount(), 15);
    EXPECT_EQ(dialog.table.Cell(0, 14), "К-15");
    EXPECT_EQ(dialog.table.Row(13), PointRow("P14"));
}

TEST(AskNumberModel, NewPointFollowsTheLastNamedRow)
{
    // A file may leave a nameless row between points.
    Dialog dialog;
    dialog.table = TableWithPoints(4);
    dialog.table.SetRow(1, ReportRow());
    EXPECT_TRUE(dialog.ok("К-9"));
    EXPECT_EQ(dialog.table.Cell(0, 4), "К-9");
    EXPECT_EQ(dialog.table.Cell(0, 1), "");
}

TEST(AskNumberModel, RefusedNameKeepsTheDialogOpenAndTheReport)
{
    for (const std::string name : {"", " К", "123456789", "К;1"}) {
        Dialog dialog;
        dialog.table = TableWithPoints(2);
        EXPECT_FALSE(dialog.ok(name)) << name;
        ASSERT_EQ(dialog.messages.entries().size(), 1u) << name;
        EXPECT_EQ(dialog.messages.entries()[0].kind, RecordingMessages::Kind::Message);
        EXPECT_EQ(dialog.table.RowsInUseCount(), 2);
        EXPECT_EQ(dialog.model.NumberEditText(), name);
    }
}

TEST(AskNumberModel, EqualNameIsReplacedInPlaceAfterOk)
{
    Dialog dialog;
    dialog.table = TableWithPoints(3);
    dialog.messages.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(dialog.ok("P2"));
    ASSERT_EQ(dialog.messages.entries().size(), 1u);
    EXPECT_EQ(dialog.messages.entries()[0].kind, RecordingMessages::Kind::Warning);
    EXPECT_EQ(dialog.messages.entries()[0].text, ReplaceQuestion);
    EXPECT_EQ(dialog.table.Row(1),
              MakeReportRow("P2", SampleResult(), NumberSeparators::russian()));
    EXPECT_EQ(dialog.table.RowsInUseCount(), 3);
    EXPECT_EQ(dialog.table.Row(2), PointRow("P3"));
}

TEST(AskNumberModel, DecliningTheReplacementChangesNothing)
{
    Dialog dialog;
    dialog.table = TableWithPoints(3);
    dialog.messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(dialog.ok("P2"));
    EXPECT_EQ(dialog.messages.entries().size(), 1u);
    EXPECT_EQ(dialog.table.Row(1), PointRow("P2"));
    EXPECT_EQ(dialog.table.RowsInUseCount(), 3);
}

TEST(AskNumberModel, NamesDifferingInCaseOrTrailingBlankAreNewPoints)
{
    Dialog dialog;
    EXPECT_TRUE(dialog.ok("к-1"));
    EXPECT_TRUE(dialog.ok("К-1"));
    EXPECT_TRUE(dialog.ok("К-1 "));
    EXPECT_TRUE(dialog.messages.entries().empty());
    EXPECT_EQ(dialog.table.RowsInUseCount(), 3);
}

TEST(AskNumberModel, LongNameFromAFileCanStillBeReplaced)
{
    Dialog dialog;
    dialog.table = TableWithPoints(2);
    dialog.table.SetCell(0, 1, "123456789");
    dialog.messages.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(dialog.ok("123456789"));
    ASSERT_EQ(dialog.messages.entries().size(), 1u);
    EXPECT_EQ(dialog.messages.entries()[0].text, ReplaceQuestion);
    EXPECT_EQ(dialog.table.Cell(1, 1), "652,40");
}

} // namespace
} // namespace tormel
