#include "protection/MaxCurrents.h"

#include "calc/LineKindCatalogue.h"
#include "calc/TransUnit.h"
#include "core/NumberReading.h"
#include "protection/ConductorHeatingData.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

// U^2 of the 0.4 kV network in the units of the impedances: 0.4^2 kV^2 over MV*A gives
// ohms, times 1000 milliohms; with S in kV*A, 400^2 V^2 over kV*A gives milliohms x 1000.
constexpr double kNetworkSquare = 160;
constexpr double kNetworkSquareKva = 160000;

// The scheme without a three-phase fault.
constexpr std::string_view kSinglePhaseScheme = "1/1-0";
// The scheme whose single-phase cell gives the default positive sequence: with a
// delta-connected primary Z(1)/3 = Z1.
constexpr std::string_view kDeltaStarScheme = "T/Y-0";

// The normative time of a breaker's trip and of a fuse's time classes, s.
constexpr double kBreakerTime = 0.4;
constexpr double kFuseTime5s = 5;
constexpr double kFuseTime04s = 0.4;

TMaxCurrentReading refuse(MaxCurrentField field, std::string_view message)
{
    return {std::nullopt, TMaxCurrentRefusal{field, std::string(message)}};
}

std::optional<TImpedance> defaultPositiveSequence(const std::string &windKind, double power)
{
    if (windKind == kSinglePhaseScheme)
        return std::nullopt;
    const std::optional<TTransformerCell> cell
            = FindTransformerCell(std::string(kDeltaStarScheme), power);
    if (!cell)
        return std::nullopt;
    return TImpedance{cell->R / 3, cell->X / 3};
}

std::optional<double> normativeTime(const TDeviceDefenceState &device)
{
    if (!(device.Isr > 0))
        return std::nullopt;
    if (device.DeviceKind == ProtectionKind::Breaker)
        return kBreakerTime;
    if (device.DeviceKind == ProtectionKind::Fuse) {
        if (device.TimeClass == FuseTimeClass::Time5s)
            return kFuseTime5s;
        if (device.TimeClass == FuseTimeClass::Time04s)
            return kFuseTime04s;
    }
    return std::nullopt;
}

std::optional<TSectionWithstand> withstand(const TCalcResult &result,
                                           std::size_t n,
                                           double current,
                                           double largestCurrent,
                                           std::optional<double> time)
{
    const double phase = result.PhaseCrossSection[n];
    const double neutral = result.NeutralCrossSection[n];
    if (!(result.LineLength[n] > 0) || !(phase > 0) || !(neutral > 0)
        || FindLineKindGroup(result.LineKind[n]) == LineKindGroup::Tire)
        return std::nullopt;
    const std::optional<FaultTemperatures> temperatures
            = FindFaultTemperatures(result.LineKind[n], result.LineMetal[n]);
    const std::optional<AdiabaticConstants> metal = FindAdiabaticConstants(result.LineMetal[n]);
    if (!temperatures || !metal)
        return std::nullopt;

    TSectionWithstand entry;
    entry.K = AdiabaticFactor(metal->K, metal->Beta, temperatures->Initial, temperatures->Final);
    entry.Current = current;
    entry.Temperatures = *temperatures;
    entry.Metal = *metal;
    const double parallel = result.LineParallel[n];
    const double held = entry.K * parallel * std::min(phase, neutral);
    entry.Capacity = held * held;
    const double ratio = held / largestCurrent;
    entry.TimeAtMax = ratio * ratio;
    if (time) {
        entry.Time = time;
        entry.Smin = current * std::sqrt(*time) / entry.K;
        entry.Ok = parallel * phase >= *entry.Smin && parallel * neutral >= *entry.Smin;
    }
    return entry;
}

} // namespace

TMaxCurrentReading
ReadMaxCurrentInput(const TMaxCurrentInput &input, const std::string &windKind, double power)
{
    TMaxCurrentSettings settings;
    if (!input.Sk.empty()) {
        const std::optional<double> sk = ReadReal(input.Sk);
        if (!sk || !(*sk > 0) || !std::isfinite(kNetworkSquare / *sk))
            return refuse(MaxCurrentField::Sk, MaxCurrentText::SkRefused);
        settings.Sk = sk;
    }

    const bool threePhase = windKind != kSinglePhaseScheme;
    std::optional<double> uk;
    if (!input.Uk.empty()) {
        uk = ReadReal(input.Uk);
        if (!uk
            || (threePhase
                && (!(*uk > 0) || !std::isfinite(*uk / 100 * kNetworkSquareKva / power))))
            return refuse(MaxCurrentField::Uk, MaxCurrentText::UkRefused);
    }
    std::optional<double> pk;
    if (!input.Pk.empty()) {
        pk = ReadReal(input.Pk);
        if (!pk || (threePhase && *pk < 0))
            return refuse(MaxCurrentField::Pk, MaxCurrentText::PkRefused);
    }

    if (threePhase && uk && pk) {
        const double r = *pk * kNetworkSquareKva / (power * power);
        const double z = *uk / 100 * kNetworkSquareKva / power;
        if (!(r < z))
            return refuse(MaxCurrentField::Pk, MaxCurrentText::PkTooLarge);
        settings.Z1T = TImpedance{r, std::sqrt(z * z - r * r)};
    } else {
        settings.Z1T = defaultPositiveSequence(windKind, power);
    }

    if (!input.Icu.empty()) {
        const std::optional<double> icu = ReadReal(input.Icu);
        if (!icu || !(*icu > 0) || !std::isfinite(1000 * *icu))
            return refuse(MaxCurrentField::Icu, MaxCurrentText::IcuRefused);
        settings.Icu = icu;
    }
    return {settings, std::nullopt};
}

