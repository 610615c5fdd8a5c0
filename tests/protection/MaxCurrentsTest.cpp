#include "protection/MaxCurrents.h"

#include "calc/CalcDriver.h"
#include "calc/LineKindCatalogue.h"
#include "calc/LineUnit.h"
#include "calc/SipLineUnit.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace tormel {
namespace {

const double Sqrt2 = std::sqrt(2.0);

// A feed of no length: every section an unused cable, 40 mOhm at the fault.
TCalcInput emptyFeed(std::string windKind, std::string power)
{
    TCalcInput input;
    input.WindKind = std::move(windKind);
    input.TransPower = std::move(power);
    for (TLineInput &line : input.Lines)
        line = {"Кабель с ПВХ изоляцией", "Медь", "0", "0", "0", "нет", "20"};
    input.RArc = "40";
    return input;
}

TDeviceDefenceInput breaker(std::string inom)
{
    TDeviceDefenceInput input;
    input.TokAVnom = std::move(inom);
    input.TokNR = "10 (\"C\")";
    input.KZAV = "1.1";
    return input;
}

TDeviceDefenceInput fuse(std::string time)
{
    TDeviceDefenceInput input;
    input.AV = false;
    input.TypePP = "ППН";
    input.TokPP = "63";
    input.KZPP = "1.1";
    input.TimePP = std::move(time);
    return input;
}

void setLine(TLineInput &line,
             std::string kind,
             std::string stuff,
             std::string ff,
             std::string fn,
             std::string length)
{
    line.KindPerform = std::move(kind);
    line.Stuff = std::move(stuff);
    line.Ff = std::move(ff);
    line.Fn = std::move(fn);
    line.Length = std::move(length);
}

class MaxCurrentsTest : public ::testing::Test
{
protected:
    // Calculates the feed as the session does and reads `texts` for it.
    TMaxCurrents compute(const TMaxCurrentInput &texts = {})
    {
        CalcOutcome outcome = CalculateShortCircuit(input);
        EXPECT_TRUE(outcome.Result);
        if (!outcome.Result)
            return {};
        outcome.Result->Isr = result.Isr;
        outcome.Result->TimeSR = result.TimeSR;
        result = *outcome.Result;
        AlertDeviceDefence(device, result);
        analysis = AnalyseFeed(result, device);
        const TMaxCurrentReading reading
                = ReadMaxCurrentInput(texts, input.WindKind, std::stod(input.TransPower));
        EXPECT_TRUE(reading.Settings) << (reading.Refusal ? reading.Refusal->Message : "");
        return reading.Settings ? ComputeMaxCurrents(result, analysis, device, *reading.Settings)
                                : TMaxCurrents{};
    }
    void accept(const TDeviceDefenceInput &deviceInput)
    {
        ASSERT_TRUE(ComputeDeviceDefence(deviceInput, device, result, NumberSeparators{}).Line);
    }

    TCalcInput input = emptyFeed("T/Y-0", "400");
    TCalcResult result;
    TDeviceDefenceState device;
    TFeedAnalysis analysis;
};

TEST_F(MaxCurrentsTest, DeltaStarTransformerAloneGivesTheTableCellOverThree)
{
    const TMaxCurrents c = compute();
    ASSERT_TRUE(c.Z1T);
    EXPECT_EQ(c.Z1T->R, 17.7 / 3);  // 5.9
    EXPECT_EQ(c.Z1T->X, 51.02 / 3); // 17.007
    ASSERT_TRUE(c.Ik3[0]);
    EXPECT_EQ(*c.Ik3[0], 231000 / std::hypot(17.7 / 3, 51.02 / 3));
    EXPECT_NEAR(*c.Ik3[0], 12833, 1); // 12.83 kA
    // Delta/star: the single-phase loop of the same cell is the positive sequence.
    EXPECT_EQ(c.Ik1[0], *c.Ik3[0]);
    EXPECT_EQ(c.Imax[0], *c.Ik3[0]);
    const double kappa = 1.02 + 0.98 * std::exp(-3 * (17.7 / 3) / (51.02 / 3));
    EXPECT_NEAR(kappa, 1.366, 0.001);
    EXPECT_EQ(c.Ip[0], kappa * Sqrt2 * c.Imax[0]);
    // Without sections every point is the terminals.
    for (std::size_t p = 1; p < c.Ik1.size(); ++p) {
        EXPECT_EQ(c.Ik3[p], c.Ik3[0]);
        EXPECT_EQ(c.Ik1[p], c.Ik1[0]);
    }

    const std::optional<TShortCircuitRating> shown = DefaultShortCircuitRating("T/Y-0", 400);
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->Uk, 4.5, 0.001);
    EXPECT_NEAR(shown->Pk, 5.9, 1e-12);
    // Typing the shown texts gives nearly, not exactly, the cell.
    const TMaxCurrents typed = compute({"", "4.5", "5.9", ""});
    EXPECT_NEAR(*typed.Ik3[0], *c.Ik3[0], 10);
    EXPECT_NE(*typed.Ik3[0], *c.Ik3[0]);
}

