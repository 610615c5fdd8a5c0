#include "session/AnalysisPageModel.h"

#include "core/NumberFormat.h"
#include "protection/FeedAnalysis.h"

#include <algorithm>
#include <cmath>

namespace tormel {

std::array<std::string, LineCount> AnalysisPageModel::Dashes()
{
    std::array<std::string, LineCount> texts;
    texts.fill("---");
    return texts;
}

std::vector<ChartTick>
NiceTicks(double max, int count, const NumberSeparators &separators, std::string_view unit)
{
    if (!(max > 0) || !std::isfinite(max))
        max = 1;
    const double rough = max / std::max(count, 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough)
            break;
    }
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    std::vector<ChartTick> ticks;
    for (int i = 0;; ++i) {
        const double value = i * step;
        ticks.push_back({value, FormatNumber(value, decimals, separators) + std::string(unit)});
        if (value >= max * (1 - 1e-12))
            break;
    }
    return ticks;
}

void AnalysisPageModel::Fill(const TCalcResult &result,
                             const TFeedAnalysis &analysis,
                             const NumberSeparators &separators)
{
    const auto orDashes = [](const std::optional<std::string> &text) {
        return text ? *text : std::string("---");
    };
    const auto number = [&](const std::optional<double> &value, int decimals) {
        return value ? std::optional(FormatNumber(*value, decimals, separators)) : std::nullopt;
    };

    MarginLabel = analysis.Margin ? "Iокз/Iср=" + *number(analysis.Margin, 2) : "---";
    LoopLimitLabel = analysis.LoopLimit ? "Zф-н≤" + *number(analysis.LoopLimit, 2) + " мОм" : "---";
    LargestDeviceLabel = analysis.LargestDevice ? "Iном=" + *analysis.LargestDevice + " А" : "---";
    for (std::size_t n = 0; n < LengthLabels.size(); ++n) {
        const bool used = result.RLinePerMetre[n] != 0 || result.XLinePerMetre[n] != 0;
        LengthLabels[n] = used ? FormatNumber(result.LineLength[n], 2, separators) : "---";
        MaxLengthLabels[n] = orDashes(number(analysis.MaxLength[n], 2));
    }

    // The current along the feed, at the running sum of the lengths.
    Current = {};
    double distance = 0;
    double highest = 0;
    for (std::size_t k = 0; k < analysis.PointCurrents.size(); ++k) {
        if (k > 0)
            distance += result.LineLength[k - 1];
        Current.Points.emplace_back(distance, analysis.PointCurrents[k]);
        highest = std::max(highest, analysis.PointCurrents[k]);
    }
    const double isr = result.Isr;
    if (isr > 0) {
        Current.TripCurrent = isr;
        Current.TripText = "Iср=" + FormatNumber(isr, 0, separators) + " А";
        // A trip current far above the feed's currents would flatten the curve to nothing;
        // the line then stands at the top and the whole chart is below it.
        highest = std::max(highest, std::min(isr, 4 * highest));
    }
    Current.DistanceTicks = NiceTicks(distance > 0 ? distance : 1, 5, separators);
    Current.CurrentTicks = NiceTicks(highest * 1.05, 4, separators);
    Current.DistanceMax = Current.DistanceTicks.back().Value;
    Current.CurrentMax = Current.CurrentTicks.back().Value;

    // |Z|^2 = Rsum^2 + Xsum^2 = sum of (Ri Rsum + Xi Xsum): each element's share of |Z| is
    // its projection on the loop, which adds up to 1 over the elements.
    Loop = {};
    const double z2 = result.Rsum * result.Rsum + result.Xsum * result.Xsum;
    const auto addBar = [&](std::string name, double r, double x) {
        LoopShareBar bar;
        bar.Name = std::move(name);
        bar.RShare = z2 > 0 ? r * result.Rsum / z2 : 0;
        bar.XShare = z2 > 0 ? x * result.Xsum / z2 : 0;
        bar.ShareText = FormatNumber(100 * (bar.RShare + bar.XShare), 1, separators) + " %";
        Loop.Bars.push_back(std::move(bar));
    };
    addBar("Zт/3", result.Rt / 3, result.Xt / 3);
    for (std::size_t n = 0; n < result.RLine.size(); ++n) {
        if (result.RLine[n] != 0 || result.XLine[n] != 0)
            addBar("Линия " + std::to_string(n + 1), result.RLine[n], result.XLine[n]);
    }
    addBar("Rпр", result.Rother, 0);
    double largestShare = 0;
    for (const LoopShareBar &bar : Loop.Bars)
        largestShare = std::max(largestShare, bar.RShare + bar.XShare);
    Loop.ShareTicks = NiceTicks(std::max(largestShare, 0.01) * 100, 4, separators);
    Loop.ShareMax = Loop.ShareTicks.back().Value / 100;
}

std::vector<std::pair<std::string, std::string>> AnalysisPageModel::Labels() const
{
    std::vector<std::pair<std::string, std::string>> labels = {
            {"MarginLabel", MarginLabel},
            {"LoopLimitLabel", LoopLimitLabel},
            {"LargestDeviceLabel", LargestDeviceLabel},
    };
    for (std::size_t n = 0; n < LengthLabels.size(); ++n) {
        const std::string number = std::to_string(n + 1);
        labels.emplace_back("LengthLine" + number + "Label", LengthLabels[n]);
        labels.emplace_back("MaxLengthLine" + number + "Label", MaxLengthLabels[n]);
    }
    return labels;
}

} // namespace tormel
