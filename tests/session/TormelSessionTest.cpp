#include "session/TormelSession.h"

#include "feed/FeedFile.h"
#include "report/ReportTexts.h"
#include "session/SessionFeed.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tormel {
namespace {

using testing::RecordingMessages;

const std::string Nbsp = "\u00A0";

class TormelSessionTest : public ::testing::Test
{
protected:
    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
};

TEST_F(TormelSessionTest, StartingCalculationFillsTheResultWindow)
{
    EXPECT_FALSE(session.Status().ResultMenuEnabled);
    session.Calculate();

    EXPECT_TRUE(messages.entries().empty());
    EXPECT_TRUE(session.Status().ResultMenuEnabled);
    EXPECT_TRUE(session.Status().AddReportMenuEnabled);
    EXPECT_EQ(session.Status().IokzLabel, "Ток однофазного короткого замыкания равен 217 А");

    const ResultWindowModel &window = session.ResultWindow();
    EXPECT_EQ(window.StLabel, "Sном=25 кВ*А");
    EXPECT_EQ(window.WindKindLabel, "Y/Y-0");
    EXPECT_EQ(window.RtLabel, "Rт=1957,2 мОм");
    EXPECT_EQ(window.XtLabel, "Xт=2417,24 мОм");
    EXPECT_EQ(window.ZtLabel, "Zт=3" + Nbsp + "110,25 мОм");
    for (int n = 0; n < LineCount; ++n) {
        EXPECT_EQ(window.RLineLabels[n], "0,00") << "line " << n + 1;
        EXPECT_EQ(window.ZLineLabels[n], "0,00") << "line " << n + 1;
    }
    EXPECT_EQ(window.XLineLabel, "0,00");
    EXPECT_EQ(window.RotherLabel, "Rпр=40 мОм");
    EXPECT_EQ(window.RsumLabel, "Rф-н=692,40 мОм");
    EXPECT_EQ(window.XsumLabel, "Xф-н=805,75 мОм");
    EXPECT_EQ(window.ZsumLabel, "Zф-н=1" + Nbsp + "062,38 мОм");
    EXPECT_EQ(window.IokzrezLabel, session.Status().IokzLabel);
}

TEST_F(TormelSessionTest, ResultWindowShowsTheTextsAsTypedAndGroupsLargeValues)
{
    session.Input().TransPower.Text = "25.0";
    TLineInput &row = session.Input().Lines[0];
    row.KindPerform = "Кабель с ПВХ изоляцией";
    session.ChangeLineKind(1);
    row.Stuff = "Медь";
    row.Ff = "25";
    row.Fn = "25";
    row.Length = "1000";
    session.Calculate();

    const ResultWindowModel &window = session.ResultWindow();
    EXPECT_EQ(window.StLabel, "Sном=25.0 кВ*А");
    EXPECT_EQ(window.RLineLabels[0], "1" + Nbsp + "480,00");
    EXPECT_EQ(window.XLineLabels[0], "182,00");
    EXPECT_EQ(window.ZLineLabels[0], "1" + Nbsp + "491,15");
    EXPECT_EQ(window.RLineLabel, "1" + Nbsp + "480,00");
    EXPECT_EQ(window.RsumLabel, "Rф-н=2" + Nbsp + "172,40 мОм");
    EXPECT_EQ(window.IokzrezLabel, "Ток однофазного короткого замыкания равен 97 А");
}

TEST_F(TormelSessionTest, FailedCalculationKeepsTheLastResultWindow)
{
    session.AskNumber().SetNumberPointNoMoreChecked(false);
    session.Calculate();
    const ResultWindowModel before = session.ResultWindow();
    const TCalcResult result = session.Result();
    session.Status().StatusDDColor = StatusColor::Red;

    session.Input().Lines[0].Length = "1,5";
    session.Calculate();

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Неверная длина линии 1"});
    EXPECT_FALSE(session.Status().ResultMenuEnabled);
    EXPECT_FALSE(session.Status().AddReportMenuEnabled);
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(session.Status().StatusDDLabel,
              "Выполните расчет тока однофазного короткого замыкания");
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Red);
    EXPECT_EQ(session.ResultWindow().Labels(), before.Labels());
    EXPECT_NEAR(session.Result().Iokz, 217.44, 0.01);
    EXPECT_EQ(session.Result().Rsum, result.Rsum);
    EXPECT_EQ(session.Result().Isr, result.Isr);
}