TEST_F(MaxCurrentsTest, OtherSchemesTakeTheDeltaStarCellOfTheirPower)
{
    input.WindKind = "Y/Y-0";
    const TMaxCurrents c = compute();
    ASSERT_TRUE(c.Ik3[0]);
    EXPECT_EQ(*c.Ik3[0], 231000 / std::hypot(17.7 / 3, 51.02 / 3));
    // The star/star single-phase loop is far larger: Rт 66.6, Xт 183.28.
    EXPECT_EQ(c.Ik1[0], 231000 / std::hypot(66.6 / 3, 183.28 / 3));
    EXPECT_EQ(c.Imax[0], *c.Ik3[0]);
}

TEST_F(MaxCurrentsTest, UsersShortCircuitVoltageAndLosses)
{
    // R1T = 5.5 x 160000 / 400^2 = 5.5, Z1T = 5.5 / 100 x 160000 / 400 = 22 mOhm.
    const TMaxCurrents c = compute({"", "5.5", "5.5", ""});
    ASSERT_TRUE(c.Z1T);
    EXPECT_EQ(c.Z1T->R, 5.5);
    EXPECT_DOUBLE_EQ(c.Z1T->X, std::sqrt(22.0 * 22 - 5.5 * 5.5));
    EXPECT_NEAR(*c.Ik3[0], 10500, 1e-9);
    // Only one of the two keeps the table's cell.
    EXPECT_EQ(compute({"", "5.5", "", ""}).Z1T->R, 17.7 / 3);
    EXPECT_EQ(compute({"", "", "5.5", ""}).Z1T->R, 17.7 / 3);
    // No losses: a purely reactive transformer whose Ik3 (16.5 kA) exceeds Ik1 gives the
    // largest peak factor.
    const TMaxCurrents reactive = compute({"", "3.5", "0", ""});
    ASSERT_GT(*reactive.Ik3[0], reactive.Ik1[0]);
    EXPECT_EQ(reactive.Z1T->R, 0);
    EXPECT_EQ(reactive.Ip[0], 2 * Sqrt2 * reactive.Imax[0]);
}

TEST_F(MaxCurrentsTest, FiniteSupplyAddsToBothLoops)
{
    // Sk = 200 MV*A: ZQ = 0.8, XQ = 0.796, RQ = 0.0796 mOhm.
    const TMaxCurrents c = compute({"200", "5.5", "5.5", ""});
    const double xq = 0.995 * (160 / 200.0);
    const double rq = 0.1 * xq;
    EXPECT_EQ(*c.Ik3[0], 231000 / std::hypot(rq + 5.5, xq + c.Z1T->X));
    EXPECT_EQ(c.Ik1[0], 231000 / std::hypot(2 * rq / 3 + 17.7 / 3, 2 * xq / 3 + 51.02 / 3));
    const TMaxCurrents unlimited = compute({"", "5.5", "5.5", ""});
    EXPECT_LT(*c.Ik3[0], *unlimited.Ik3[0]);
    EXPECT_LT(c.Ik1[0], unlimited.Ik1[0]);
}

