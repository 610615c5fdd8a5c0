#include "session/AnalysisPageModel.h"

#include "core/NumberFormat.h"
#include "session/TormelSession.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tormel {
namespace {

using testing::RecordingMessages;

const std::string Nbsp = "\u00A0";

class AnalysisPageTest : public ::testing::Test
{
protected:
    // Section 1: 100 m of PVC copper cable 25 mm², 1.48 + j0.182 mOhm per metre.
    void addCable()
    {
        TLineInput &row = session.Input().Lines[0];
        row.KindPerform = "Кабель с ПВХ изоляцией";
        session.ChangeLineKind(1);
        row.Stuff = "Медь";
        row.Ff = "25";
        row.Fn = "25";
        row.Length = "100";
    }
    const AnalysisPageModel &page() const { return session.ResultWindow().Analysis; }

    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
};

TEST_F(AnalysisPageTest, BreakerOnOneCable)
{
    addCable();
    ASSERT_TRUE(session.AcceptDevice().Done); // 16 A, "10 ("C")", 1.1: 176 A
    EXPECT_FALSE(session.Analysis());
    EXPECT_EQ(page().MarginLabel, "---"); // nothing calculated yet

    session.Calculate();
    ASSERT_TRUE(session.Analysis());
    EXPECT_EQ(page().MarginLabel, "Iокз/Iср=1,12"); // 196.27 / 176
    EXPECT_EQ(page().LoopLimitLabel, "Zф-н≤1" + Nbsp + "312,50 мОм");
    EXPECT_EQ(page().LargestDeviceLabel, "Iном=16 А");
    EXPECT_EQ(page().LengthLabels[0], "100,00");
    EXPECT_EQ(page().MaxLengthLabels[0], "211,21");
    for (int n = 1; n < LineCount; ++n) {
        EXPECT_EQ(page().LengthLabels[n], "---") << "line " << n + 1;
        EXPECT_EQ(page().MaxLengthLabels[n], "---") << "line " << n + 1;
    }

    const FeedCurrentChart &current = page().Current;
    ASSERT_EQ(current.Points.size(), 7u);
    EXPECT_EQ(current.Points[0].first, 0);
    EXPECT_EQ(current.Points[1].first, 100);
    EXPECT_EQ(current.Points[6].first, 100);
    EXPECT_EQ(current.Points[6].second, session.Result().Iokz);
    EXPECT_EQ(current.TripCurrent, 176);
    EXPECT_EQ(current.TripText, "Iср=176 А");
    EXPECT_GE(current.CurrentMax, current.Points[0].second);
    EXPECT_EQ(current.DistanceMax, 100);
}

TEST_F(AnalysisPageTest, LoopSharesAddUpToTheWholeLoop)
{
    addCable();
    session.Calculate();
    const TCalcResult &result = session.Result();
    const LoopShareChart &loop = page().Loop;

    ASSERT_EQ(loop.Bars.size(), 3u);
    EXPECT_EQ(loop.Bars[0].Name, "Zт/3");
    EXPECT_EQ(loop.Bars[1].Name, "Линия 1");
    EXPECT_EQ(loop.Bars[2].Name, "Rпр");
    double total = 0;
    for (const LoopShareBar &bar : loop.Bars)
        total += bar.RShare + bar.XShare;
    EXPECT_NEAR(total, 1, 1e-12);
    const double z2 = result.Zsum * result.Zsum;
    EXPECT_DOUBLE_EQ(loop.Bars[2].RShare, 40 * result.Rsum / z2);
    EXPECT_EQ(loop.Bars[2].XShare, 0);
    EXPECT_DOUBLE_EQ(loop.Bars[1].XShare, 18.2 * result.Xsum / z2);
    EXPECT_EQ(loop.Bars[2].ShareText,
              FormatNumber(4000 * result.Rsum / z2, 1, NumberSeparators::russian()) + " %");
    EXPECT_GE(loop.ShareMax, loop.Bars[0].RShare + loop.Bars[0].XShare);
}

TEST_F(AnalysisPageTest, FollowsTheDeviceAndKeepsTheLastSuccessfulCalculation)
{
    session.Calculate();
    EXPECT_EQ(page().MarginLabel, "---"); // no device
    EXPECT_FALSE(page().Current.TripCurrent);

    // A device chosen after the calculation is judged against it at once.
    ASSERT_TRUE(session.AcceptDevice().Done);
    EXPECT_EQ(page().MarginLabel, "Iокз/Iср=1,24"); // 217.44 / 176

    // A failed calculation leaves the page as it was.
    session.Input().RArc = "-1";
    session.Calculate();
    EXPECT_EQ(page().MarginLabel, "Iокз/Iср=1,24");

    session.ResetDevice();
    EXPECT_EQ(page().MarginLabel, "---");
    EXPECT_EQ(page().LoopLimitLabel, "---");
    EXPECT_EQ(page().LargestDeviceLabel, "---");
    EXPECT_FALSE(page().Current.TripCurrent);
}

TEST_F(AnalysisPageTest, DeviceThatDoesNotTrip)
{
    addCable();
    session.DeviceForm().TokAVnom.Text = "63"; // 693 A against 196 A
    ASSERT_TRUE(session.AcceptDevice().Done);
    session.Calculate();

    EXPECT_EQ(page().MarginLabel, "Iокз/Iср=0,28");
    EXPECT_EQ(page().MaxLengthLabels[0], "0,00");
    EXPECT_EQ(page().LargestDeviceLabel, "Iном=16 А");
    EXPECT_GE(page().Current.CurrentMax, 693); // the trip line at its own height

    // Far above the currents the line would flatten the curve: the axis stops short of it.
    session.DeviceForm().TokAVnom.Text = "1600";
    ASSERT_TRUE(session.AcceptDevice().Done);
    EXPECT_EQ(page().MarginLabel, "Iокз/Iср=0,01");
    EXPECT_LT(page().Current.CurrentMax, 17600);
    EXPECT_GE(page().Current.CurrentMax, page().Current.Points[0].second);
}

TEST_F(AnalysisPageTest, LabelsAreNamedOnceEach)
{
    const auto labels = page().Labels();
    ASSERT_EQ(labels.size(), 3u + 2u * LineCount);
    EXPECT_EQ(labels[0].first, "MarginLabel");
    EXPECT_EQ(labels[3].first, "LengthLine1Label");
    EXPECT_EQ(labels.back().first, "MaxLengthLine6Label");
}

struct TickCase
{
    double Max;
    int Count;
    std::vector<std::string> Texts;
};

TEST(NiceTicksTest, RoundStepsFromZeroToTheTop)
{
    const std::vector<TickCase> cases = {
            {211.2, 5, {"0", "50", "100", "150", "200", "250"}},
            {1312.5, 4, {"0", "500", "1" + Nbsp + "000", "1" + Nbsp + "500"}},
            {0.3, 4, {"0,0", "0,1", "0,2", "0,3"}},
            {100, 5, {"0", "20", "40", "60", "80", "100"}},
            {0, 4, {"0,0", "0,5", "1,0"}}, // nothing to show still gives an axis
    };
    for (const TickCase &c : cases) {
        std::vector<std::string> texts;
        for (const ChartTick &tick : NiceTicks(c.Max, c.Count, NumberSeparators::russian()))
            texts.push_back(tick.Text);
        EXPECT_EQ(texts, c.Texts) << c.Max;
    }
}

} // namespace
} // namespace tormel
