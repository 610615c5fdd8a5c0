#include "protection/DeviceDefenceUnit.h"

#include "core/NumberFormat.h"
#include "core/NumberReading.h"
#include "protection/FuseData.h"

#include <cmath>

namespace tormel {

namespace {

constexpr const char *Ampere = " А"; // a blank and the Cyrillic capital А
constexpr const char *NoDevice = "В расчете не определен";
constexpr const char *NoCalculation = "Выполните расчет тока однофазного короткого замыкания";

// The trip current and trip time travel with the calculation result into the report.
void setIsr(TDeviceDefenceState &state, TCalcResult &result, double isr)
{
    state.Isr = isr;
    result.Isr = isr;
}

void setTimeSR(TDeviceDefenceState &state, TCalcResult &result, std::string text)
{
    result.TimeSR = text;
    state.TimeSR = std::move(text);
}

using Accepted = TDeviceJudgement;

Accepted refuse(const char *text)
{
    return {std::nullopt, text};
}

// The trip current text, the verdict and the acceptance shared by both kinds of device.
Accepted acceptTripCurrent(double isr,
                           TDeviceDefenceState &state,
                           TCalcResult &result,
                           const NumberSeparators &separators)
{
    if (isr == 0)
        isr = 0; // a rated current typed as "-0" must not show as "-0"
    setIsr(state, result, isr);
    state.TokSR = "Iср=" + FormatGeneral(isr, separators) + Ampere;
    return {AlertDeviceDefence(state, result), {}};
}

Accepted computeBreaker(const TDeviceDefenceInput &input,
                        TDeviceDefenceState &state,
                        TCalcResult &result,
                        const NumberSeparators &separators)
{
    state.DeviceKind = ProtectionKind::Breaker;
    state.TypeDD = "Автоматический выключатель";

    const std::optional<double> inom = ReadReal(input.TokAVnom);
    if (!inom || *inom < 0)
        return refuse("Неверная величина номинального тока расцепителя автоматического "
                      "выключателя");
    state.Toknom = "Iном=" + input.TokAVnom + Ampere;

    std::optional<double> release; // the multiple, or the release current when checked
    if (!input.TokNRChecked) {
        release = ReadReleaseMultiple(input.TokNR);
        if (!release || !(*release > 0))
            return refuse("Неверная величина коэффициента независимого расцепителя");
    } else {
        release = ReadReal(input.TokNR);
        if (!release || !(*release > 0))
            return refuse("Неверная величина тока независимого расцепителя");
    }

    const char *const badFactor
            = "Неверная величина коэффициента запаса автоматического выключателя";
    const std::optional<double> kz = ReadReal(input.KZAV);
    if (!kz || *kz < 1)
        return refuse(badFactor);
    state.KZ = "Кз=" + input.KZAV;

    const double isr
            = input.TokNRChecked ? *release * *kz : BreakerTripCurrent(*inom, *release, *kz);
    // Values each within the range of a double can still multiply beyond it; such a
    // device cannot be judged, so the last factor read is refused.
    if (!std::isfinite(isr))
        return refuse(badFactor);
    state.Rule = {ProtectionKind::Breaker,
                  input.TokNRChecked,
                  *release,
                  *kz,
                  nullptr,
                  FuseTimeClass::None};
    return acceptTripCurrent(isr, state, result, separators);
}

Accepted computeFuse(const TDeviceDefenceInput &input,
                     TDeviceDefenceState &state,
                     TCalcResult &result,
                     const NumberSeparators &separators)
{
    state.DeviceKind = ProtectionKind::Fuse;

    const std::optional<double> inFuse = ReadReal(input.TokPP);
    if (!inFuse || *inFuse < 0)
        return refuse("Неверная величина тока плавкой вставки предохранителя");
    state.Toknom = "Iном=" + input.TokPP + Ampere;

    const char *const badFactor
            = "Неверная величина коэффициента запаса плавкой вставки предохранителя";
    const std::optional<double> kz = ReadReal(input.KZPP);
    if (!kz || *kz < 0)
        return refuse(badFactor);
    state.KZ = "Kз=" + input.KZPP; // a Latin K here, unlike the breaker's

    // The tables are keyed by the whole part of the rated current. It stays a double:
    // a huge current simply matches no key instead of overflowing an integer.
    const double key = std::trunc(*inFuse);

    const FuseTypeData *type = FindFuseType(input.TypePP);
    if (type)
        state.TypeDD = std::string(type->DeviceText);

    if (input.TimePP == FuseTime5s)
        state.TimeClass = FuseTimeClass::Time5s;
    else if (input.TimePP == FuseTime04s)
        state.TimeClass = FuseTimeClass::Time04s;
    else
        return refuse("Неправильно указано время срабатывания");

    if (!type) {
        setIsr(state, result, 0);
        return refuse("Неправильно указан тип предохранителя");
    }

    const std::optional<double> imelt = FuseMeltingCurrent(*type, state.TimeClass, key);
    if (!imelt)
        return refuse("Неизвестный номинальный ток плавкой вставки предохранителя.");

    const double isr = FuseTripCurrent(*imelt, *kz);
    if (!std::isfinite(isr))
        return refuse(badFactor);
    state.Rule = {ProtectionKind::Fuse, false, 0, *kz, type, state.TimeClass};
    return acceptTripCurrent(isr, state, result, separators);
}

} // namespace

std::optional<double> ReadReleaseMultiple(std::string_view text)
{
    const std::size_t length = RealNumberPrefixLength(text);
    if (length == 0)
        return std::nullopt;
    return ReadReal(text.substr(0, length));
}

TDeviceJudgement ComputeDeviceDefence(const TDeviceDefenceInput &input,
                                      TDeviceDefenceState &state,
                                      TCalcResult &result,
                                      const NumberSeparators &separators)
{
    if (input.AV)
        return computeBreaker(input, state, result, separators);
    return computeFuse(input, state, result, separators);
}

TDeviceStatusLine AlertDeviceDefence(TDeviceDefenceState &state, TCalcResult &result)
{
    const double current = result.Iokz; // unrounded: 175.6 A does not trip a 176 A device
    const double isr = state.Isr;
    // The result may be a new calculation's: the device's values travel with it whatever
    // the branch below.
    setIsr(state, result, isr);
    result.TimeSR = state.TimeSR;

    auto summary = [&state](const char *outcome) {
        return state.TypeDD + ", " + state.Toknom + ", " + state.TokSR + ", " + state.TimeSR + ", "
               + outcome;
    };

    if (current >= isr) {
        if (DeviceTrips(current, isr)) {
            state.Status = "Срабатывание за нормативное время";
            if (state.DeviceKind == ProtectionKind::Breaker)
                setTimeSR(state, result, std::string(FuseTime04s));
            else if (state.DeviceKind == ProtectionKind::Fuse)
                setTimeSR(state,
                          result,
                          std::string(state.TimeClass == FuseTimeClass::Time5s ? FuseTime5s
                                                                               : FuseTime04s));
            return {summary("срабатывает"), StatusColor::Black};
        }
        state.Status = NoDevice;
        return {NoDevice, StatusColor::Black};
    }
    if (current > 0) {
        state.Status = "Несрабатывание за нормативное время";
        if (state.DeviceKind == ProtectionKind::Breaker)
            setTimeSR(state, result, "Тср > 0,4 с");
        else if (state.DeviceKind == ProtectionKind::Fuse)
            setTimeSR(state,
                      result,
                      state.TimeClass == FuseTimeClass::Time5s ? "Тср > 5 с" : "Тср > 0,4 с");
        return {summary("не срабатывает"), StatusColor::Red};
    }
    // Also a current that is not a number at all: nothing sensible to judge.
    state.Status = NoCalculation;
    return {NoCalculation, StatusColor::Black};
}

TDeviceStatusLine ResetDeviceDefence(TDeviceDefenceState &state, TCalcResult &result)
{
    state.TypeDD = "---";
    state.Toknom = "---";
    state.KZ = "---";
    state.TokSR = "---";
    setTimeSR(state, result, "---");
    setIsr(state, result, -1);
    state.Rule = {};
    state.Status = NoDevice;
    return {NoDevice, std::nullopt};
}

} // namespace tormel
