#include "protection/DeviceDefenceFormModel.h"

#include "core/MessageService.h"
#include "protection/FuseData.h"

namespace tormel {

namespace {

constexpr const char *DefaultMultiple = "10 (\"C\")";
constexpr const char *DefaultFuseCurrent = "63"; // every fuse type's list holds it

std::vector<std::string> releaseMultiples()
{
    return {"3 (\"A\")", "5 (\"B\")", DefaultMultiple, "12", "20 (\"D\")"};
}

std::vector<std::string> safetyFactors()
{
    return {"1.0", "1.05", "1.1", "1.15", "1.2"};
}

std::vector<std::string> ratedCurrents(const FuseTypeData &type)
{
    std::vector<std::string> items;
    items.reserve(type.RatedCurrents.size());
    for (const FuseRatedCurrentData &row : type.RatedCurrents)
        items.emplace_back(row.Text);
    return items;
}

constexpr std::array<std::string_view, 29> BreakerRatedCurrents{
        "1",   "2",   "3",   "4",   "5",   "6",   "8",    "10",   "13",  "16",
        "20",  "25",  "32",  "40",  "50",  "63",  "80",   "100",  "125", "160",
        "200", "250", "320", "400", "630", "800", "1000", "1250", "1600"};

} // namespace

std::span<const std::string_view> BreakerRatedCurrentTexts()
{
    return BreakerRatedCurrents;
}

TDeviceDefenceFormModel::TDeviceDefenceFormModel()
    : TokAVnom{{BreakerRatedCurrentTexts().begin(), BreakerRatedCurrentTexts().end()}, "16"}
    , TokNR{releaseMultiples(), DefaultMultiple}
    , KZAV{safetyFactors(), "1.1"}
    , TypePP{{}, "ППН"}
    , TokPP{ratedCurrents(FuseTypes().front()), DefaultFuseCurrent}
    , KZPP{safetyFactors(), "1.1"}
    , TimePP{{std::string(FuseTime5s), std::string(FuseTime04s)}, std::string(FuseTime5s)}
{
    for (const FuseTypeData &type : FuseTypes())
        TypePP.Items.emplace_back(type.Name);
}

TDeviceDefenceInput TDeviceDefenceFormModel::ToInput() const
{
    TDeviceDefenceInput input;
    input.AV = AVChecked;
    input.TokAVnom = TokAVnom.Text;
    input.TokNR = TokNR.Text;
    input.TokNRChecked = TokNRChecked;
    input.KZAV = KZAV.Text;
    input.TypePP = TypePP.Text;
    input.TokPP = TokPP.Text;
    input.KZPP = KZPP.Text;
    input.TimePP = TimePP.Text;
    return input;
}

void AVRadioButtonClick(TDeviceDefenceFormModel &model)
{
    model.AVChecked = true;
    model.BreakerGroupEnabled = true;
    model.FuseGroupEnabled = false;
}

void PPRadioButtonClick(TDeviceDefenceFormModel &model)
{
    model.AVChecked = false;
    model.BreakerGroupEnabled = false;
    model.FuseGroupEnabled = true;
}

void TokNRCheckBoxClick(TDeviceDefenceFormModel &model, bool checked)
{
    model.TokNRChecked = checked;
    if (checked)
        model.TokNR = {};
    else
        model.TokNR = {releaseMultiples(), DefaultMultiple};
}

void TypePPComboBoxChange(TDeviceDefenceFormModel &model, IMessageService &messages)
{
    if (const FuseTypeData *type = FindFuseType(model.TypePP.Text)) {
        model.TokPP = {ratedCurrents(*type), DefaultFuseCurrent};
        return;
    }
    messages.showMessage("Неизвестный тип предохранителя");
    model.TokPP = {{}, "0"};
}

DDFormOutcome BitBtn2Click()
{
    return DDFormOutcome::Close;
}

} // namespace tormel
