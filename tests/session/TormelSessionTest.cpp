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
    session.StartBitBtnClick();
    const ResultWindowModel before = session.ResultWindow();

    session.Input().Lines[0].Length = "1,5";
    session.StartBitBtnClick();

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Неверная длина линии 1"});
    EXPECT_FALSE(session.Status().ResultMenuEnabled);
    EXPECT_FALSE(session.Status().AddReportMenuEnabled);
    EXPECT_EQ(session.Status().IokzLabel, "Не хватает данных для расчета!");
    EXPECT_EQ(session.ResultWindow().Labels(), before.Labels());
    EXPECT_NEAR(session.Result().Iokz, 217.44, 0.01);
}

TEST_F(TormelSessionTest, HooksRunAfterSuccessOnly)
{
    std::vector<std::string> steps;
    session.DeviceVerdict = [&] {
        // The verdict writes the device page before the rest of the window is filled.
        EXPECT_EQ(session.ResultWindow().RsumLabel, "Rф-н=___ мОм");
        session.ResultWindow().Device.TimeSR = "written";
        steps.push_back("verdict");
    };
    session.PointNameDialogChecked = [] { return true; };
    session.ShowPointNameDialog = [&] { steps.push_back("dialog"); };

    session.StartBitBtnClick();
    EXPECT_EQ(steps, (std::vector<std::string>{"verdict", "dialog"}));
    EXPECT_EQ(session.ResultWindow().Device.TimeSR, "written");

    session.PointNameDialogChecked = [] { return false; };
    session.Input().RArc = "-1";
    steps.clear();
    session.StartBitBtnClick();
    EXPECT_TRUE(steps.empty());
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

} // namespace
} // namespace tormel
