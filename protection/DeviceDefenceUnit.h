#pragma once

#include "calc/CalcTypes.h"
#include "protection/DeviceStatusLine.h"
#include "protection/FuseData.h"

#include <optional>
#include <string>
#include <string_view>

namespace tormel {

struct FuseTypeData;
struct NumberSeparators;

// Which kind of device the user chose last.
enum class ProtectionKind { None, Breaker, Fuse };

// What made the trip current of the last accepted device, so that other rated currents
// can be judged by the same rule.
struct TDeviceTripRule
{
    ProtectionKind DeviceKind = ProtectionKind::None; // before any acceptance: None
    bool ReleaseCurrentGiven = false; // breaker: the release's trip current was typed
    double Multiple = 0;              // breaker: the release multiple
    double SafetyFactor = 0;          // Кз of either kind
    const FuseTypeData *FuseType = nullptr;
    FuseTimeClass TimeClass = FuseTimeClass::None; // fuse: its normative time
};

// The protection device chosen for the line, kept for the whole run of the program.
// Its texts are those that the result window's page "Аппарат защиты" shows.
struct TDeviceDefenceState
{
    ProtectionKind DeviceKind = ProtectionKind::None;
    FuseTimeClass TimeClass = FuseTimeClass::None; // a fuse's normative time
    double Isr = 0;                                // trip current, A; -1 after a reset
    std::string TypeDD = "---";
    std::string Toknom = "---";
    std::string KZ = "---";
    std::string TokSR = "---";
    std::string TimeSR = "---";
    std::string Status = "в расчете не определен."; // the verdict line of the page
    TDeviceTripRule Rule; // of the last accepted device; cleared by a reset
};

// The texts of the protection device window for one press of "Да", as typed or picked.
struct TDeviceDefenceInput
{
    bool AV = true; // circuit breaker; false for a fuse
    std::string TokAVnom;
    std::string TokNR; // release multiple, or its trip current in A when TokNRChecked
    bool TokNRChecked = false;
    std::string KZAV;
    std::string TypePP;
    std::string TokPP;
    std::string KZPP;
    std::string TimePP;
};

// The two normative time texts of a fuse, which are also the trip time texts.
inline constexpr std::string_view FuseTime5s = "Тср < 5 с";
inline constexpr std::string_view FuseTime04s = "Тср < 0,4 с";

// The trip current of a breaker of rated current `inom`, multiplied in this order.
inline double BreakerTripCurrent(double inom, double multiple, double safetyFactor)
{
    return inom * multiple * safetyFactor;
}

// The trip current of a fuse link that melts at `imelt` within its normative time.
inline double FuseTripCurrent(double imelt, double safetyFactor)
{
    return imelt * safetyFactor;
}

// The verdict's rule: a device trips within the normative time when the unrounded current
// is not below its trip current; a trip current of 0 or less is no device at all.
inline bool DeviceTrips(double iokz, double isr)
{
    return iokz >= isr && isr > 0;
}

// The release multiple is the number with which its text begins, so that list entries
// such as "10 ("C")" read as 10: leading blanks are skipped and reading stops at the
// first character that cannot continue the number. No leading number, or one beyond
// the range of a double, gives nothing.
std::optional<double> ReadReleaseMultiple(std::string_view text);

// A device judged: the main window's device status line when it is accepted, otherwise
// the text of the refusal's message box.
struct TDeviceJudgement
{
    std::optional<TDeviceStatusLine> Line;
    std::string Refusal;
};

// Checks the device data, computes its trip current and texts, and judges the device
// against result.Iokz. A refused device keeps whatever the steps before the refusal wrote.
TDeviceJudgement ComputeDeviceDefence(const TDeviceDefenceInput &input,
                                      TDeviceDefenceState &state,
                                      TCalcResult &result,
                                      const NumberSeparators &separators);

// The verdict: does the device trip on result.Iokz within the normative time? Writes the
// trip time text and the page's verdict line, copies the trip current and trip time into
// the result, and gives the main window's device status line with its colour.
TDeviceStatusLine AlertDeviceDefence(TDeviceDefenceState &state, TCalcResult &result);

// Forgets the device: every later verdict reads "В расчете не определен" until a device
// is accepted again. The main window's status colour stays as it was.
TDeviceStatusLine ResetDeviceDefence(TDeviceDefenceState &state, TCalcResult &result);

} // namespace tormel