TEST_F(MaxCurrentsTest, NoDeltaStarCellNoThreePhaseCurrentUntilBothAreGiven)
{
    input.WindKind = "Y/Y-0";
    input.TransPower = "320";
    EXPECT_FALSE(DefaultShortCircuitRating("Y/Y-0", 320));
    TMaxCurrents c = compute({"", "4.5", "", ""});
    EXPECT_FALSE(c.Z1T);
    for (std::size_t p = 0; p < c.Ik3.size(); ++p) {
        EXPECT_FALSE(c.Ik3[p]);
        EXPECT_EQ(c.Imax[p], c.Ik1[p]);
    }
    EXPECT_EQ(c.Ip[0], PeakFactor(92.65 / 3, 239.88 / 3) * Sqrt2 * c.Ik1[0]);

    // R1T = 3.7 x 160000 / 320^2 = 5.78125, Z1T = 4.5 / 100 x 160000 / 320 = 22.5 mOhm.
    c = compute({"", "4.5", "3.7", ""});
    ASSERT_TRUE(c.Z1T);
    EXPECT_DOUBLE_EQ(c.Z1T->R, 5.78125);
    EXPECT_NEAR(*c.Ik3[0], 231000 / 22.5, 1e-9);
}

TEST_F(MaxCurrentsTest, SinglePhaseTransformerHasNoThreePhaseFault)
{
    input.WindKind = "1/1-0";
    input.TransPower = "10";
    EXPECT_FALSE(DefaultShortCircuitRating("1/1-0", 10));
    // uk and Pk are only read as numbers: a negative value passes.
    const TMaxCurrents c = compute({"", "-3", "0", ""});
    EXPECT_FALSE(c.Z1T);
    EXPECT_FALSE(c.Ik3[0]);
    EXPECT_EQ(c.Ik1[0], 231000 / std::hypot(428.5 / 3, 667.9 / 3));
    const TMaxCurrentReading text = ReadMaxCurrentInput({"", "три", "", ""}, "1/1-0", 10);
    ASSERT_TRUE(text.Refusal);
    EXPECT_EQ(text.Refusal->Field, MaxCurrentField::Uk);
}

TEST(MaxCurrentInput, RefusesTheFirstWrongTextInOrder)
{
    struct Case
    {
        TMaxCurrentInput texts;
        MaxCurrentField field;
        std::string_view message;
    };
    using namespace MaxCurrentText;
    const Case cases[] = {
            {{"0", "x", "x", "x"}, MaxCurrentField::Sk, SkRefused},
            {{"-5", "", "", ""}, MaxCurrentField::Sk, SkRefused},
            {{"1e-320", "", "", ""}, MaxCurrentField::Sk, SkRefused}, // ZQ beyond a double
            {{"200 МВА", "", "", ""}, MaxCurrentField::Sk, SkRefused},
            {{"200", "0", "x", "x"}, MaxCurrentField::Uk, UkRefused},
            {{"", "-4.5", "", ""}, MaxCurrentField::Uk, UkRefused},
            {{"", "4,5", "", ""}, MaxCurrentField::Uk, UkRefused},
            {{"", "", "-0.1", "x"}, MaxCurrentField::Pk, PkRefused},
            {{"", "4.5", "abc", ""}, MaxCurrentField::Pk, PkRefused},
            // 400 kV*A: 4.5 % is Z1T = 18 mOhm, 18.5 kW is R1T = 18.5 mOhm.
            {{"", "4.5", "18.5", "x"}, MaxCurrentField::Pk, PkTooLarge},
            {{"", "4.5", "1e308", ""}, MaxCurrentField::Pk, PkTooLarge},
            {{"", "", "", "0"}, MaxCurrentField::Icu, IcuRefused},
            {{"", "", "", "25 кА"}, MaxCurrentField::Icu, IcuRefused},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.texts.Sk + "|" + c.texts.Uk + "|" + c.texts.Pk + "|" + c.texts.Icu);
        const TMaxCurrentReading reading = ReadMaxCurrentInput(c.texts, "T/Y-0", 400);
        EXPECT_FALSE(reading.Settings);
        ASSERT_TRUE(reading.Refusal);
        EXPECT_EQ(reading.Refusal->Field, c.field);
        EXPECT_EQ(reading.Refusal->Message, c.message);
    }
    const TMaxCurrentReading edge = ReadMaxCurrentInput({"", "4.5", "17.99", "25"}, "T/Y-0", 400);
    ASSERT_TRUE(edge.Settings);
    EXPECT_EQ(edge.Settings->Icu, 25);
}

