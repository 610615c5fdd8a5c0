#include "session/TormelSession.h"

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
    session.StartBitBtnClick();

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
    LineRowState &row = session.Input().Lines[0];
    row.KindPerform.Text = "Кабель с ПВХ изоляцией";
    session.KindPerformLineComboBoxChange(1);
    row.Stuff.Text = "Медь";
    row.Ff.Text = "25";
    row.Fn.Text = "25";
    row.Length = "1000";
    session.StartBitBtnClick();

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
    session.StartBitBtnClick();
    const ResultWindowModel before = session.ResultWindow();
    const TCalcResult result = session.Result();
    session.Status().StatusDDColor = StatusColor::Red;

    session.Input().Lines[0].Length = "1,5";
    session.StartBitBtnClick();

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
    session.StartBitBtnClick();
    session.Status() = MainStatus();
    session.Input().TransPower.Text = "25";
    session.Input().Lines[0].Length = "x";
    session.StartBitBtnClick();
    session.Status() = MainStatus();
    session.Input().Lines[0].Length = "0";
    session.Input().TransPower.Text = "30";
    session.StartBitBtnClick();

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
    EXPECT_EQ(session.OKDDBitBtnClick(), DDFormOutcome::StayOpen);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{
                      "Неверная величина коэффициента запаса автоматического выключателя"});
    session.Status().StatusDDColor = StatusColor::Red;
    session.Status().StatusDDLabel = "до";
    session.DeviceForm().KZAV.Text = "1.1";
    session.BitBtn3Click(); // a reset changes the text but keeps the colour
    EXPECT_EQ(session.Status().StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Red);

    // The starting breaker: 16 A, release multiple 10, safety factor 1.1 gives 176 A.
    EXPECT_EQ(session.OKDDBitBtnClick(), DDFormOutcome::Close);
    EXPECT_EQ(session.ResultWindow().Device.TokSR, "Iср=176 А");

    session.StartBitBtnClick(); // 217 A against 176 A: trips
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Black);
    EXPECT_NE(session.Status().StatusDDLabel.find("срабатывает"), std::string::npos);
    EXPECT_EQ(session.Status().StatusDDLabel.find("не срабатывает"), std::string::npos);
    EXPECT_EQ(session.Result().Isr, 176);

    session.Input().Lines[0].Ff.Text = "25";
    session.Input().Lines[0].Fn.Text = "25";
    session.Input().Lines[0].Length = "300";
    session.StartBitBtnClick(); // a long cable brings the current below 176 A
    EXPECT_LT(session.Result().Iokz, 176);
    EXPECT_EQ(session.Status().StatusDDColor, StatusColor::Red);
    EXPECT_NE(session.Status().StatusDDLabel.find("не срабатывает"), std::string::npos);
    EXPECT_EQ(session.Result().TimeSR, session.ResultWindow().Device.TimeSR);

    EXPECT_EQ(session.BitBtn3Click(), DDFormOutcome::Close);
    EXPECT_EQ(session.ResultWindow().Device.TokSR, "---");
    EXPECT_EQ(session.Result().Isr, -1);
}

TEST_F(TormelSessionTest, PointNameDialogFollowsItsCheckBox)
{
    int shown = 0;
    session.ShowPointNameDialog = [&] {
        ++shown;
        // The dialog sees the finished calculation: the result line, the verdict, the
        // result window and the menus.
        EXPECT_EQ(session.Status().IokzLabel, "Ток однофазного короткого замыкания равен 217 А");
        EXPECT_EQ(session.Status().StatusDDLabel, "В расчете не определен");
        EXPECT_EQ(session.ResultWindow().RsumLabel, "Rф-н=692,40 мОм");
        EXPECT_TRUE(session.Status().AddReportMenuEnabled);
        EXPECT_TRUE(session.Status().ResultMenuEnabled);
        session.AskNumber().SetNumberEditText("К-1");
        EXPECT_TRUE(session.OKButtonClick());
    };

    session.Status().setMissingData(); // the verdict must overwrite it before the dialog
    session.StartBitBtnClick();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(session.Report().Cell(0, 0), "К-1");
    EXPECT_EQ(session.Report().Cell(6, 0), "692,40");
    EXPECT_EQ(session.Report().Cell(10, 0), "---");

    session.AskNumber().SetNumberPointNoMoreChecked(false);
    session.StartBitBtnClick();
    session.Input().RArc = "-1";
    session.AskNumber().SetNumberPointNoMoreChecked(true);
    session.StartBitBtnClick(); // refused: no dialog
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(session.Report().RowsInUseCount(), 1);
}

TEST_F(TormelSessionTest, ListChangesGoThroughTheSessionState)
{
    session.Input().WindKind.Text = "1/1-0";
    session.WindKindComboBoxChange();
    EXPECT_EQ(session.Input().TransPower.Text, "10");

    session.Input().Lines[4].KindPerform.Text = "Шинопровод LV70";
    session.KindPerformLineComboBoxChange(5);
    EXPECT_EQ(session.Input().Lines[4].Stuff.Text, "BD01, 40A");

    session.Input().WindKind.Text = "1/1";
    session.WindKindComboBoxChange();
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Неизвестная схема обмоток трансформатора"});
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(&session.Messages(), &messages);
}

TEST_F(TormelSessionTest, UnknownKindLeavesTheFailureTextsButNotTheMenus)
{
    session.AskNumber().SetNumberPointNoMoreChecked(false);
    session.StartBitBtnClick();
    session.Input().Lines[0].KindPerform.Text = "кабель с ПВХ изоляцией";
    session.KindPerformLineComboBoxChange(1);

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Неизвестный тип линии"});
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(session.Status().StatusDDLabel,
              "Выполните расчет тока однофазного короткого замыкания");
    EXPECT_TRUE(session.Status().ResultMenuEnabled);
    EXPECT_TRUE(session.Status().AddReportMenuEnabled);
}

} // namespace
} // namespace tormel
