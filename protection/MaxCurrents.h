#pragma once

#include "calc/CalcTypes.h"
#include "protection/ConductorHeatingData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tormel {

struct TDeviceDefenceState;
struct TFeedAnalysis;

// The texts of the inputs of the largest fault currents, as typed; an empty text takes
// the default.
struct TMaxCurrentInput
{
    std::string Sk;  // the supply's short-circuit power, MV*A; empty: unlimited
    std::string Uk;  // the transformer's short-circuit voltage, %; empty: the table's
    std::string Pk;  // the transformer's load losses, kW; empty: the table's
    std::string Icu; // the device's rated breaking capacity, kA; empty: not given
};

enum class MaxCurrentField { Sk, Uk, Pk, Icu };

// Why the inputs were not accepted: the first refused field and its message.
struct TMaxCurrentRefusal
{
    MaxCurrentField Field = MaxCurrentField::Sk;
    std::string Message;
};

// A resistance and reactance, mOhm.
struct TImpedance
{
    double R = 0;
    double X = 0;
};

// The inputs read into numbers.
struct TMaxCurrentSettings
{
    std::optional<double> Sk;      // MV*A; none: unlimited
    std::optional<TImpedance> Z1T; // the transformer's positive sequence; none: no
                                   // three-phase current (single-phase scheme, no data)
    std::optional<double> Icu;     // kA; none: not given
};

struct TMaxCurrentReading
{
    std::optional<TMaxCurrentSettings> Settings; // empty when refused
    std::optional<TMaxCurrentRefusal> Refusal;
};

// Reads the inputs of a calculation whose transformer (scheme and power) was accepted, in
// the order Sk, uk, Pk, Icu; the first refused text stops the reading.
TMaxCurrentReading
ReadMaxCurrentInput(const TMaxCurrentInput &input, const std::string &windKind, double power);

// The transformer's short-circuit voltage, %, and load losses, kW, that its default
// positive sequence corresponds to: what the inputs show until the user types their own.
// None for the single-phase scheme and where the table has no default.
struct TShortCircuitRating
{
    double Uk = 0;
    double Pk = 0;
};
std::optional<TShortCircuitRating> DefaultShortCircuitRating(const std::string &windKind,
                                                             double power);

// The breaking capacity check of the device at the transformer's terminals.
struct TBreakingCheck
{
    double Imax = 0;   // the largest current at the terminals, A
    double Icu = 0;    // the device's breaking capacity, A
    double Margin = 0; // Icu / Imax
    bool Ok = false;   // Imax <= Icu
};

// Why there is no breaking capacity verdict.
enum class BreakingGap { None, NoDevice, NoIcu };

// The heating of one section's conductors by the fault current until it is cleared.
struct TSectionWithstand
{
    double K = 0;               // of the adiabatic heating, A*sqrt(s)/mm^2
    double Current = 0;         // the smallest fault current at the section's end, A
    std::optional<double> Time; // the device's normative time, s; none without a device
    std::optional<double> Smin; // the least cross-section that withstands it, mm^2
    double Capacity = 0;        // the conductors' I^2t capacity, A^2*s
    double TimeAtMax = 0;       // the time they stand the largest current through them, s
    std::optional<bool> Ok;     // both the phase and the neutral hold Smin
    // What k was made of.
    FaultTemperatures Temperatures;
    AdiabaticConstants Metal;
};

// The largest fault currents of a feed and the checks made with them, at the transformer's
// terminals (index 0) and at the end of each section (1..6); currents in A.
struct TMaxCurrents
{
    std::optional<TImpedance> Z1T;
    std::array<std::optional<double>, LineCount + 1> Ik3{}; // none without Z1T
    std::array<double, LineCount + 1> Ik1{};                // single-phase, cold conductors
    std::array<double, LineCount + 1> Imax{};               // the larger of the two
    std::array<double, LineCount + 1> Ip{};                 // the peak current
    // The loops that gave the currents, mOhm, and the peak factor.
    std::array<std::optional<TImpedance>, LineCount + 1> ZThree{};
    std::array<TImpedance, LineCount + 1> ZSingle{};
    std::array<double, LineCount + 1> Kappa{};
    TImpedance Supply; // RQ, XQ; zero for an unlimited supply
    std::optional<TBreakingCheck> Breaking;
    BreakingGap NoBreakingReason = BreakingGap::None;
    // None for a section of zero length, busbar trunking or without conductors.
    std::array<std::optional<TSectionWithstand>, LineCount> Thermal{};
};

// The largest fault currents of a successful calculation `result`, analysed as `analysis`,
// protected by `device`.
TMaxCurrents ComputeMaxCurrents(const TCalcResult &result,
                                const TFeedAnalysis &analysis,
                                const TDeviceDefenceState &device,
                                const TMaxCurrentSettings &settings);

// What the session computes after a successful calculation and after every change of the
// device: the largest currents, or the refusal of the first wrong input.
struct TMaxCurrentOutcome
{
    std::optional<TMaxCurrents> Currents;
    std::optional<TMaxCurrentRefusal> Refusal;
};
TMaxCurrentOutcome RunMaxCurrents(const TCalcInput &input,
                                  const TCalcResult &result,
                                  const TFeedAnalysis &analysis,
                                  const TDeviceDefenceState &device,
                                  const TMaxCurrentInput &texts);

// The peak factor of a current limited by R + jX.
double PeakFactor(double r, double x);

// The factor k of a conductor heated from `initial` to `final` degrees.
double AdiabaticFactor(double kConstant, double beta, double initial, double final);

namespace MaxCurrentText {

inline constexpr std::string_view SkRefused = "Неверная мощность короткого замыкания питающей сети";
inline constexpr std::string_view UkRefused
        = "Неверное напряжение короткого замыкания трансформатора";
inline constexpr std::string_view PkRefused = "Неверные потери короткого замыкания трансформатора";
inline constexpr std::string_view PkTooLarge
        = "Потери короткого замыкания трансформатора слишком велики для его напряжения "
          "короткого замыкания";
inline constexpr std::string_view IcuRefused = "Неверная отключающая способность аппарата защиты";

} // namespace MaxCurrentText

} // namespace tormel