std::optional<TShortCircuitRating> DefaultShortCircuitRating(const std::string &windKind,
                                                             double power)
{
    const std::optional<TImpedance> z1 = defaultPositiveSequence(windKind, power);
    if (!z1)
        return std::nullopt;
    // The inverse of R1T = Pk 160000 / S^2 and Z1T = uk / 100 x 160000 / S.
    return TShortCircuitRating{std::hypot(z1->R, z1->X) * power / kNetworkSquareKva * 100,
                               z1->R * power * power / kNetworkSquareKva};
}

TMaxCurrentOutcome RunMaxCurrents(const TCalcInput &input,
                                  const TCalcResult &result,
                                  const TFeedAnalysis &analysis,
                                  const TDeviceDefenceState &device,
                                  const TMaxCurrentInput &texts)
{
    // The calculation accepted the power, so it reads.
    const TMaxCurrentReading reading
            = ReadMaxCurrentInput(texts, input.WindKind, ReadReal(input.TransPower).value_or(0));
    if (!reading.Settings)
        return {std::nullopt, reading.Refusal};
    return {ComputeMaxCurrents(result, analysis, device, *reading.Settings), std::nullopt};
}

double PeakFactor(double r, double x)
{
    return 1.02 + 0.98 * std::exp(-3 * r / x);
}

double AdiabaticFactor(double kConstant, double beta, double initial, double final)
{
    return kConstant * std::sqrt(std::log((final + beta) / (initial + beta)));
}

TMaxCurrents ComputeMaxCurrents(const TCalcResult &result,
                                const TFeedAnalysis &analysis,
                                const TDeviceDefenceState &device,
                                const TMaxCurrentSettings &settings)
{
    TMaxCurrents currents;
    currents.Z1T = settings.Z1T;

    // The supply referred to 0.4 kV; an unlimited one adds nothing.
    double rq = 0;
    double xq = 0;
    if (settings.Sk) {
        const double zq = kNetworkSquare / *settings.Sk;
        xq = 0.995 * zq;
        rq = 0.1 * xq;
    }
    currents.Supply = {rq, xq};

    // The three-phase loop: the supply, the transformer and the phase conductors.
    double r1 = 0;
    double x1 = 0;
    if (settings.Z1T) {
        r1 = rq + settings.Z1T->R;
        x1 = xq + settings.Z1T->X;
    }
    // The single-phase loop of cold conductors, without the contact and arc resistance.
    double r0 = 2 * rq / 3 + result.Rt / 3;
    double x0 = 2 * xq / 3 + result.Xt / 3;

    for (std::size_t p = 0; p < currents.Ik1.size(); ++p) {
        if (p > 0) {
            const std::size_t n = p - 1;
            const double length = result.LineLength[n];
            const double parallel = result.LineParallel[n];
            r1 += result.RPhasePerMetre[n] * length / parallel;
            x1 += result.XPhasePerMetre[n] * length / parallel;
            r0 += result.RLineCold[n];
            x0 += result.XLine[n];
        }
        currents.ZSingle[p] = {r0, x0};
        currents.Ik1[p] = PhaseVoltageMilliAmps / std::hypot(r0, x0);
        double r = r0;
        double x = x0;
        currents.Imax[p] = currents.Ik1[p];
        if (settings.Z1T) {
            currents.ZThree[p] = TImpedance{r1, x1};
            currents.Ik3[p] = PhaseVoltageMilliAmps / std::hypot(r1, x1);
            // At equal currents the three-phase loop gives the peak factor.
            if (*currents.Ik3[p] >= currents.Ik1[p]) {
                currents.Imax[p] = *currents.Ik3[p];
                r = r1;
                x = x1;
            }
        }
        currents.Kappa[p] = PeakFactor(r, x);
        currents.Ip[p] = currents.Kappa[p] * std::sqrt(2.0) * currents.Imax[p];
    }

    const std::optional<double> time = normativeTime(device);
    if (!time) {
        currents.NoBreakingReason = BreakingGap::NoDevice;
    } else if (!settings.Icu) {
        currents.NoBreakingReason = BreakingGap::NoIcu;
    } else {
        TBreakingCheck check;
        check.Imax = currents.Imax[0];
        check.Icu = 1000 * *settings.Icu;
        check.Margin = check.Icu / check.Imax;
        check.Ok = check.Imax <= check.Icu;
        currents.Breaking = check;
    }

    for (std::size_t n = 0; n < currents.Thermal.size(); ++n)
        currents.Thermal[n]
                = withstand(result, n, analysis.PointCurrents[n + 1], currents.Imax[n], time);
    return currents;
}

} // namespace tormel
