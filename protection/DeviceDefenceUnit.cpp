#include "protection/DeviceDefenceUnit.h"

#include "core/DeviceDefencePage.h"
#include "core/MainStatus.h"
#include "core/MessageService.h"
#include "core/NumberFormat.h"
#include "core/NumberReading.h"
#include "protection/FuseData.h"

#include <cmath>

namespace tormel {

namespace {

constexpr const char *Ampere = " А"; // a blank and the Cyrillic capital А
constexpr const char *NoDevice = "В расчете не определен";
constexpr const char *NoCalculation = "Выполните расчет тока однофазного короткого замыкания";

// Every text of the device is shown by the result window's page the moment it changes,
// and the trip current and trip time travel with the calculation result into the report.
struct DeviceWriter
{
    TDeviceDefenceState &state;
    TCalcResult &result;
    TDeviceDefencePage &page;

    void setTypeDD(std::string text)
    {
        state.TypeDD = text;
        page.TypeDD = std::move(text);
    }
    void setToknom(std::string text)
    {
        state.Toknom = text;
        page.Toknom = std::move(text);
    }
    void setKZ(std::string text)
    {
        state.KZ = text;
        page.KZ = std::move(text);
    }
    void setTokSR(std::string text)
    {
        state.TokSR = text;
        page.TokSR = std::move(text);
    }
    void setTimeSR(std::string text)
    {
        state.TimeSR = text;
        result.TimeSR = text;
        page.TimeSR = std::move(text);
    }
    void setIsr(double isr)
    {
        state.Isr = isr;
        result.Isr = isr;
    }
};

bool refuse(IMessageService &messages, const char *text)
{
    messages.showMessage(text);
    return false;
}

// The trip current text, the verdict and the acceptance shared by both kinds of device.
bool acceptTripCurrent(double isr,
                       DeviceWriter &writer,
                       MainStatus &mainStatus,
                       const NumberSeparators &separators)
{
    if (isr == 0)
        isr = 0; // a rated current typed as "-0" must not show as "-0"
    writer.setIsr(isr);
    writer.setTokSR("Iср=" + FormatGeneral(isr, separators) + Ampere);
    AlertDeviceDefence(writer.state, writer.result, mainStatus, writer.page);
    return true;
}

bool computeBreaker(const TDeviceDefenceInput &input,
                    DeviceWriter &writer,
                    MainStatus &mainStatus,
                    IMessageService &messages,
                    const NumberSeparators &separators)
{
    writer.state.DeviceKind = 1;
    writer.setTypeDD("Автоматический выключатель");

    const std::optional<double> inom = ReadReal(input.TokAVnom);
    if (!inom || *inom < 0)
        return refuse(messages,
                      "Неверная величина номинального тока расцепителя автоматического "
                      "выключателя");
    writer.setToknom("Iном=" + input.TokAVnom + Ampere);

    std::optional<double> release; // the multiple, or the release current when checked
    if (!input.TokNRChecked) {
        release = ReadReleaseMultiple(input.TokNR);
        if (!release || !(*release > 0))
            return refuse(messages, "Неверная величина коэффициента независимого расцепителя");
    } else {
        release = ReadReal(input.TokNR);
        if (!release || !(*release > 0))
            return refuse(messages, "Неверная величина тока независимого расцепителя");
    }

    const char *const badFactor
            = "Неверная величина коэффициента запаса автоматического выключателя";
    const std::optional<double> kz = ReadReal(input.KZAV);
    if (!kz || *kz < 1)
        return refuse(messages, badFactor);
    writer.setKZ("Кз=" + input.KZAV);

    const double isr
            = input.TokNRChecked ? *release * *kz : BreakerTripCurrent(*inom, *release, *kz);
    // Values each within the range of a double can still multiply beyond it; such a
    // device cannot be judged, so the last factor read is refused.
    if (!std::isfinite(isr))
        return refuse(messages, badFactor);
    writer.state.Rule = {1, input.TokNRChecked, *release, *kz, nullptr, 0};
    return acceptTripCurrent(isr, writer, mainStatus, separators);
}

bool computeFuse(const TDeviceDefenceInput &input,
                 DeviceWriter &writer,
                 MainStatus &mainStatus,
                 IMessageService &messages,
                 const NumberSeparators &separators)
{
    writer.state.DeviceKind = 2;

    const std::optional<double> inFuse = ReadReal(input.TokPP);
    if (!inFuse || *inFuse < 0)
        return refuse(messages, "Неверная величина тока плавкой вставки предохранителя");
    writer.setToknom("Iном=" + input.TokPP + Ampere);

    const char *const badFactor
            = "Неверная величина коэффициента запаса плавкой вставки предохранителя";
    const std::optional<double> kz = ReadReal(input.KZPP);
    if (!kz || *kz < 0)
        return refuse(messages, badFactor);
    writer.setKZ("Kз=" + input.KZPP); // a Latin K here, unlike the breaker's

    // The tables are keyed by the whole part of the rated current. It stays a double:
    // a huge current simply matches no key instead of overflowing an integer.
    const double key = std::trunc(*inFuse);

    const FuseTypeData *type = FindFuseType(input.TypePP);
    if (type)
        writer.setTypeDD(std::string(type->DeviceText));

    if (input.TimePP == FuseTime5s)
        writer.state.TimeClass = 1;
    else if (input.TimePP == FuseTime04s)
        writer.state.TimeClass = 2;
    else
        return refuse(messages, "Неправильно указано время срабатывания");

    if (!type) {
        writer.setIsr(0);
        return refuse(messages, "Неправильно указан тип предохранителя");
    }

    const std::optional<double> imelt = FuseMeltingCurrent(*type, writer.state.TimeClass, key);
    if (!imelt)
        return refuse(messages, "Неизвестный номинальный ток плавкой вставки предохранителя.");

    const double isr = FuseTripCurrent(*imelt, *kz);
    if (!std::isfinite(isr))
        return refuse(messages, badFactor);
    writer.state.Rule = {2, false, 0, *kz, type, writer.state.TimeClass};
    return acceptTripCurrent(isr, writer, mainStatus, separators);
}

} // namespace

std::optional<double> ReadReleaseMultiple(std::string_view text)
{
    const std::size_t length = RealNumberPrefixLength(text);
    if (length == 0)
        return std::nullopt;
    return ReadReal(text.substr(0, length));
}

bool ComputeDeviceDefence(const TDeviceDefenceInput &input,
                          TDeviceDefenceState &state,
                          TCalcResult &result,
                          MainStatus &mainStatus,
                          TDeviceDefencePage &page,
                          IMessageService &messages,
                          const NumberSeparators &separators)
{
    DeviceWriter writer{state, result, page};
    if (input.AV)
        return computeBreaker(input, writer, mainStatus, messages, separators);
    return computeFuse(input, writer, mainStatus, messages, separators);
}

void AlertDeviceDefence(TDeviceDefenceState &state,
                        TCalcResult &result,
                        MainStatus &mainStatus,
                        TDeviceDefencePage &page)
{
    DeviceWriter writer{state, result, page};
    const double current = result.Iokz; // unrounded: 175.6 A does not trip a 176 A device
    const double isr = state.Isr;
    // The result may be a new calculation's: the device's values travel with it whatever
    // the branch below.
    writer.setIsr(isr);
    result.TimeSR = state.TimeSR;

    auto summary = [&state](const char *outcome) {
        return state.TypeDD + ", " + state.Toknom + ", " + state.TokSR + ", " + state.TimeSR + ", "
               + outcome;
    };

    if (DeviceTrips(current, isr)) {
        page.Status = "Срабатывание за нормативное время";
        if (state.DeviceKind == 1)
            writer.setTimeSR(std::string(FuseTime04s));
        else if (state.DeviceKind == 2)
            writer.setTimeSR(std::string(state.TimeClass == 1 ? FuseTime5s : FuseTime04s));
        mainStatus.StatusDDLabel = summary("срабатывает");
        mainStatus.StatusDDColor = StatusColor::Black;
    } else if (current >= isr) {
        mainStatus.StatusDDLabel = NoDevice;
        mainStatus.StatusDDColor = StatusColor::Black;
        page.Status = NoDevice;
    } else if (current > 0) {
        page.Status = "Несрабатывание за нормативное время";
        if (state.DeviceKind == 1)
            writer.setTimeSR("Тср > 0,4 с");
        else if (state.DeviceKind == 2)
            writer.setTimeSR(state.TimeClass == 1 ? "Тср > 5 с" : "Тср > 0,4 с");
        mainStatus.StatusDDLabel = summary("не срабатывает");
        mainStatus.StatusDDColor = StatusColor::Red;
    } else {
        // Also a current that is not a number at all: nothing sensible to judge.
        mainStatus.StatusDDLabel = NoCalculation;
        mainStatus.StatusDDColor = StatusColor::Black;
        page.Status = NoCalculation;
    }
}

void ResetDeviceDefence(TDeviceDefenceState &state,
                        TCalcResult &result,
                        MainStatus &mainStatus,
                        TDeviceDefencePage &page)
{
    DeviceWriter writer{state, result, page};
    writer.setTypeDD("---");
    writer.setToknom("---");
    writer.setKZ("---");
    writer.setTokSR("---");
    writer.setTimeSR("---");
    writer.setIsr(-1);
    state.Rule = {};
    mainStatus.StatusDDLabel = NoDevice;
    page.Status = NoDevice;
}

} // namespace tormel
