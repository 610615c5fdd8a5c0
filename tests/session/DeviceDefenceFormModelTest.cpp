#include "session/DeviceDefenceFormModel.h"

#include "core/NumberFormat.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

namespace tormel {
namespace {

using testing::RecordingMessages;
using Items = std::vector<std::string>;

const Items Multiples{"3 (\"A\")", "5 (\"B\")", "10 (\"C\")", "12", "20 (\"D\")"};
const Items NpnCurrents{"6.3", "10", "16", "20", "25", "31.5", "40", "63"};

class DeviceDefenceFormModelTest : public ::testing::Test
{
protected:
    // "Да" as the session runs it: the window's inputs go to the trip check, and a
    // refusal is shown.
    std::optional<TDeviceStatusLine> pressOk()
    {
        const TDeviceJudgement judgement
                = ComputeDeviceDefence(model.ToInput(), state, result, separators);
        if (!judgement.Line)
            messages.showMessage(judgement.Refusal);
        return judgement.Line;
    }
    void changeFuseType()
    {
        if (const std::optional<std::string> refusal = TypePPComboBoxChange(model))
            messages.showMessage(*refusal);
    }

    TDeviceDefenceFormModel model;
    TDeviceDefenceState state;
    TCalcResult result;
    RecordingMessages messages;
    NumberSeparators separators = NumberSeparators::russian();
};

TEST_F(DeviceDefenceFormModelTest, StartingValuesGiveTheDefaultBreaker)
{
    EXPECT_TRUE(model.AVChecked);
    EXPECT_TRUE(model.BreakerGroupEnabled);
    EXPECT_FALSE(model.FuseGroupEnabled);
    EXPECT_EQ(model.TokNR.Items, Multiples);
    EXPECT_EQ(model.TokPP.Items.size(), 24u);

    EXPECT_TRUE(pressOk());
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_EQ(state.TokSR, "Iср=176 А");
    EXPECT_EQ(state.KZ, "Кз=1.1");
}

TEST_F(DeviceDefenceFormModelTest, RadioButtonsSwitchTheGroups)
{
    PPRadioButtonClick(model);
    EXPECT_FALSE(model.AVChecked);
    EXPECT_FALSE(model.BreakerGroupEnabled);
    EXPECT_TRUE(model.FuseGroupEnabled);
    EXPECT_FALSE(model.ToInput().AV);

    AVRadioButtonClick(model);
    EXPECT_TRUE(model.AVChecked);
    EXPECT_TRUE(model.BreakerGroupEnabled);
    EXPECT_FALSE(model.FuseGroupEnabled);
    EXPECT_TRUE(model.ToInput().AV);
}

TEST_F(DeviceDefenceFormModelTest, InputIsTakenFromEveryBoxEnabledOrNot)
{
    model.TokAVnom.Text = "25";
    model.KZPP.Text = "1.2";
    model.TimePP.Text = "Тср < 0,4 с";
    const TDeviceDefenceInput input = model.ToInput();
    EXPECT_EQ(input.TokAVnom, "25");
    EXPECT_EQ(input.TokNR, "10 (\"C\")");
    EXPECT_FALSE(input.TokNRChecked);
    EXPECT_EQ(input.KZAV, "1.1");
    EXPECT_EQ(input.TypePP, "ППН");
    EXPECT_EQ(input.TokPP, "63");
    EXPECT_EQ(input.KZPP, "1.2");
    EXPECT_EQ(input.TimePP, "Тср < 0,4 с");
}

TEST_F(DeviceDefenceFormModelTest, ReleaseCurrentCheckBoxEmptiesAndRestoresTheMultiples)
{
    model.TokNR.Text = "7.5";
    TokNRCheckBoxClick(model, true);
    EXPECT_TRUE(model.TokNRChecked);
    EXPECT_TRUE(model.TokNR.Items.empty());
    EXPECT_EQ(model.TokNR.Text, "");
    EXPECT_TRUE(model.ToInput().TokNRChecked);

    EXPECT_FALSE(pressOk());
    EXPECT_EQ(messages.texts(), Items{"Неверная величина тока независимого расцепителя"});
    EXPECT_EQ(model.TokAVnom.Text, "16"); // a refusal leaves the user's texts alone

    model.TokNR.Text = "500";
    EXPECT_TRUE(pressOk());
    EXPECT_EQ(state.TokSR, "Iср=550 А");

    TokNRCheckBoxClick(model, false);
    EXPECT_FALSE(model.TokNRChecked);
    EXPECT_EQ(model.TokNR.Items, Multiples);
    EXPECT_EQ(model.TokNR.Text, "10 (\"C\")");
}

TEST_F(DeviceDefenceFormModelTest, FuseTypeRefillsTheRatedCurrents)
{
    PPRadioButtonClick(model);
    model.TokPP.Text = "40";
    model.TypePP.Text = "НПН";
    changeFuseType();
    EXPECT_EQ(model.TokPP.Items, NpnCurrents);
    EXPECT_EQ(model.TokPP.Text, "63");
    EXPECT_TRUE(messages.texts().empty());

    EXPECT_TRUE(pressOk());
    EXPECT_NEAR(state.Isr, 198, 1e-9);
    EXPECT_EQ(state.TypeDD, "Плавкий предохранитель (НПН)");

    // Typed letter by letter, each incomplete text is reported and empties the list.
    for (const char *typed : {"П", "ПН"}) {
        model.TypePP.Text = typed;
        changeFuseType();
        EXPECT_TRUE(model.TokPP.Items.empty());
        EXPECT_EQ(model.TokPP.Text, "0");
    }
    EXPECT_EQ(messages.texts(), Items(2, "Неизвестный тип предохранителя"));

    model.TypePP.Text = "ПН2";
    changeFuseType();
    EXPECT_EQ(model.TokPP.Items.size(), 15u);
    EXPECT_EQ(model.TokPP.Items.front(), "31.5");
    EXPECT_EQ(model.TokPP.Text, "63");
    EXPECT_EQ(messages.texts().size(), 2u);
}

TEST_F(DeviceDefenceFormModelTest, ResetAndCancelClose)
{
    result.Iokz = 100;
    const std::optional<TDeviceStatusLine> accepted = pressOk();
    ASSERT_TRUE(accepted);
    ASSERT_EQ(accepted->Color, StatusColor::Red);

    model.TokAVnom.Text = "1600";
    EXPECT_EQ(BitBtn2Click(), DDFormOutcome::Close);
    EXPECT_NEAR(state.Isr, 176, 1e-9); // the device is untouched by a cancel
    EXPECT_EQ(model.TokAVnom.Text, "1600");

    ResetDeviceDefence(state, result);
    EXPECT_EQ(state.Isr, -1);
    EXPECT_EQ(model.TokAVnom.Text, "1600");
}

} // namespace
} // namespace tormel
