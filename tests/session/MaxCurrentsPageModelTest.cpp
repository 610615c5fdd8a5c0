#include "session/MaxCurrentsPageModel.h"

#include "calc/CalcDriver.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"
#include "session/MainInputModel.h"

#include <gtest/gtest.h>

#include <string>

namespace tormel {
namespace {

const std::string Nbsp = "\u00A0";

// 400 kV*A "T/Y-0"; section 1: 5 m of PVC copper cable 4 + 4 mm^2; section 3: busbars.
class MaxCurrentsPageTest : public ::testing::Test
{
protected:
    MaxCurrentsPageTest()
    {
        input.WindKind = "T/Y-0";
        input.TransPower = "400";
        TLineInput &cable = input.Lines[0];
        cable.KindPerform = "Кабель с ПВХ изоляцией";
        cable.Stuff = "Медь";
        cable.Ff = "4";
        cable.Fn = "4";
        cable.Length = "5";
        TLineInput &bus = input.Lines[2];
        bus.KindPerform = "Шинопровод Canalis";
        bus.Stuff = "KS, 400A";
        bus.Length = "10";
    }

    void fill(const TMaxCurrentInput &texts)
    {
        CalcOutcome outcome = CalculateShortCircuit(input);
        ASSERT_TRUE(outcome.Result);
        TCalcResult result = *outcome.Result;
        AlertDeviceDefence(device, result);
        analysis = AnalyseFeed(result, device);
        const TMaxCurrentReading reading = ReadMaxCurrentInput(texts, "T/Y-0", 400);
        ASSERT_TRUE(reading.Settings);
        currents = ComputeMaxCurrents(result, analysis, device, *reading.Settings);
        page.Fill(analysis, currents, NumberSeparators::russian());
    }
    void acceptBreaker()
    {
        TDeviceDefenceInput breaker;
        breaker.TokAVnom = "16";
        breaker.TokNR = "10 (\"C\")";
        breaker.KZAV = "1.1";
        TCalcResult scratch;
        ASSERT_TRUE(
                ComputeDeviceDefence(breaker, device, scratch, NumberSeparators::russian()).Line);
    }

    TCalcInput input = MainInputModel().ToCalcInput();
    TDeviceDefenceState device;
    TFeedAnalysis analysis;
    TMaxCurrents currents;
    MaxCurrentsPageModel page;
};

TEST_F(MaxCurrentsPageTest, PlaceholdersNameEveryRow)
{
    EXPECT_EQ(page.Points[0].Point, "Начало линии");
    EXPECT_EQ(page.Points[6].Point, "Конец линии 6");
    EXPECT_EQ(page.Points[3].Ik3, "---");
    EXPECT_EQ(page.Thermal[5].Section, "Линия 6");
    EXPECT_EQ(page.Thermal[0].K, "---");
    EXPECT_EQ(page.BreakingLabel, "---");
    // Every text has a control of its own.
    EXPECT_EQ(page.Labels().size(), 2u + 7 * 4 + 6 * 5);
}

TEST_F(MaxCurrentsPageTest, CurrentsWithTheUsersSeparators)
{
    fill({});
    EXPECT_EQ(page.TransformerLabel, "Z1т=5,900+j17,007 мОм");
    // 231000 / |5.9 + j17.007| = 12 832.6 A.
    EXPECT_EQ(page.Points[0].Ik3, "12" + Nbsp + "833");
    EXPECT_EQ(page.Points[0].Ik1, "12" + Nbsp + "833");
    EXPECT_EQ(page.Points[0].Ip, FormatNumber(currents.Ip[0], 0, NumberSeparators::russian()));
    EXPECT_EQ(page.Points[1].Iokz,
              FormatNumber(analysis.PointCurrents[1], 0, NumberSeparators::russian()));
    EXPECT_NE(page.Points[1].Ik3, page.Points[0].Ik3);

    EXPECT_EQ(page.BreakingLabel, "не проверена: аппарат защиты не задан");
    EXPECT_FALSE(page.BreakingRed);
    // Without a device: k, the I^2t capacity and the time at the largest current only.
    // k of PVC copper is 115.0; 4 mm^2 gives (115.0 x 4)^2 = 0.21 kA^2*s.
    const MaxCurrentThermalRow &cable = page.Thermal[0];
    EXPECT_EQ(cable.K, "115,0");
    EXPECT_EQ(cable.Smin, "---");
    EXPECT_EQ(cable.Verdict, "---");
    EXPECT_EQ(cable.Capacity, "0,21");
    EXPECT_EQ(cable.TimeAtMax,
              FormatNumber(currents.Thermal[0]->TimeAtMax, 3, NumberSeparators::russian()));
    // No length, and busbars: no entry.
    EXPECT_EQ(page.Thermal[1].K, "---");
    EXPECT_EQ(page.Thermal[2].K, "---");
}

TEST_F(MaxCurrentsPageTest, VerdictsAndTheirColour)
{
    acceptBreaker();
    fill({});
    EXPECT_EQ(page.BreakingLabel, "не проверена: не задана отключающая способность аппарата Icu");
    EXPECT_FALSE(page.BreakingRed);
    // Some 2.5 kA at the end of 4 mm^2 for 0.4 s needs about 13.5 mm^2.
    EXPECT_EQ(page.Thermal[0].Verdict, "не проходит");
    EXPECT_TRUE(page.Thermal[0].VerdictRed);
    EXPECT_EQ(page.Thermal[0].Smin,
              FormatNumber(*currents.Thermal[0]->Smin, 2, NumberSeparators::russian()));

    fill({"", "", "", "25"});
    EXPECT_EQ(page.BreakingLabel,
              "достаточна: Iмакс=12" + Nbsp + "833 А ≤ Icu=25" + Nbsp + "000 А, запас 1,95");
    EXPECT_FALSE(page.BreakingRed);
    fill({"", "", "", "6"});
    EXPECT_EQ(page.BreakingLabel,
              "недостаточна: Iмакс=12" + Nbsp + "833 А > Icu=6" + Nbsp + "000 А, запас 0,47");
    EXPECT_TRUE(page.BreakingRed);

    page.Clear();
    EXPECT_EQ(page.BreakingLabel, "---");
    EXPECT_FALSE(page.BreakingRed);
    EXPECT_FALSE(page.Thermal[0].VerdictRed);
}

TEST_F(MaxCurrentsPageTest, SinglePhaseTransformerHasNoThreePhaseColumn)
{
    input.WindKind = "1/1-0";
    input.TransPower = "10";
    CalcOutcome outcome = CalculateShortCircuit(input);
    ASSERT_TRUE(outcome.Result);
    analysis = AnalyseFeed(*outcome.Result, device);
    const TMaxCurrentReading reading = ReadMaxCurrentInput({}, "1/1-0", 10);
    currents = ComputeMaxCurrents(*outcome.Result, analysis, device, *reading.Settings);
    page.Fill(analysis, currents, NumberSeparators::russian());
    EXPECT_EQ(page.TransformerLabel, "трехфазное КЗ не рассчитывается");
    EXPECT_EQ(page.Points[0].Ik3, "---");
    EXPECT_NE(page.Points[0].Ik1, "---");
}

} // namespace
} // namespace tormel
