#include "calc/CalcDriver.h"
#include "session/MainInputModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tormel {
namespace {

// The inputs as the main window starts: 25 kVA "Y/Y-0", six empty sections, 40 mOhm.
TCalcInput StartInput()
{
    return MainInputModel().ToCalcInput();
}

void SetCopperPvc25(TLineInput &line, const std::string &length)
{
    line.KindPerform = "Кабель с ПВХ изоляцией";
    line.Stuff = "Медь";
    line.Ff = "25";
    line.Fn = "25";
    line.Length = length;
}

class CalcDriverTest : public ::testing::Test
{
protected:
    bool Calculate(const TCalcInput &input)
    {
        CalcOutcome outcome = CalculateShortCircuit(input);
        refusedAt = outcome.RefusedAt;
        if (!outcome.Refusal.empty())
            refusals.push_back(outcome.Refusal);
        if (outcome.Result)
            result = *outcome.Result;
        return outcome.Result.has_value();
    }

    // The refusals of the calculations since the last clear, in order.
    std::vector<std::string> Messages() const { return refusals; }

    TCalcResult result;
    CalcStep refusedAt = CalcStep::None;
    std::vector<std::string> refusals;
};

TEST_F(CalcDriverTest, StartingInputsGiveTheTransformerLoopOnly)
{
    ASSERT_TRUE(Calculate(StartInput()));

    EXPECT_TRUE(refusals.empty());
    EXPECT_DOUBLE_EQ(result.Rt, 1957.2);
    EXPECT_DOUBLE_EQ(result.Xt, 2417.24);
    for (int n = 0; n < LineCount; ++n)
        EXPECT_EQ(result.ZLine[n], 0.0) << "line " << n + 1;
    EXPECT_EQ(result.ZLineSum, 0.0);
    EXPECT_DOUBLE_EQ(result.Rother, 40);
    EXPECT_NEAR(result.Rsum, 692.4, 1e-9);
    EXPECT_NEAR(result.Xsum, 805.7466667, 1e-6);
    EXPECT_NEAR(result.Zsum, 1062.3773, 1e-3);
    EXPECT_NEAR(result.Iokz, 217.43, 0.01);
}

TEST_F(CalcDriverTest, CopperCableAddsPhaseAndNeutral)
{
    TCalcInput input = StartInput();
    SetCopperPvc25(input.Lines[0], "100");
    ASSERT_TRUE(Calculate(input));

    EXPECT_NEAR(result.RLine[0], 148, 1e-9);
    EXPECT_NEAR(result.XLine[0], 18.2, 1e-9);
    EXPECT_NEAR(result.RLineSum, 148, 1e-9);
    EXPECT_NEAR(result.Rsum, 840.4, 1e-9);
    EXPECT_NEAR(result.Xsum, 805.7466667 + 18.2, 1e-6);
    EXPECT_NEAR(result.Iokz, 196.27, 0.01);
}

TEST_F(CalcDriverTest, ParallelConductorsDivideTheSection)
{
    TCalcInput input = StartInput();
    SetCopperPvc25(input.Lines[0], "100");
    input.Lines[0].QuanPar = "2";
    ASSERT_TRUE(Calculate(input));
    EXPECT_NEAR(result.RLine[0], 74, 1e-9);
    EXPECT_NEAR(result.XLine[0], 9.1, 1e-9);

    // "1" is a single conductor, exactly like "нет".
    input.Lines[0].QuanPar = "1";
    ASSERT_TRUE(Calculate(input));
    EXPECT_NEAR(result.RLine[0], 148, 1e-9);
}

TEST_F(CalcDriverTest, SipLoopIsSplitAndOnlyResistanceFollowsTemperature)
{
    TCalcInput input = StartInput();
    TLineInput &line = input.Lines[0];
    line.KindPerform = "СИП-2";
    line.Stuff = "3*70+1*54.6";
    line.Length = "50";
    // The cross-sections are not read for SIP, whatever they hold.
    line.Ff = "no such";
    line.Fn = "";
    ASSERT_TRUE(Calculate(input));
    EXPECT_NEAR(result.RLine[0], 53.65, 1e-9);
    EXPECT_NEAR(result.XLine[0], 7.35, 1e-9);

    line.Temperature = "70";
    ASSERT_TRUE(Calculate(input));
    EXPECT_NEAR(result.RLine[0], 64.38, 1e-9);
    EXPECT_NEAR(result.XLine[0], 7.35, 1e-9);
}

TEST_F(CalcDriverTest, KeepsTheColdPhaseValuesAndConductorsOfEverySection)
{
    TCalcInput input = StartInput();
    TLineInput &cable = input.Lines[0];
    cable.KindPerform = "Кабель с бумажной изоляцией";
    cable.Stuff = "Алюминий";
    cable.Ff = "95.5"; // the row of 95, as the resistance lookup reads it
    cable.Fn = "50";
    cable.Length = "120";
    cable.QuanPar = "2";
    cable.Temperature = "65";
    TLineInput &sip = input.Lines[2];
    sip.KindPerform = "СИП-1";
    sip.Stuff = "3*35+1*54.6";
    sip.Length = "40";
    sip.Temperature = "-10";
    TLineInput &bus = input.Lines[4];
    bus.KindPerform = "Шинопровод Canalis";
    bus.Stuff = "KS, 400A";
    bus.Length = "10";
    ASSERT_TRUE(Calculate(input));

    EXPECT_EQ(result.RPhasePerMetre[0], 0.329);
    EXPECT_EQ(result.XPhasePerMetre[0], 0.0602);
    EXPECT_EQ(result.LineParallel[0], 2);
    EXPECT_EQ(result.RLineCold[0], (0.329 + 0.625) * 120 / 2);
    EXPECT_GT(result.RLine[0], result.RLineCold[0]); // the hot loop of the calculation
    EXPECT_EQ(result.PhaseCrossSection[0], 95);
    EXPECT_EQ(result.NeutralCrossSection[0], 50);
    EXPECT_EQ(result.LineMetal[0], ConductorMetal::Aluminium);
    EXPECT_EQ(result.LineKind[0], "Кабель с бумажной изоляцией");

    // An unused section: no conductor, the parallel count of "нет".
    EXPECT_EQ(result.PhaseCrossSection[1], 0);
    EXPECT_EQ(result.LineParallel[1], 1);
    EXPECT_EQ(result.RLineCold[1], 0);

    // SIP: half the loop per conductor, cross-sections from the marking, aluminium; the
    // cold loop is above the calculation's at -10 degrees.
    EXPECT_EQ(result.RPhasePerMetre[2], 1.498 / 2);
    EXPECT_EQ(result.XPhasePerMetre[2], 0.14 / 2);
    EXPECT_EQ(result.RLineCold[2], 1.498 * 40);
    EXPECT_LT(result.RLine[2], result.RLineCold[2]);
    EXPECT_EQ(result.PhaseCrossSection[2], 35);
    EXPECT_EQ(result.NeutralCrossSection[2], 54.6);
    EXPECT_EQ(result.LineMetal[2], ConductorMetal::Aluminium);

    // Busbar trunking enters the loops but not the heating check.
    EXPECT_EQ(result.RPhasePerMetre[4], 0.433 / 2);
    EXPECT_EQ(result.PhaseCrossSection[4], 0);
    EXPECT_EQ(result.LineMetal[4], ConductorMetal::None);
}

TEST_F(CalcDriverTest, UnusedSectionsMayStandBetweenUsedOnes)
{
    TCalcInput input = StartInput();
    SetCopperPvc25(input.Lines[0], "100");
    SetCopperPvc25(input.Lines[2], "0"); // cross-sections chosen, no length
    SetCopperPvc25(input.Lines[4], "1.5");
    input.RArc = "100"; // above the recommended range, still accepted
    ASSERT_TRUE(Calculate(input));

    EXPECT_EQ(result.RLine[2], 0.0);
    EXPECT_NEAR(result.RLine[4], 2.22, 1e-9);
    EXPECT_NEAR(result.RLineSum, 150.22, 1e-9);
    EXPECT_NEAR(result.Rsum, 652.4 + 150.22 + 100, 1e-9);
}

// One refused input each: the message the user sees, and nothing else.
struct Refusal
{
    const char *name;
    std::function<void(TCalcInput &)> change;
    std::string message;
};

void PrintTo(const Refusal &refusal, std::ostream *out)
{
    *out << refusal.name;
}

class CalcDriverRefusalTest : public CalcDriverTest, public ::testing::WithParamInterface<Refusal>
{
};

TEST_P(CalcDriverRefusalTest, ShowsOneMessageAndGivesNoResult)
{
    TCalcInput input = StartInput();
    SetCopperPvc25(input.Lines[1], "10");
    ASSERT_TRUE(Calculate(input));
    refusals.clear();

    GetParam().change(input);
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(Messages(), std::vector<std::string>{GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
        Inputs,
        CalcDriverRefusalTest,
        ::testing::Values(
                Refusal{"PowerNotANumber",
                        [](TCalcInput &in) { in.TransPower = "abc"; },
                        "Неверная мощность трансформатора"},
                Refusal{"PowerNotInTable",
                        [](TCalcInput &in) { in.TransPower = "30"; },
                        "Трансформатор выбранной мощности не заложен в программу"},
                Refusal{"NeutralMissing",
                        [](TCalcInput &in) { in.Lines[1].Fn = "0"; },
                        "Выберите сечение жилы нулевого провода линии 2"},
                Refusal{"PhaseMissing",
                        [](TCalcInput &in) { in.Lines[1].Ff = "0"; },
                        "Выберите сечение жилы фазного провода линии 2"},
                Refusal{"UnknownKind",
                        [](TCalcInput &in) { in.Lines[3].KindPerform = "Кабель"; },
                        "Неизвестный тип линии"},
                Refusal{"LengthWithComma",
                        [](TCalcInput &in) { in.Lines[1].Length = "1,5"; },
                        "Неверная длина линии 2"},
                Refusal{"LengthEmpty",
                        [](TCalcInput &in) { in.Lines[5].Length = ""; },
                        "Неверная длина линии 6"},
                Refusal{"LengthNegative",
                        [](TCalcInput &in) { in.Lines[0].Length = "-1"; },
                        "Неверная длина линии 1"},
                Refusal{"LengthBeyondAnyLoop",
                        [](TCalcInput &in) { in.Lines[1].Length = "1.5e308"; },
                        "Неверная длина линии 2"},
                Refusal{"ParallelZero",
                        [](TCalcInput &in) { in.Lines[2].QuanPar = "0"; },
                        "Неверное количество параллельных проводов линии 3"},
                Refusal{"ParallelCapitalised",
                        [](TCalcInput &in) { in.Lines[2].QuanPar = "Нет"; },
                        "Неверное количество параллельных проводов линии 3"},
                Refusal{"ParallelFraction",
                        [](TCalcInput &in) { in.Lines[2].QuanPar = "2.5"; },
                        "Неверное количество параллельных проводов линии 3"},
                Refusal{"ArcNegative",
                        [](TCalcInput &in) { in.RArc = "-1"; },
                        "Неправильно введено сопротивление электрической дуги. Рекомендуемый "
                        "диапазон значений 0..40 мОм"},
                Refusal{"ArcWithUnit",
                        [](TCalcInput &in) { in.RArc = "40 мОм"; },
                        "Неправильно введено сопротивление электрической дуги. Рекомендуемый "
                        "диапазон значений 0..40 мОм"},
                Refusal{"TemperatureWithUnit",
                        [](TCalcInput &in) { in.Lines[4].Temperature = "20 C"; },
                        "Ошибочное значение температуры жилы кабеля, провода или шины."}),
        [](const ::testing::TestParamInfo<Refusal> &param) { return param.param.name; });

TEST_F(CalcDriverTest, FirstErrorInCheckOrderIsTheOneReported)
{
    TCalcInput input = StartInput();
    input.Lines[1].Ff = "25";        // section 2: neutral missing
    input.Lines[4].Fn = "25";        // section 5: phase missing
    input.Lines[0].Length = "-1";    // lengths are checked after every line block
    input.Lines[2].Stuff = "Железо"; // a lookup of section 3, after the pair check of 2
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(refusals, std::vector<std::string>{"Выберите сечение жилы нулевого провода линии 2"});

    input.Lines[1].Ff = "0";
    input.Lines[2].Stuff = "Медь";
    refusals.clear();
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(refusals, std::vector<std::string>{"Выберите сечение жилы фазного провода линии 5"});

    input.Lines[4].Fn = "0";
    refusals.clear();
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(refusals, std::vector<std::string>{"Неверная длина линии 1"});
}

// After every line block: the lengths of all sections, then their parallel counts, then
// the arc, then the temperatures. Several wrong at once report the first in that order.
TEST_F(CalcDriverTest, LengthThenParallelThenArcThenTemperature)
{
    TCalcInput input = StartInput();
    input.Lines[0].Temperature = "20 C";
    input.RArc = "-1";
    input.Lines[0].QuanPar = "0";
    input.Lines[5].Length = "x";

    const char *expected[] = {
            "Неверная длина линии 6",
            "Неверное количество параллельных проводов линии 1",
            "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон "
            "значений 0..40 мОм",
            "Ошибочное значение температуры жилы кабеля, провода или шины.",
    };
    for (const char *message : expected) {
        SCOPED_TRACE(message);
        refusals.clear();
        EXPECT_FALSE(Calculate(input));
        EXPECT_EQ(Messages(), std::vector<std::string>{message});
        // Mend the one just reported; the next in the order comes up.
        if (input.Lines[5].Length == "x")
            input.Lines[5].Length = "0";
        else if (input.Lines[0].QuanPar == "0")
            input.Lines[0].QuanPar = "нет";
        else if (input.RArc == "-1")
            input.RArc = "0";
    }
}

TEST_F(CalcDriverTest, EachRefusalNamesItsStep)
{
    // The session tells a power that is no number after the main window's failure texts,
    // and every other refusal before them, so the step travels with the text.
    TCalcInput input = StartInput();
    input.TransPower = "";
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(refusedAt, CalcStep::Power);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Неверная мощность трансформатора"});

    refusals.clear();
    input.TransPower = "30";
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(refusedAt, CalcStep::Transformer);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Трансформатор выбранной мощности не заложен в программу"});

    ASSERT_TRUE(Calculate(StartInput()));
    EXPECT_EQ(refusedAt, CalcStep::None);
}

} // namespace
} // namespace tormel