TEST_F(MaxCurrentsTest, SipAndParallelConductorsEnterByTheirPhaseConductor)
{
    setLine(input.Lines[0], "Кабель с ПВХ изоляцией", "Медь", "95", "50", "80");
    input.Lines[0].QuanPar = "2";
    setLine(input.Lines[1], "СИП-2", "3*70+1*54.6", "", "", "120");
    accept(breaker("100"));
    const TMaxCurrents c = compute({"", "", "", "25"});

    double r = 17.7 / 3 + 0.195 * 80 / 2;
    double x = 51.02 / 3 + 0.081 * 80 / 2;
    EXPECT_EQ(*c.Ik3[1], 231000 / std::hypot(r, x));
    r += 1.073 / 2 * 120 / 1;
    x += 0.147 / 2 * 120 / 1;
    EXPECT_EQ(*c.Ik3[2], 231000 / std::hypot(r, x));
    // Single-phase: the whole cold loop, halved by the two cables.
    const double r0 = 17.7 / 3 + (0.195 + 0.37) * 80 / 2 + 1.073 * 120 / 1;
    const double x0 = 51.02 / 3 + (0.081 + 0.085) * 80 / 2 + 0.147 * 120 / 1;
    EXPECT_DOUBLE_EQ(c.Ik1[2], 231000 / std::hypot(r0, x0));

    // The cable: copper, PVC, 70 to 160 degrees, two of 95 + 50 mm^2; a breaker's 0.4 s.
    ASSERT_TRUE(c.Thermal[0]);
    const TSectionWithstand &cable = *c.Thermal[0];
    EXPECT_NEAR(cable.K, 115, 0.05);
    EXPECT_EQ(cable.K, 226 * std::sqrt(std::log((160 + 234.5) / (70 + 234.5))));
    EXPECT_EQ(cable.Current, analysis.PointCurrents[1]);
    EXPECT_EQ(cable.Time, 0.4);
    EXPECT_EQ(cable.Smin, analysis.PointCurrents[1] * std::sqrt(0.4) / cable.K);
    EXPECT_EQ(cable.Ok, true);
    EXPECT_EQ(cable.Capacity, (cable.K * 2 * 50) * (cable.K * 2 * 50));
    EXPECT_EQ(cable.TimeAtMax, (cable.K * 2 * 50 / c.Imax[0]) * (cable.K * 2 * 50 / c.Imax[0]));

    // SIP-2: aluminium, cross-linked polyethylene 90 to 250 degrees; its neutral 54.6 mm^2.
    ASSERT_TRUE(c.Thermal[1]);
    const TSectionWithstand &sip = *c.Thermal[1];
    EXPECT_EQ(sip.K, 148 * std::sqrt(std::log((250 + 228.0) / (90 + 228))));
    EXPECT_EQ(sip.Capacity, (sip.K * 54.6) * (sip.K * 54.6));
    EXPECT_EQ(sip.TimeAtMax, (sip.K * 54.6 / c.Imax[1]) * (sip.K * 54.6 / c.Imax[1]));
    for (std::size_t n = 2; n < c.Thermal.size(); ++n)
        EXPECT_FALSE(c.Thermal[n]) << "section " << n + 1; // no length, no entry
}

