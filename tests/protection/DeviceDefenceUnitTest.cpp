#include "protection/DeviceDefenceUnit.h"

#include "core/NumberFormat.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tormel {
namespace {

using testing::RecordingMessages;

TDeviceDefenceInput breaker(std::string tokAVnom, std::string tokNR, std::string kzav)
{
    TDeviceDefenceInput input;
    input.AV = true;
    input.TokAVnom = std::move(tokAVnom);
    input.TokNR = std::move(tokNR);
    input.KZAV = std::move(kzav);
    return input;
}

TDeviceDefenceInput fuse(std::string type, std::string tokPP, std::string kzpp, std::string time)
{
    TDeviceDefenceInput input;
    input.AV = false;
    input.TypePP = std::move(type);
    input.TokPP = std::move(tokPP);
    input.KZPP = std::move(kzpp);
    input.TimePP = std::move(time);
    return input;
}

class DeviceDefenceTest : public ::testing::Test
{
protected:
    bool compute(const TDeviceDefenceInput &input)
    {
        const TDeviceJudgement judgement = ComputeDeviceDefence(input, state, result, separators);
        if (judgement.Line)
            mainStatus.apply(*judgement.Line);
        else
            messages.showMessage(judgement.Refusal);
        return judgement.Line.has_value();
    }
    void alert() { mainStatus.apply(AlertDeviceDefence(state, result)); }
    void reset() { mainStatus.apply(ResetDeviceDefence(state, result)); }

    // The main window's device status line as the verdicts leave it.
    struct MainLine
    {
        std::string StatusDDLabel = "В расчете не определен";
        StatusColor StatusDDColor = StatusColor::Black;
        void apply(const TDeviceStatusLine &line)
        {
            StatusDDLabel = line.Text;
            if (line.Color)
                StatusDDColor = *line.Color;
        }
    };