// The failure texts come after the driver's own message box, except for a power that is
// no number, whose box follows them; a lookup's box comes before them too.
TEST_F(TormelSessionTest, FailureTextsAndMessageBoxesInTheirOrder)
{
    std::vector<std::string> labelWhileShown;
    messages.onShow = [&](const RecordingMessages::Entry &) {
        labelWhileShown.push_back(session.Status().IokzLabel);
    };
    const std::string start = session.Status().IokzLabel;
    const std::string missing = "Не хватает данных для расчета!";

    session.Input().TransPower.Text = "";
    session.Calculate();
    session.Status() = MainStatus();
    session.Input().TransPower.Text = "25";
    session.Input().Lines[0].Length = "x";
    session.Calculate();
    session.Status() = MainStatus();
    session.Input().Lines[0].Length = "0";
    session.Input().TransPower.Text = "30";
    session.Calculate();

    EXPECT_EQ(
            messages.texts(),
            (std::vector<std::string>{"Неверная мощность трансформатора",
                                      "Неверная длина линии 1",
                                      "Трансформатор выбранной мощности не заложен в программу"}));
    EXPECT_EQ(labelWhileShown, (std::vector<std::string>{missing, start, start}));
    EXPECT_EQ(session.Status().IokzLabel, missing);
}

TEST_F(TormelSessionTest, AcceptedDeviceIsJudgedAgainAfterEveryCalculation)
{
    session.AskNumber().SetNumberPointNoMoreChecked(false);
    // A refused device leaves the window open and the status line as it was.
    session.DeviceForm().KZAV.Text = "0.9";
    EXPECT_FALSE(session.AcceptDevice().Done);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{
                      "Неверная величина коэффициента запаса автоматического выключателя"});
    session.Status().StatusDDColor = StatusColor::Red;
    session.Status().StatusDDLabel = "до";
    session.DeviceForm().KZAV.Text = "1.1";
    session.ResetDevice(); // a reset changes the text but keeps the colour
    EXPECT_EQ(session.Status().StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Red);

    // The starting breaker: 16 A, release multiple 10, safety factor 1.1 gives 176 A.
    EXPECT_TRUE(session.AcceptDevice().Done);
    EXPECT_EQ(session.ResultWindow().Device.TokSR, "Iср=176 А");

    session.Calculate(); // 217 A against 176 A: trips
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Black);
    EXPECT_NE(session.Status().StatusDDLabel.find("срабатывает"), std::string::npos);
    EXPECT_EQ(session.Status().StatusDDLabel.find("не срабатывает"), std::string::npos);
    EXPECT_EQ(session.Result().Isr, 176);

    session.Input().Lines[0].Ff = "25";
    session.Input().Lines[0].Fn = "25";
    session.Input().Lines[0].Length = "300";
    session.Calculate(); // a long cable brings the current below 176 A
    EXPECT_LT(session.Result().Iokz, 176);
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Red);
    EXPECT_NE(session.Status().StatusDDLabel.find("не срабатывает"), std::string::npos);
    EXPECT_EQ(session.Result().TimeSR, session.ResultWindow().Device.TimeSR);

    EXPECT_TRUE(session.ResetDevice().Done);
    EXPECT_EQ(session.ResultWindow().Device.TokSR, "---");
    EXPECT_EQ(session.Result().Isr, -1);
}

