#include "protection/FeedAnalysis.h"

#include "calc/CalcDriver.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "session/MainInputModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace tormel {
namespace {

// The starting feed: 25 kVA "Y/Y-0" (Rт 1957.2, Xт 2417.24 mOhm), no sections, 40 mOhm.
constexpr double StartR = 1957.2 / 3 + 40;
constexpr double StartX = 2417.24 / 3;

std::string exact(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

void setCopperPvc25(TLineInput &line, const std::string &length)
{
    line.KindPerform = "Кабель с ПВХ изоляцией";
    line.Stuff = "Медь";
    line.Ff = "25";
    line.Fn = "25";
    line.Length = length;
}

TDeviceDefenceInput breaker(std::string inom, std::string release, std::string kz)
{
    TDeviceDefenceInput input;
    input.TokAVnom = std::move(inom);
    input.TokNR = std::move(release);
    input.KZAV = std::move(kz);
    return input;
}

TDeviceDefenceInput fuse(std::string type, std::string rated, std::string kz, std::string time)
{
    TDeviceDefenceInput input;
    input.AV = false;
    input.TypePP = std::move(type);
    input.TokPP = std::move(rated);
    input.KZPP = std::move(kz);
    input.TimePP = std::move(time);
    return input;
}

class FeedAnalysisTest : public ::testing::Test
{
protected:
    void calculate()
    {
        CalcOutcome outcome = CalculateShortCircuit(input);
        ASSERT_TRUE(outcome.Result);
        // As the session does: every field but the device's two is replaced.
        outcome.Result->Isr = result.Isr;
        outcome.Result->TimeSR = result.TimeSR;
        result = *outcome.Result;
        AlertDeviceDefence(device, result);
    }
    void accept(const TDeviceDefenceInput &deviceInput)
    {
        ASSERT_TRUE(ComputeDeviceDefence(deviceInput, device, result, NumberSeparators{}).Line);
    }
    TFeedAnalysis analyse() const { return AnalyseFeed(result, device); }

    // The current of the same feed with section `line` (0-based) at `length` metres.
    double currentAtLength(std::size_t line, double length)
    {
        TCalcInput changed = input;
        changed.Lines[line].Length = exact(length);
        const CalcOutcome other = CalculateShortCircuit(changed);
        EXPECT_TRUE(other.Result);
        return other.Result ? other.Result->Iokz : 0;
    }

    TCalcInput input = MainInputModel().ToCalcInput();
    TCalcResult result;
    TDeviceDefenceState device;
};

TEST_F(FeedAnalysisTest, PointCurrentsFallAlongTheFeedAndEndAtIokz)
{
    setCopperPvc25(input.Lines[0], "100");
    setCopperPvc25(input.Lines[2], "50");
    calculate();
    const TFeedAnalysis analysis = analyse();

    // At the terminals only the transformer's third and the arc: 231000 / 1062.377 A.
    EXPECT_NEAR(analysis.PointCurrents[0], 231000 / std::hypot(StartR, StartX), 1e-9);
    EXPECT_NEAR(analysis.PointCurrents[0], 217.4369, 1e-4);
    // 100 m of 1.48 + j0.182 mOhm/m after it.
    EXPECT_NEAR(analysis.PointCurrents[1], 231000 / std::hypot(StartR + 148, StartX + 18.2), 1e-9);
    // The empty section 2 changes nothing; section 3 adds its 50 m.
    EXPECT_EQ(analysis.PointCurrents[2], analysis.PointCurrents[1]);
    EXPECT_NEAR(analysis.PointCurrents[3], 231000 / std::hypot(StartR + 222, StartX + 27.3), 1e-9);
    for (std::size_t k = 4; k < analysis.PointCurrents.size(); ++k)
        EXPECT_EQ(analysis.PointCurrents[k], analysis.PointCurrents[3]) << "point " << k;
    EXPECT_EQ(analysis.PointCurrents[6], result.Iokz); // to the bit, not within rounding
}

TEST_F(FeedAnalysisTest, WithoutADeviceOnlyThePointCurrentsAreGiven)
{
    setCopperPvc25(input.Lines[0], "100");
    for (bool afterReset : {false, true}) {
        if (afterReset) {
            accept(breaker("16", "10 (\"C\")", "1.1"));
            ResetDeviceDefence(device, result);
        }
        calculate();
        const TFeedAnalysis analysis = analyse();
        EXPECT_FALSE(analysis.Margin) << afterReset;
        EXPECT_FALSE(analysis.LoopLimit) << afterReset;
        for (const auto &length : analysis.MaxLength)
            EXPECT_FALSE(length) << afterReset;
        EXPECT_FALSE(analysis.LargestDevice) << afterReset;
        EXPECT_EQ(analysis.PointCurrents[6], result.Iokz);
    }
}

TEST_F(FeedAnalysisTest, BreakerOnTheStartingFeed)
{
    setCopperPvc25(input.Lines[0], "100");
    accept(breaker("16", "10 (\"C\")", "1.1")); // Iср = 16 x 10 x 1.1 = 176 A
    calculate();
    const TFeedAnalysis analysis = analyse();

    ASSERT_TRUE(analysis.Margin && analysis.LoopLimit);
    EXPECT_DOUBLE_EQ(*analysis.Margin, result.Iokz / 176);
    EXPECT_DOUBLE_EQ(*analysis.LoopLimit, 1312.5); // 231000 / 176
    // (692.4 + 1.48 L)^2 + (805.747 + 0.182 L)^2 = 1312.5^2 by the quadratic formula.
    ASSERT_TRUE(analysis.MaxLength[0]);
    EXPECT_NEAR(*analysis.MaxLength[0], 211.209464, 1e-5);
    EXPECT_NEAR(currentAtLength(0, *analysis.MaxLength[0]), 176, 176 * 1e-13);
    // Sections without conductors have no length to permit.
    for (std::size_t i = 1; i < analysis.MaxLength.size(); ++i)
        EXPECT_FALSE(analysis.MaxLength[i]) << "line " << i + 1;
    // 196 A trips 16 A (176 A) but not 20 A (220 A) with the same multiple and factor.
    EXPECT_EQ(analysis.LargestDevice, "16");
}

TEST_F(FeedAnalysisTest, DeviceExactlyAtTheEdge)
{
    setCopperPvc25(input.Lines[0], "100");
    calculate();
    // A release current of exactly Iokz with Кз 1: the verdict's equality trips.
    TDeviceDefenceInput edge = breaker("16", exact(result.Iokz), "1");
    edge.TokNRChecked = true;
    accept(edge);
    ASSERT_EQ(device.Isr, result.Iokz);
    const TFeedAnalysis analysis = analyse();

    EXPECT_EQ(analysis.Margin, 1.0);
    ASSERT_TRUE(analysis.MaxLength[0]);
    EXPECT_NEAR(*analysis.MaxLength[0], 100, 1e-9);
    // A release given by its current has no list of rated currents to choose from.
    EXPECT_FALSE(analysis.LargestDevice);
}

TEST_F(FeedAnalysisTest, DeviceThatDoesNotTripEvenWithoutTheSection)
{
    setCopperPvc25(input.Lines[0], "100");
    accept(breaker("1600", "10 (\"C\")", "1.1")); // 17600 A against 217 A at the terminals
    calculate();
    const TFeedAnalysis analysis = analyse();

    ASSERT_TRUE(analysis.Margin);
    EXPECT_LT(*analysis.Margin, 1);
    EXPECT_EQ(analysis.MaxLength[0], 0.0);
    EXPECT_EQ(analysis.LargestDevice, "16");
}

TEST_F(FeedAnalysisTest, NoListEntryTrips)
{
    setCopperPvc25(input.Lines[0], "100");
    accept(breaker("1", "200", "1.2")); // 240 A already for 1 A, above the 196 A
    calculate();
    EXPECT_FALSE(analyse().LargestDevice);
}

struct FuseCase
{
    const char *Name;
    const char *Type;
    const char *Time;
    const char *Kz;
    std::optional<std::string> Largest;
};

class FuseLargestTest : public FeedAnalysisTest, public ::testing::WithParamInterface<FuseCase>
{
};

// At the starting feed's 217.44 A, the largest link with Imelt x Кз <= 217.44 A.
TEST_P(FuseLargestTest, LargestLinkOfTheChosenTypeAndTime)
{
    const FuseCase &c = GetParam();
    accept(fuse(c.Type, "63", c.Kz, c.Time));
    calculate();
    EXPECT_EQ(analyse().LargestDevice, c.Largest);
}

INSTANTIATE_TEST_SUITE_P(
        Fuses,
        FuseLargestTest,
        ::testing::Values(
                // 40 A melts at 190 A (209 A with 1.1), 50 A at 260 A.
                FuseCase{"Ppn5s", "ППН", "Тср < 5 с", "1.1", "40"},
                // 25 A melts within 0.4 s at 190 A (209 A), 32 A at 250 A.
                FuseCase{"Ppn04s", "ППН", "Тср < 0,4 с", "1.1", "25"},
                // The top of the list, 63 A at 180 A (198 A), still trips.
                FuseCase{"NpnTopOfList", "НПН", "Тср < 5 с", "1.1", "63"},
                // "31.5" is looked up by its key 31 (400 A): 440 A is too much.
                FuseCase{"Pn2NoneTrips", "ПН2", "Тср < 5 с", "1.1", std::nullopt},
                // With Кз 0 every trip current is 0, which is no device at all.
                FuseCase{"ZeroFactorIsNoDevice", "ППН", "Тср < 5 с", "0", std::nullopt}),
        [](const auto &param) { return std::string(param.param.Name); });

struct SectionCase
{
    const char *Name;
    const char *Kind;
    const char *Stuff;
    const char *Cross; // phase and neutral of a cable; ignored by SIP and busbars
    const char *Parallel;
    const char *Temperature;
};

class PermittedLengthTripsTest : public FeedAnalysisTest,
                                 public ::testing::WithParamInterface<SectionCase>
{
};

// The permitted length, put back into the calculation, gives the device's trip current.
TEST_P(PermittedLengthTripsTest, LengthBackInTheCalculationGivesTheTripCurrent)
{
    const SectionCase &c = GetParam();
    TLineInput &line = input.Lines[1];
    line.KindPerform = c.Kind;
    line.Stuff = c.Stuff;
    line.Ff = c.Cross;
    line.Fn = c.Cross;
    line.Length = "30";
    line.QuanPar = c.Parallel;
    line.Temperature = c.Temperature;
    setCopperPvc25(input.Lines[0], "20");
    accept(breaker("5", "3 (\"A\")", "1.05")); // 15.75 A
    calculate();
    const TFeedAnalysis analysis = analyse();

    ASSERT_TRUE(analysis.MaxLength[1]);
    EXPECT_GT(*analysis.MaxLength[1], 30);
    EXPECT_NEAR(currentAtLength(1, *analysis.MaxLength[1]), 15.75, 15.75 * 1e-12);
    EXPECT_NEAR(currentAtLength(0, *analysis.MaxLength[0]), 15.75, 15.75 * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
        Sections,
        PermittedLengthTripsTest,
        ::testing::Values(
                SectionCase{"Cable", "Кабель с ПВХ изоляцией", "Алюминий", "50", "нет", "20"},
                SectionCase{"ParallelCables", "Кабель с ПВХ изоляцией", "Медь", "25", "3", "20"},
                SectionCase{"HotCable", "Кабель с бумажной изоляцией", "Медь", "25", "нет", "90"},
                SectionCase{"HotParallelSip", "СИП-2", "3*70+1*54.6", "", "2", "70"}),
        [](const auto &param) { return std::string(param.param.Name); });

TEST_F(FeedAnalysisTest, ParallelConductorsAndHeatScaleThePermittedLength)
{
    // With the rest of the loop unchanged, halving the per-metre values doubles the length;
    // a temperature factor shortens it.
    setCopperPvc25(input.Lines[0], "10");
    accept(breaker("6", "3 (\"A\")", "1.0")); // 18 A
    calculate();
    const double single = *analyse().MaxLength[0];

    input.Lines[0].QuanPar = "2";
    calculate();
    EXPECT_NEAR(*analyse().MaxLength[0], 2 * single, 1e-9 * single);

    input.Lines[0].QuanPar = "нет";
    input.Lines[0].Temperature = "90";
    calculate();
    EXPECT_LT(*analyse().MaxLength[0], single);
    EXPECT_GT(result.RLinePerMetre[0], 1.48);
    EXPECT_DOUBLE_EQ(result.XLinePerMetre[0], 0.182);
}

TEST_F(FeedAnalysisTest, AllSixSectionsUsed)
{
    for (std::size_t n = 0; n < input.Lines.size(); ++n)
        setCopperPvc25(input.Lines[n], std::to_string(10 * (n + 1)));
    accept(breaker("4", "3 (\"A\")", "1.1")); // 13.2 A
    calculate();
    const TFeedAnalysis analysis = analyse();
    for (std::size_t n = 0; n < analysis.MaxLength.size(); ++n) {
        ASSERT_TRUE(analysis.MaxLength[n]) << "line " << n + 1;
        EXPECT_NEAR(currentAtLength(n, *analysis.MaxLength[n]), 13.2, 13.2 * 1e-12)
                << "line " << n + 1;
        EXPECT_LT(analysis.PointCurrents[n + 1], analysis.PointCurrents[n]) << "point " << n + 1;
    }
}

TEST(PermittedLength, ClosedFormCases)
{
    // Rest 3 + j4 (|5|) along the same direction as 3 + j4 per metre: 5 + 5 L = 10.
    EXPECT_DOUBLE_EQ(*PermittedLength(3, 4, 3, 4, 10), 1.0);
    // Purely resistive: sqrt(limit^2 - x0^2) - r0 over r.
    EXPECT_DOUBLE_EQ(*PermittedLength(0, 6, 2, 0, 10), 4.0);
    // At the limit, or beyond it, without the section: nothing more is permitted.
    EXPECT_EQ(PermittedLength(6, 8, 1, 1, 10), 0.0);
    EXPECT_EQ(PermittedLength(60, 80, 1, 1, 10), 0.0);
    // No impedance per metre, or no finite limit: no length to give.
    EXPECT_FALSE(PermittedLength(3, 4, 0, 0, 10));
    EXPECT_FALSE(PermittedLength(3, 4, 1, 1, std::numeric_limits<double>::infinity()));
}

} // namespace
} // namespace tormel
