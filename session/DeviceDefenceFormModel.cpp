#include "session/DeviceDefenceFormModel.h"

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

} // namespace

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

std::optional<std::string> TypePPComboBoxChange(TDeviceDefenceFormModel &model)
{
    if (const FuseTypeData *type = FindFuseType(model.TypePP.Text)) {
        model.TokPP = {ratedCurrents(*type), DefaultFuseCurrent};
        return std::nullopt;
    }
    model.TokPP = {{}, "0"};
    return "Неизвестный тип предохранителя";
}

DDFormOutcome BitBtn2Click()
{
    return DDFormOutcome::Close;
}

} // namespace tormel