TEST_F(TormelSessionTest, PointNameDialogFollowsItsCheckBox)
{
    session.Status().setMissingData(); // the verdict must overwrite it before the dialog
    ASSERT_TRUE(session.Calculate().AskPointName);
    // The dialog sees the finished calculation: the result line, the verdict, the result
    // window and the menus.
    EXPECT_EQ(session.Status().IokzLabel, "Ток однофазного короткого замыкания равен 217 А");
    EXPECT_EQ(session.Status().StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(session.ResultWindow().RsumLabel, "Rф-н=692,40 мОм");
    EXPECT_TRUE(session.Status().AddReportMenuEnabled);
    EXPECT_TRUE(session.Status().ResultMenuEnabled);
    EXPECT_TRUE(session.AddPointNamed("К-1").Done);
    EXPECT_EQ(session.Report().Cell(0, 0), "К-1");
    EXPECT_EQ(session.Report().Cell(6, 0), "692,40");
    EXPECT_EQ(session.Report().Cell(10, 0), "---");

    session.AskNumber().SetNumberPointNoMoreChecked(false);
    EXPECT_FALSE(session.Calculate().AskPointName);
    session.Input().RArc = "-1";
    session.AskNumber().SetNumberPointNoMoreChecked(true);
    EXPECT_FALSE(session.Calculate().AskPointName); // refused: no dialog
    EXPECT_EQ(session.Report().RowsInUseCount(), 1);
}

TEST_F(TormelSessionTest, ListChangesGoThroughTheSessionState)
{
    session.Input().WindKind.Text = "1/1-0";
    session.ChangeWindKind();
    EXPECT_EQ(session.Input().TransPower.Text, "10");

    session.Input().Lines[4].KindPerform = "Шинопровод LV70";
    session.ChangeLineKind(5);
    EXPECT_EQ(session.Input().Lines[4].Stuff, "BD01, 40A");

    session.Input().WindKind.Text = "1/1";
    session.ChangeWindKind();
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Неизвестная схема обмоток трансформатора"});
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(&session.Messages(), &messages);
}

TEST_F(TormelSessionTest, UnknownKindLeavesTheFailureTextsButNotTheMenus)
{
    session.AskNumber().SetNumberPointNoMoreChecked(false);
    session.Calculate();
    session.Input().Lines[0].KindPerform = "кабель с ПВХ изоляцией";
    session.ChangeLineKind(1);

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Неизвестный тип линии"});
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(session.Status().StatusDDLabel,
              "Выполните расчет тока однофазного короткого замыкания");
    EXPECT_TRUE(session.Status().ResultMenuEnabled);
    EXPECT_TRUE(session.Status().AddReportMenuEnabled);
}

TEST_F(TormelSessionTest, RefusedPowerIsToldAfterTheFailureTextsEveryOtherRefusalBefore)
{
    // What the main window shows while each box is up.
    std::vector<std::string> shownBehindTheBox;
    messages.onShow = [&](const RecordingMessages::Entry &) {
        shownBehindTheBox.push_back(session.Status().IokzLabel);
    };

    session.Input().TransPower.Text = "x";
    CalculationOutcome outcome = session.Calculate();
    EXPECT_FALSE(outcome.Done);
    EXPECT_FALSE(outcome.AskPointName);
    EXPECT_EQ(outcome.Messages, std::vector<std::string>{"Неверная мощность трансформатора"});
    EXPECT_EQ(shownBehindTheBox, std::vector<std::string>{"Не хватает данных для расчета!"});

    session.ResetToStart();
    shownBehindTheBox.clear();
    session.Input().RArc = "-1";
    outcome = session.Calculate();
    EXPECT_FALSE(outcome.Done);
    ASSERT_EQ(outcome.Messages.size(), 1u);
    EXPECT_EQ(messages.texts().back(), outcome.Messages.front());
    EXPECT_EQ(shownBehindTheBox, std::vector<std::string>{"Введите исходные данные для расчета"});
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
}

TEST_F(TormelSessionTest, ResetToStartLeavesOnlyTheReport)
{
    session.Input().WindKind.Text = "T/Y-0";
    session.ChangeWindKind();
    session.Input().Lines[0].KindPerform = "Воздушная";
    session.ChangeLineKind(1);
    session.Input().Lines[0].Length = "100";
    ASSERT_TRUE(session.AcceptDevice().Done);
    ASSERT_TRUE(session.Calculate().Done);
    ASSERT_TRUE(session.AddPointNamed("К-1").Done);
    session.AskNumber().SetNumberPointNoMoreChecked(false);

    session.ResetToStart();

    RecordingMessages freshMessages;
    const TormelSession fresh(freshMessages, NumberSeparators::russian());
    EXPECT_EQ(WriteFeedDocument(FeedFromSession(session)),
              WriteFeedDocument(FeedFromSession(fresh)));
    EXPECT_EQ(session.Status().IokzLabel, fresh.Status().IokzLabel);
    EXPECT_EQ(session.Status().StatusDDLabel, fresh.Status().StatusDDLabel);
    EXPECT_EQ(session.Status().StatusDDColor, fresh.Status().StatusDDColor);
    EXPECT_FALSE(session.Status().ResultMenuEnabled);
    EXPECT_FALSE(session.Status().AddReportMenuEnabled);
    EXPECT_EQ(session.ResultWindow().Labels(), fresh.ResultWindow().Labels());
    EXPECT_EQ(session.Result().Iokz, fresh.Result().Iokz);
    EXPECT_EQ(session.Result().Isr, fresh.Result().Isr);
    EXPECT_EQ(session.Device().DeviceKind, ProtectionKind::None);
    EXPECT_FALSE(session.AcceptedDeviceForm());
    EXPECT_FALSE(session.Analysis());
    EXPECT_FALSE(session.CalculatedInput());
    EXPECT_TRUE(session.AskNumber().NumberPointNoMoreChecked());
    EXPECT_EQ(session.AskNumber().NumberEditText(), "");
    EXPECT_EQ(session.Report().Cell(0, 0), "К-1");
}

// A window showing the report repaints on reportChanged, so the signal must come after the
// command's message boxes (a question answered No changes nothing) and for every command.
TEST_F(TormelSessionTest, ReportChangesAreAnnouncedAfterTheirMessages)
{
    // Each announcement notes the first two points as the report holds them then.
    std::vector<std::string> log;
    QObject::connect(&session, &TormelSession::reportChanged, &session, [&] {
        log.push_back(session.Report().Cell(0, 0) + "," + session.Report().Cell(0, 1));
    });
    messages.onShow = [&](const RecordingMessages::Entry &entry) { log.push_back(entry.text); };
    ASSERT_TRUE(session.Calculate().Done);
    ASSERT_TRUE(session.AddPointNamed("К-1").Done);
    ASSERT_TRUE(session.AddPointNamed("К-2").Done);
    EXPECT_EQ(log, (std::vector<std::string>{"К-1,", "К-1,К-2"}));

    log.clear();
    messages.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    EXPECT_FALSE(session.AddPointNamed("К-1").Done);
    EXPECT_TRUE(session.AddPointNamed("К-1").Done);
    const std::string question(ask_number_texts::ReplaceQuestion);
    EXPECT_EQ(log, (std::vector<std::string>{question, question, "К-1,К-2"}));

    log.clear();
    session.Report().ReportStringGridMouseUp(-1, -1);
    EXPECT_FALSE(session.DeleteReportRow().Done);
    session.Report().ReportStringGridMouseUp(0, 1);
    session.MoveReportRowUp();
    session.MoveReportRowDown();
    session.ClearReport();
    EXPECT_EQ(log,
              (std::vector<std::string>{std::string(report_texts::NoRowToDelete),
                                        "К-1,К-2",
                                        "К-2,К-1",
                                        "К-1,К-2",
                                        ","}));
}

} // namespace
} // namespace tormel