TEST_F(MaxCurrentsTest, TheLimitsOfTheStandardsTableForPvc)
{
    // k of PVC insulated conductors: 115 copper, 76 aluminium.
    setLine(input.Lines[0], "Кабель с ПВХ изоляцией", "Медь", "25", "25", "10");
    setLine(input.Lines[1], "Кабель с ПВХ изоляцией", "Алюминий", "25", "25", "10");
    const TMaxCurrents c = compute();
    EXPECT_NEAR(c.Thermal[0]->K, 115, 0.5);
    EXPECT_NEAR(c.Thermal[1]->K, 76, 0.5);
}

TEST_F(MaxCurrentsTest, ThinConductorsFailOnTheFusesFiveSeconds)
{
    // 1.5 mm^2 copper right at the transformer: the minimum current is some 1.3 kA; 1.5
    // mm^2 withstands 115 x 1.5 / sqrt(5) = 77 A for 5 s.
    setLine(input.Lines[0], "Кабель с ПВХ изоляцией", "Медь", "1.5", "1.5", "5");
    accept(fuse("Тср < 5 с"));
    TMaxCurrents c = compute();
    ASSERT_TRUE(c.Thermal[0]);
    EXPECT_EQ(c.Thermal[0]->Time, 5);
    EXPECT_EQ(c.Thermal[0]->Smin, analysis.PointCurrents[1] * std::sqrt(5.0) / c.Thermal[0]->K);
    EXPECT_EQ(c.Thermal[0]->Ok, false);

    accept(fuse("Тср < 0,4 с"));
    c = compute();
    EXPECT_EQ(c.Thermal[0]->Time, 0.4);
}

TEST_F(MaxCurrentsTest, NoHeatingEntryForBusbarsOrMissingConductors)
{
    setLine(input.Lines[0], "Шинопровод Canalis", "KS, 400A", "", "", "20");
    setLine(input.Lines[1], "Кабель с ПВХ изоляцией", "Медь", "0", "0", "30");
    setLine(input.Lines[2], "Воздушная", "Алюминий", "50", "50", "0");
    setLine(input.Lines[3], "Воздушная", "Медь", "50", "50", "100");
    const TMaxCurrents c = compute();
    EXPECT_FALSE(c.Thermal[0]);
    EXPECT_FALSE(c.Thermal[1]);
    EXPECT_FALSE(c.Thermal[2]);
    ASSERT_TRUE(c.Thermal[3]);
    EXPECT_EQ(c.Thermal[3]->K, 226 * std::sqrt(std::log((250 + 234.5) / (70 + 234.5))));
    // Without a device: no time, no least cross-section, no verdict; the rest stays.
    EXPECT_FALSE(c.Thermal[3]->Time);
    EXPECT_FALSE(c.Thermal[3]->Smin);
    EXPECT_FALSE(c.Thermal[3]->Ok);
    EXPECT_GT(c.Thermal[3]->Capacity, 0);
    EXPECT_EQ(c.NoBreakingReason, BreakingGap::NoDevice);
    EXPECT_FALSE(c.Breaking);
}

TEST_F(MaxCurrentsTest, BreakingCapacityNeedsADeviceAndItsIcu)
{
    // Icu without a device gives no verdict either.
    EXPECT_EQ(compute({"", "", "", "25"}).NoBreakingReason, BreakingGap::NoDevice);
    accept(breaker("630"));
    TMaxCurrents c = compute();
    EXPECT_FALSE(c.Breaking);
    EXPECT_EQ(c.NoBreakingReason, BreakingGap::NoIcu);

    c = compute({"", "", "", "25"});
    ASSERT_TRUE(c.Breaking);
    EXPECT_EQ(c.NoBreakingReason, BreakingGap::None);
    EXPECT_EQ(c.Breaking->Imax, c.Imax[0]);
    EXPECT_EQ(c.Breaking->Icu, 25000);
    EXPECT_EQ(c.Breaking->Margin, 25000 / c.Imax[0]);
    EXPECT_TRUE(c.Breaking->Ok);
    c = compute({"", "", "", "10"});
    EXPECT_FALSE(c.Breaking->Ok);

    // A reset device is no device.
    ResetDeviceDefence(device, result);
    EXPECT_EQ(compute({"", "", "", "25"}).NoBreakingReason, BreakingGap::NoDevice);
}