    TDeviceDefenceState state;
    TCalcResult result;
    MainLine mainStatus;
    RecordingMessages messages;
    NumberSeparators separators = NumberSeparators::russian();
};

TEST(ReleaseMultipleTest, ReadsTheNumberAtTheStartOfTheText)
{
    struct Case
    {
        const char *text;
        std::optional<double> multiple;
    };
    const Case cases[] = {
            {"10 (\"C\")", 10},
            {"3 (\"A\")", 3},
            {"  20 (\"D\")", 20},
            {"12", 12},
            {"7.5", 7.5},
            {".5x", 0.5},
            {"2e1 A", 20},
            {"5e", 5},   // the letter has no digits after it, so it ends the number
            {"5e+C", 5}, // likewise with a sign
            {"-3 (\"A\")", -3},
            {"", std::nullopt},
            {"   ", std::nullopt},
            {"(\"C\") 10", std::nullopt},
            {"C", std::nullopt},
            {"-", std::nullopt},
            {".", std::nullopt},
            {"1e999", std::nullopt}, // beyond a double
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadReleaseMultiple(c.text), c.multiple) << '"' << c.text << '"';
}

TEST_F(DeviceDefenceTest, BreakerIsAcceptedAndTripsAtEquality)
{
    result.Iokz = 176;
    ASSERT_TRUE(compute(breaker("16", "10 (\"C\")", "1.1")));
    EXPECT_TRUE(messages.texts().empty());

    EXPECT_EQ(state.DeviceKind, ProtectionKind::Breaker);
    EXPECT_NEAR(state.Isr, 176, 1e-9);
    EXPECT_EQ(result.Isr, state.Isr);
    EXPECT_EQ(state.TypeDD, "Автоматический выключатель");
    EXPECT_EQ(state.Toknom, "Iном=16 А");
    EXPECT_EQ(state.KZ, "Кз=1.1");
    EXPECT_EQ(state.TokSR, "Iср=176 А");
    EXPECT_EQ(state.TimeSR, "Тср < 0,4 с");
    EXPECT_EQ(result.TimeSR, "Тср < 0,4 с");

    // 16 × 10 × 1.1 is a hair above 176 in binary, so the trip at equality is checked
    // with the exact value as well.
    result.Iokz = state.Isr;
    alert();
    EXPECT_EQ(mainStatus.StatusDDLabel,
              "Автоматический выключатель, Iном=16 А, Iср=176 А, Тср < 0,4 с, срабатывает");
    EXPECT_EQ(mainStatus.StatusDDColor, StatusColor::Black);
    EXPECT_EQ(state.Status, "Срабатывание за нормативное время");
}

TEST_F(DeviceDefenceTest, ReleaseCurrentInsteadOfMultiple)
{
    TDeviceDefenceInput input = breaker("16", "500", "1.1");
    input.TokNRChecked = true;
    ASSERT_TRUE(compute(input));
    EXPECT_NEAR(state.Isr, 550, 1e-9);

    input.TokNR = "10 (\"C\")"; // the whole text must be a number now
    EXPECT_FALSE(compute(input));
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Неверная величина тока независимого расцепителя"});
    EXPECT_NEAR(state.Isr, 550, 1e-9);
}

TEST_F(DeviceDefenceTest, FuseTripCurrents)
{
    struct Case
    {
        const char *type, *current, *factor, *time;
        double isr;
        const char *typeText;
    };
    const Case cases[] = {
            {"ППН", "63", "1.0", "Тср < 5 с", 330, "Плавкий предохранитель (ППН)"},
            {"ППН", "63", "1.0", "Тср < 0,4 с", 600, "Плавкий предохранитель (ППН)"},
            {"ППН", "63.9", "1.0", "Тср < 5 с", 330, "Плавкий предохранитель (ППН)"},
            {"НПН", "6.3", "1.1", "Тср < 5 с", 60.5, "Плавкий предохранитель (НПН)"},
            {"ПН2", "31.5", "1.0", "Тср < 0,4 с", 940, "Плавкий предохранитель (ПН2)"},
            {"ПН2", "630", "0.9", "Тср < 5 с", 5400, "Плавкий предохранитель (ПН2)"},
            {"ППН", "2", "0", "Тср < 5 с", 0, "Плавкий предохранитель (ППН)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.current + " " + c.time);
        ASSERT_TRUE(compute(fuse(c.type, c.current, c.factor, c.time)));
        EXPECT_EQ(state.DeviceKind, ProtectionKind::Fuse);
        EXPECT_NEAR(state.Isr, c.isr, 1e-9);
        EXPECT_EQ(state.TypeDD, c.typeText);
        EXPECT_EQ(state.Toknom, std::string("Iном=") + c.current + " А");
        EXPECT_EQ(state.KZ, std::string("Kз=") + c.factor);
    }
    EXPECT_TRUE(messages.texts().empty());

    ASSERT_TRUE(compute(fuse("НПН", "6.3", "1.1", "Тср < 5 с")));
    EXPECT_EQ(state.TokSR, "Iср=60,5 А");
}

TEST_F(DeviceDefenceTest, EachRefusalShowsItsOneMessage)
{
    struct Case
    {
        const char *name;
        TDeviceDefenceInput input;
        const char *message;
    };
    auto checked = [](TDeviceDefenceInput input) {
        input.TokNRChecked = true;
        return input;
    };
    const char *breakerCurrent
            = "Неверная величина номинального тока расцепителя автоматического выключателя";
    const char *multiple = "Неверная величина коэффициента независимого расцепителя";
    const char *releaseCurrent = "Неверная величина тока независимого расцепителя";
    const char *breakerFactor = "Неверная величина коэффициента запаса автоматического выключателя";
    const char *fuseCurrent = "Неверная величина тока плавкой вставки предохранителя";
    const char *fuseFactor = "Неверная величина коэффициента запаса плавкой вставки предохранителя";
    const char *time = "Неправильно указано время срабатывания";
    const char *type = "Неправильно указан тип предохранителя";
    const char *unknown = "Неизвестный номинальный ток плавкой вставки предохранителя.";
    const Case cases[] = {
            {"breaker current not a number", breaker("16 А", "C", "x"), breakerCurrent},
            {"breaker current negative", breaker("-1", "10", "1.1"), breakerCurrent},
            {"multiple without a number", breaker("16", "(\"C\")", "x"), multiple},
            {"multiple zero", breaker("16", "0 (\"Z\")", "1.1"), multiple},
            {"multiple empty", breaker("16", "", "1.1"), multiple},
            {"release current not whole text",
             checked(breaker("16", "10 (\"C\")", "x")),
             releaseCurrent},
            {"release current zero", checked(breaker("16", "0", "1.1")), releaseCurrent},
            {"breaker factor below one", breaker("16", "10", "0.9"), breakerFactor},
            {"fuse current not a number", fuse("ПН-2", "x", "x", "x"), fuseCurrent},
            {"fuse current negative", fuse("ППН", "-63", "1.1", "Тср < 5 с"), fuseCurrent},
            {"fuse factor negative", fuse("ПН-2", "63", "-0.1", "x"), fuseFactor},
            {"time checked before type", fuse("ПН-2", "63", "1.1", "Тср < 5с"), time},
            {"unknown type", fuse("ПН-2", "63", "1.1", "Тср < 5 с"), type},
            {"type compared exactly", fuse("ппн", "63", "1.1", "Тср < 5 с"), type},
            {"current of another type", fuse("ПН2", "32", "1.1", "Тср < 5 с"), unknown},
            {"current between keys", fuse("ППН", "3.9", "1.1", "Тср < 0,4 с"), unknown},
            {"current beyond any integer", fuse("ППН", "1e300", "1.1", "Тср < 5 с"), unknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        EXPECT_FALSE(compute(c.input));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
    }
}

// Only a factor below 1 is refused: exactly 1 is a valid breaker safety factor.
TEST_F(DeviceDefenceTest, BreakerSafetyFactorOfExactlyOneIsAccepted)
{
    EXPECT_TRUE(compute(breaker("16", "10", "1")));
    EXPECT_TRUE(compute(breaker("16", "10", "1.0")));
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(state.Isr, 160);
    EXPECT_EQ(state.KZ, "Кз=1.0");
    EXPECT_FALSE(compute(breaker("16", "10", "0.999")));
}

TEST_F(DeviceDefenceTest, ZeroRatedCurrentIsAcceptedWithoutSign)
{
    ASSERT_TRUE(compute(breaker("-0", "10", "1.1")));
    EXPECT_EQ(state.Isr, 0);
    EXPECT_FALSE(std::signbit(state.Isr));
    EXPECT_EQ(mainStatus.StatusDDLabel, "В расчете не определен");
}

TEST_F(DeviceDefenceTest, TripCurrentBeyondDoubleIsRefused)
{
    ASSERT_TRUE(compute(breaker("16", "10", "1.1")));
    const double accepted = state.Isr;

    EXPECT_FALSE(compute(breaker("1e300", "1e10", "1.1")));
    EXPECT_FALSE(compute(fuse("ППН", "63", "1e306", "Тср < 5 с")));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{
                      "Неверная величина коэффициента запаса автоматического выключателя",
                      "Неверная величина коэффициента запаса плавкой вставки предохранителя"}));
    EXPECT_EQ(state.Isr, accepted);
    EXPECT_TRUE(std::isfinite(result.Isr));
}

TEST_F(DeviceDefenceTest, RefusedPressKeepsWhatItsEarlierStepsWrote)
{
    result.Iokz = 1000;
    ASSERT_TRUE(compute(breaker("16", "10 (\"C\")", "1.1")));
    const std::string acceptedStatus = mainStatus.StatusDDLabel;

    // Refused at the time: the rated current, factor and type are already written.
    EXPECT_FALSE(compute(fuse("НПН", "40", "1.2", "")));
    EXPECT_EQ(state.DeviceKind, ProtectionKind::Fuse);
    EXPECT_EQ(state.Toknom, "Iном=40 А");
    EXPECT_EQ(state.KZ, "Kз=1.2");
    EXPECT_EQ(state.TypeDD, "Плавкий предохранитель (НПН)");
    EXPECT_EQ(state.TokSR, "Iср=176 А");
    EXPECT_EQ(state.TimeSR, "Тср < 0,4 с");
    EXPECT_NEAR(state.Isr, 176, 1e-9);
    EXPECT_EQ(state.TimeClass, FuseTimeClass::None);
    EXPECT_EQ(mainStatus.StatusDDLabel, acceptedStatus); // no verdict on a refusal

    // A breaker press writes its kind and type before anything is checked.
    EXPECT_FALSE(compute(breaker("x", "10", "1.1")));
    EXPECT_EQ(state.DeviceKind, ProtectionKind::Breaker);
    EXPECT_EQ(state.TypeDD, "Автоматический выключатель");
    EXPECT_EQ(state.Toknom, "Iном=40 А");

    // An unknown fuse type sets the time class and clears the trip current, so the next
    // verdict finds no device.
    EXPECT_FALSE(compute(fuse("ПН-2", "63", "1.1", "Тср < 0,4 с")));
    EXPECT_EQ(state.TimeClass, FuseTimeClass::Time04s);
    EXPECT_EQ(state.Isr, 0);
    EXPECT_EQ(result.Isr, 0);
    EXPECT_EQ(state.TypeDD, "Автоматический выключатель");
    alert();
    EXPECT_EQ(mainStatus.StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(state.Status, "В расчете не определен");
}

TEST_F(DeviceDefenceTest, VerdictBranches)
{
    struct Case
    {
        const char *name;
        ProtectionKind deviceKind;
        FuseTimeClass timeClass;
        double isr, iokz;
        const char *mainText;
        StatusColor color;
        const char *pageStatus;
        const char *timeSR;
    };
    const char *prefix = "T, I, S, ";
    const Case cases[] = {
            {"breaker trips",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             176,
             200,
             "Тср < 0,4 с, срабатывает",
             StatusColor::Black,
             "Срабатывание за нормативное время",
             "Тср < 0,4 с"},
            {"trip at equality",
             ProtectionKind::Fuse,
             FuseTimeClass::Time5s,
             330,
             330,
             "Тср < 5 с, срабатывает",
             StatusColor::Black,
             "Срабатывание за нормативное время",
             "Тср < 5 с"},
            {"fuse 0.4 s trips",
             ProtectionKind::Fuse,
             FuseTimeClass::Time04s,
             600,
             601,
             "Тср < 0,4 с, срабатывает",
             StatusColor::Black,
             "Срабатывание за нормативное время",
             "Тср < 0,4 с"},
            {"just below: rounded 176 does not trip",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             176,
             175.6,
             "Тср > 0,4 с, не срабатывает",
             StatusColor::Red,
             "Несрабатывание за нормативное время",
             "Тср > 0,4 с"},
            {"fuse 5 s fails",
             ProtectionKind::Fuse,
             FuseTimeClass::Time5s,
             330,
             329,
             "Тср > 5 с, не срабатывает",
             StatusColor::Red,
             "Несрабатывание за нормативное время",
             "Тср > 5 с"},
            {"fuse 0.4 s fails",
             ProtectionKind::Fuse,
             FuseTimeClass::Time04s,
             600,
             1,
             "Тср > 0,4 с, не срабатывает",
             StatusColor::Red,
             "Несрабатывание за нормативное время",
             "Тср > 0,4 с"},
            {"no kind keeps the trip time",
             ProtectionKind::None,
             FuseTimeClass::None,
             176,
             1,
             "old, не срабатывает",
             StatusColor::Red,
             "Несрабатывание за нормативное время",
             "old"},
            {"no device",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             0,
             100,
             nullptr,
             StatusColor::Black,
             "В расчете не определен",
             "old"},
            {"reset device",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             -1,
             0,
             nullptr,
             StatusColor::Black,
             "В расчете не определен",
             "old"},
            {"no calculation",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             176,
             0,
             nullptr,
             StatusColor::Black,
             "Выполните расчет тока однофазного короткого замыкания",
             "old"},
            {"current not a number",
             ProtectionKind::Breaker,
             FuseTimeClass::None,
             176,
             std::numeric_limits<double>::quiet_NaN(),
             nullptr,
             StatusColor::Black,
             "Выполните расчет тока однофазного короткого замыкания",
             "old"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state.DeviceKind = c.deviceKind;
        state.TimeClass = c.timeClass;
        state.Isr = c.isr;
        state.TypeDD = "T";
        state.Toknom = "I";
        state.TokSR = "S";
        state.TimeSR = "old";
        result.Iokz = c.iokz;
        mainStatus.StatusDDColor
                = c.color == StatusColor::Red ? StatusColor::Black : StatusColor::Red;
        alert();
        const std::string mainText
                = c.mainText ? prefix + std::string(c.mainText) : std::string(c.pageStatus);
        EXPECT_EQ(mainStatus.StatusDDLabel, mainText);
        EXPECT_EQ(mainStatus.StatusDDColor, c.color);
        EXPECT_EQ(state.Status, c.pageStatus);
        EXPECT_EQ(state.TimeSR, c.timeSR);
        EXPECT_EQ(result.TimeSR, c.timeSR);
        EXPECT_EQ(result.Isr, c.isr);
    }
}

TEST_F(DeviceDefenceTest, DeviceIsJudgedAgainAfterEveryCalculation)
{
    ASSERT_TRUE(compute(fuse("ППН", "63", "1.0", "Тср < 5 с")));
    EXPECT_EQ(mainStatus.StatusDDLabel, "Выполните расчет тока однофазного короткого замыкания");

    result = TCalcResult{};
    result.Iokz = 100;
    alert(); // a new calculation result knows nothing of the device until the verdict runs
    EXPECT_EQ(result.Isr, 330);
    EXPECT_EQ(result.TimeSR, "Тср > 5 с");
    EXPECT_EQ(mainStatus.StatusDDColor, StatusColor::Red);

    result.Iokz = 400;
    alert();
    EXPECT_EQ(mainStatus.StatusDDLabel,
              "Плавкий предохранитель (ППН), Iном=63 А, Iср=330 А, Тср < 5 с, срабатывает");
    EXPECT_EQ(mainStatus.StatusDDColor, StatusColor::Black);
}

TEST_F(DeviceDefenceTest, ResetForgetsTheDeviceButKeepsTheColour)
{
    result.Iokz = 100;
    ASSERT_TRUE(compute(breaker("16", "10 (\"C\")", "1.1")));
    ASSERT_EQ(mainStatus.StatusDDColor, StatusColor::Red);

    reset();
    EXPECT_EQ(mainStatus.StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(mainStatus.StatusDDColor, StatusColor::Red);
    EXPECT_EQ(state.Status, "В расчете не определен");
    EXPECT_EQ(state.Isr, -1);
    EXPECT_EQ(result.Isr, -1);
    EXPECT_EQ(result.TimeSR, "---");
    EXPECT_EQ(state.DeviceKind, ProtectionKind::Breaker);
    const TDeviceDefenceState fresh;
    EXPECT_EQ(state.TypeDD, fresh.TypeDD);
    EXPECT_EQ(state.Toknom, fresh.Toknom);
    EXPECT_EQ(state.KZ, fresh.KZ);
    EXPECT_EQ(state.TokSR, fresh.TokSR);
    EXPECT_EQ(state.TimeSR, fresh.TimeSR);

    result.Iokz = 5000;
    alert();
    EXPECT_EQ(mainStatus.StatusDDLabel, "В расчете не определен");
    EXPECT_EQ(mainStatus.StatusDDColor, StatusColor::Black);
}

} // namespace
} // namespace tormel
