#include "calc/CalcDriver.h"
#include "calc/MainInputModel.h"
#include "core/MainStatus.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tormel {
namespace {

using testing::RecordingMessages;

const std::string MissingData = "Не хватает данных для расчета!";
const std::string RunCalculation = "Выполните расчет тока однофазного короткого замыкания";

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
    bool Calculate(const TCalcInput &input, const CalcDriverHooks &hooks = {})
    {
        return CalculateShortCircuit(input, result, status, messages, hooks);
    }

    TCalcResult result;
    MainStatus status;
    RecordingMessages messages;
};

TEST_F(CalcDriverTest, StartingInputsGiveTheTransformerLoopOnly)
{
    ASSERT_TRUE(Calculate(StartInput()));

    EXPECT_TRUE(messages.entries().empty());
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
    EXPECT_EQ(status.IokzLabel, "Ток однофазного короткого замыкания равен 217 А");
    EXPECT_TRUE(status.ResultMenuEnabled);
    EXPECT_TRUE(status.AddReportMenuEnabled);
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
    EXPECT_EQ(status.IokzLabel, "Ток однофазного короткого замыкания равен 196 А");
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

TEST_P(CalcDriverRefusalTest, ShowsOneMessageAndKeepsTheLastResult)
{
    ASSERT_TRUE(Calculate(StartInput()));
    TCalcResult before = result;
    before.Isr = 123;
    before.TimeSR = "Tср < 0,4 с";
    result = before;
    messages.clear();

    TCalcInput input = StartInput();
    SetCopperPvc25(input.Lines[1], "10");
    GetParam().change(input);
    EXPECT_FALSE(Calculate(input));

    EXPECT_EQ(messages.texts(), std::vector<std::string>{GetParam().message});
    EXPECT_EQ(status.IokzLabel, MissingData);
    EXPECT_EQ(status.StatusDDLabel, RunCalculation);
    EXPECT_FALSE(status.ResultMenuEnabled);
    EXPECT_FALSE(status.AddReportMenuEnabled);
    EXPECT_EQ(result.Iokz, before.Iokz);
    EXPECT_EQ(result.Rsum, before.Rsum);
    EXPECT_EQ(result.Isr, 123);
    EXPECT_EQ(result.TimeSR, before.TimeSR);
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
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Выберите сечение жилы нулевого провода линии 2"});

    input.Lines[1].Ff = "0";
    input.Lines[2].Stuff = "Медь";
    messages.clear();
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Выберите сечение жилы фазного провода линии 5"});

    input.Lines[4].Fn = "0";
    messages.clear();
    EXPECT_FALSE(Calculate(input));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Неверная длина линии 1"});
}

TEST_F(CalcDriverTest, PowerMessageFollowsTheStatusTextsOtherMessagesPrecedeThem)
{
    std::vector<std::string> labelWhileShown;
    messages.onShow = [&](const RecordingMessages::Entry &) {
        labelWhileShown.push_back(status.IokzLabel);
    };
    const std::string startLabel = status.IokzLabel;

    TCalcInput input = StartInput();
    input.TransPower = "";
    Calculate(input);

    status = MainStatus();
    input = StartInput();
    input.Lines[0].Length = "x";
    Calculate(input);

    status = MainStatus();
    input = StartInput();
    input.TransPower = "30"; // the lookup's own box, before the driver adds the texts
    Calculate(input);

    EXPECT_EQ(labelWhileShown, (std::vector<std::string>{MissingData, startLabel, startLabel}));
    EXPECT_EQ(status.IokzLabel, MissingData);
}

TEST_F(CalcDriverTest, StepsAfterSuccessRunInOrder)
{
    std::vector<std::string> steps;
    CalcDriverHooks hooks;
    hooks.DeviceVerdict = [&] {
        // The verdict judges the new, unrounded current with the result line written.
        EXPECT_NEAR(result.Iokz, 217.43, 0.01);
        EXPECT_EQ(status.IokzLabel, "Ток однофазного короткого замыкания равен 217 А");
        steps.push_back("verdict");
    };
    hooks.FillResultWindow = [&](const TCalcInput &input, const TCalcResult &filled) {
        EXPECT_EQ(input.TransPower, "25");
        EXPECT_EQ(&filled, &result);
        EXPECT_FALSE(status.ResultMenuEnabled);
        steps.push_back("fill");
    };
    bool checked = true;
    hooks.PointNameDialogChecked = [&] { return checked; };
    hooks.ShowPointNameDialog = [&] {
        EXPECT_TRUE(status.AddReportMenuEnabled);
        steps.push_back("dialog");
    };

    ASSERT_TRUE(Calculate(StartInput(), hooks));
    EXPECT_EQ(steps, (std::vector<std::string>{"verdict", "fill", "dialog"}));

    checked = false;
    steps.clear();
    ASSERT_TRUE(Calculate(StartInput(), hooks));
    EXPECT_EQ(steps, (std::vector<std::string>{"verdict", "fill"}));

    // A refused calculation reaches none of them.
    TCalcInput refused = StartInput();
    refused.RArc = "";
    steps.clear();
    EXPECT_FALSE(Calculate(refused, hooks));
    EXPECT_TRUE(steps.empty());
}

TEST_F(CalcDriverTest, SuccessKeepsTheDeviceFieldsOfTheResult)
{
    result.Isr = 176;
    result.TimeSR = "Tср < 0,4 с";
    ASSERT_TRUE(Calculate(StartInput()));
    EXPECT_EQ(result.Isr, 176);
    EXPECT_EQ(result.TimeSR, "Tср < 0,4 с");
}

} // namespace
} // namespace tormel