// A loop built by hand where the numbers are exact: Z(1) = 30 + j40, |Z(1)| = 50.
class ExactLoopTest : public ::testing::Test
{
protected:
    ExactLoopTest()
    {
        result.Rt = 90;
        result.Xt = 120;
        device.DeviceKind = ProtectionKind::Breaker;
        device.Isr = 100;
    }
    TCalcResult result;
    TFeedAnalysis analysis;
    TDeviceDefenceState device;
};

TEST_F(ExactLoopTest, BreakingHoldsAtEquality)
{
    // Z1T = j24: Ik3 = 231000 / 24 = 9625 A, above Ik1 = 4620 A.
    TMaxCurrentSettings settings{std::nullopt, TImpedance{0, 24}, 9.625};
    TMaxCurrents c = ComputeMaxCurrents(result, analysis, device, settings);
    ASSERT_EQ(c.Imax[0], 9625);
    EXPECT_TRUE(c.Breaking->Ok);
    EXPECT_EQ(c.Breaking->Margin, 1);
    settings.Icu = 9.624;
    EXPECT_FALSE(ComputeMaxCurrents(result, analysis, device, settings).Breaking->Ok);
}

TEST_F(ExactLoopTest, EqualCurrentsTakeThePeakFactorOfTheThreePhaseLoop)
{
    // |j50| = |30 + j40|: both currents are 4620 A; the reactive loop's kappa is 2.
    const TMaxCurrentSettings settings{std::nullopt, TImpedance{0, 50}, std::nullopt};
    const TMaxCurrents c = ComputeMaxCurrents(result, analysis, device, settings);
    ASSERT_EQ(*c.Ik3[0], 4620);
    ASSERT_EQ(c.Ik1[0], 4620);
    EXPECT_EQ(c.Ip[0], 2 * Sqrt2 * 4620);
}

// Feeds drawn at random from every kind of section, at 20 degrees or warmer.
TEST_F(MaxCurrentsTest, PropertiesHoldOnRandomFeeds)
{
    std::mt19937 random(20);
    const auto pick = [&](const auto &list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
    };
    const std::vector<std::string> powers = {"25", "100", "250", "400", "630", "1000", "2500"};
    const std::vector<std::string> sections = {"1.5", "16", "50", "95", "240"};
    int checked = 0;
    for (int feed = 0; feed < 300; ++feed) {
        input = emptyFeed("T/Y-0", pick(powers));
        for (TLineInput &line : input.Lines) {
            line.KindPerform = pick(LineKinds());
            const LineKindChoice choice = *ChoiceForLineKind(line.KindPerform, 2);
            line.Stuff = pick(choice.Items);
            line.Ff = line.Fn = choice.CrossSectionsEnabled ? pick(sections) : "";
            line.Length = std::to_string(std::uniform_int_distribution(0, 300)(random));
            line.QuanPar = std::to_string(std::uniform_int_distribution(1, 3)(random));
            line.Temperature = std::to_string(std::uniform_int_distribution(20, 90)(random));
        }
        if (!CalculateShortCircuit(input).Result)
            continue; // a cross-section that the kind does not use
        ++checked;
        const TMaxCurrents c = compute();
        for (std::size_t p = 0; p < c.Ik1.size(); ++p) {
            SCOPED_TRACE("feed " + std::to_string(feed) + " point " + std::to_string(p));
            if (p > 0) {
                EXPECT_LE(*c.Ik3[p], *c.Ik3[p - 1]);
                EXPECT_LE(c.Ik1[p], c.Ik1[p - 1]);
            }
            EXPECT_GE(c.Ik1[p], analysis.PointCurrents[p]);
            EXPECT_GE(c.Ip[p], Sqrt2 * 1.02 * c.Imax[p]);
            EXPECT_LE(c.Ip[p], 2 * Sqrt2 * c.Imax[p]);
        }
    }
    EXPECT_GT(checked, 100);
}

} // namespace
} // namespace tormel
