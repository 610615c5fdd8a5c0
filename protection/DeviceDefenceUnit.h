#pragma once

#include "calc/CalcTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace tormel {

class IMessageService;
struct MainStatus;
struct FuseTypeData;
struct NumberSeparators;
struct TDeviceDefencePage;

// What made the trip current of the last accepted device, so that other rated currents
// can be judged by the same rule.
struct TDeviceTripRule
{
    int DeviceKind = 0;               // 1 circuit breaker, 2 fuse; 0 before any acceptance
    bool ReleaseCurrentGiven = false; // breaker: the release's trip current was typed
    double Multiple = 0;              // breaker: the release multiple
    double SafetyFactor = 0;          // Кз of either kind
    const FuseTypeData *FuseType = nullptr;
    int TimeClass = 0; // fuse: 1 is 5 s, 2 is 0.4 s
};

// The protection device chosen for the line, kept for the whole run of the program.
// The five texts are those of the result window's device page, which is written
// alongside them.
struct TDeviceDefenceState
{
    int DeviceKind = 0; // 0 none chosen yet, 1 circuit breaker, 2 fuse
    int TimeClass = 0;  // fuse normative time: 1 is 5 s, 2 is 0.4 s
    double Isr = 0;     // trip current, A; -1 after a reset
    std::string TypeDD = "---";
    std::string Toknom = "---";
    std::string KZ = "---";
    std::string TokSR = "---";
    std::string TimeSR = "---";
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

// Checks the device data, computes its trip current and texts, and judges the device
// against result.Iokz. Returns true when the device is accepted; otherwise shows one
// message and returns false, keeping whatever the steps before the refusal wrote.
bool ComputeDeviceDefence(const TDeviceDefenceInput &input,
                          TDeviceDefenceState &state,
                          TCalcResult &result,
                          MainStatus &mainStatus,
                          TDeviceDefencePage &page,
                          IMessageService &messages,
                          const NumberSeparators &separators);

// The verdict: does the device trip on result.Iokz within the normative time? Writes the
// trip time text, both device status lines and the main status colour, and copies the
// trip current and trip time into the result.
void AlertDeviceDefence(TDeviceDefenceState &state,
                        TCalcResult &result,
                        MainStatus &mainStatus,
                        TDeviceDefencePage &page);

// Forgets the device: every later verdict reads "В расчете не определен" until a device
// is accepted again. The main status colour stays as it was.
void ResetDeviceDefence(TDeviceDefenceState &state,
                        TCalcResult &result,
                        MainStatus &mainStatus,
                        TDeviceDefencePage &page);

} // namespace tormel
