#include "protection/FeedAnalysis.h"

#include "core/NumberReading.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FuseData.h"

#include <cmath>
#include <string_view>
#include <vector>

namespace tormel {

namespace {

std::optional<double> finite(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// The rated currents of a list, read once: the lists are constant, and reading their
// texts would be most of the analysis' work.
template<typename Entries, typename TextOf>
std::vector<std::optional<double>> readRatings(const Entries &entries, TextOf textOf)
{
    std::vector<std::optional<double>> ratings;
    for (const auto &entry : entries)
        ratings.push_back(ReadReal(textOf(entry)));
    return ratings;
}

std::string_view breakerText(std::string_view text)
{
    return text;
}

std::string_view fuseText(const FuseRatedCurrentData &row)
{
    return row.Text;
}

// The text of the entry with the largest rated current among `entries` (whose currents
// are `ratings`) whose trip current, made by `tripCurrent` from the entry and its current,
// trips at `iokz`.
template<typename Entries, typename TextOf, typename TripCurrent>
std::optional<std::string> largestTripping(const Entries &entries,
                                           const std::vector<std::optional<double>> &ratings,
                                           double iokz,
                                           TextOf textOf,
                                           TripCurrent tripCurrent)
{
    std::optional<std::size_t> best;
    std::size_t i = 0;
    for (const auto &entry : entries) {
        const std::optional<double> &rating = ratings[i++];
        if (!rating || (best && !(*rating > *ratings[*best])))
            continue;
        const std::optional<double> isr = tripCurrent(entry, *rating);
        if (isr && DeviceTrips(iokz, *isr))
            best = i - 1;
    }
    if (!best)
        return std::nullopt;
    return std::string(textOf(entries[*best]));
}

std::optional<std::string> largestDevice(const TDeviceTripRule &rule, double iokz)
{
    if (rule.DeviceKind == ProtectionKind::Breaker && !rule.ReleaseCurrentGiven) {
        static const std::vector<std::optional<double>> ratings
                = readRatings(BreakerRatedCurrentTexts(), breakerText);
        return largestTripping(BreakerRatedCurrentTexts(),
                               ratings,
                               iokz,
                               breakerText,
                               [&rule](std::string_view, double inom) -> std::optional<double> {
                                   return BreakerTripCurrent(
                                           inom, rule.Multiple, rule.SafetyFactor);
                               });
    }
    if (rule.DeviceKind == ProtectionKind::Fuse && rule.FuseType) {
        static const std::vector<std::vector<std::optional<double>>> ratingsByType = [] {
            std::vector<std::vector<std::optional<double>>> all;
            for (const FuseTypeData &type : FuseTypes())
                all.push_back(readRatings(type.RatedCurrents, fuseText));
            return all;
        }();
        const FuseTypeData &type = *rule.FuseType;
        const auto index = static_cast<std::size_t>(&type - FuseTypes().data());
        return largestTripping(
                type.RatedCurrents,
                ratingsByType.at(index),
                iokz,
                fuseText,
                [&](const FuseRatedCurrentData &row, double) -> std::optional<double> {
                    const std::optional<double> imelt
                            = FuseMeltingCurrent(type, rule.TimeClass, row.Key);
                    if (!imelt)
                        return std::nullopt;
                    return FuseTripCurrent(*imelt, rule.SafetyFactor);
                });
    }
    return std::nullopt;
}

} // namespace

std::optional<double> PermittedLength(double r0, double x0, double r, double x, double limit)
{
    const double perMetre = std::hypot(r, x);
    if (!(perMetre > 0) || !std::isfinite(limit))
        return std::nullopt;
    const double rest = std::hypot(r0, x0);
    if (rest >= limit)
        return 0.0;
    // Along the section's direction u = (r, x) / |(r, x)| the loop is rest + t u, and
    // |rest + t u| = limit at t = -p + sqrt(p^2 + limit^2 - |rest|^2) with p = rest . u.
    // Written as a quotient, no difference of near-equal numbers is formed.
    const double p = (r0 * r + x0 * x) / perMetre;
    const double q = (limit - rest) * (limit + rest);
    const double t = q / (p + std::sqrt(p * p + q));
    return finite(t / perMetre);
}

TFeedAnalysis AnalyseFeed(const TCalcResult &result, const TDeviceDefenceState &device)
{
    TFeedAnalysis analysis;

    // Summed as the calculation sums its loop, so that the last point is Iokz to the bit.
    const double rTrans = result.Rt / 3;
    const double xTrans = result.Xt / 3;
    double rLines = 0;
    double xLines = 0;
    for (std::size_t k = 0; k < analysis.PointCurrents.size(); ++k) {
        if (k > 0) {
            rLines += result.RLine[k - 1];
            xLines += result.XLine[k - 1];
        }
        const double r = rTrans + rLines + result.Rother;
        const double x = xTrans + xLines;
        analysis.PointCurrents[k] = PhaseVoltageMilliAmps / std::hypot(r, x);
    }

    const double isr = device.Isr;
    if (!(isr > 0))
        return analysis;

    analysis.Margin = finite(result.Iokz / isr);
    analysis.LoopLimit = finite(PhaseVoltageMilliAmps / isr);
    if (analysis.LoopLimit) {
        for (std::size_t i = 0; i < analysis.MaxLength.size(); ++i) {
            double r0 = rTrans + result.Rother;
            double x0 = xTrans;
            for (std::size_t j = 0; j < analysis.MaxLength.size(); ++j) {
                if (j != i) {
                    r0 += result.RLine[j];
                    x0 += result.XLine[j];
                }
            }
            analysis.MaxLength[i] = PermittedLength(
                    r0, x0, result.RLinePerMetre[i], result.XLinePerMetre[i], *analysis.LoopLimit);
        }
    }
    analysis.LargestDevice = largestDevice(device.Rule, result.Iokz);
    return analysis;
}

} // namespace tormel
