#include "session/MaxCurrentsPageModel.h"

#include "core/NumberFormat.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"

namespace tormel {

namespace {

std::string sectionName(std::size_t n)
{
    return "Линия " + std::to_string(n + 1);
}

} // namespace

MaxCurrentsPageModel::MaxCurrentsPageModel()
{
    Clear();
}

void MaxCurrentsPageModel::Clear()
{
    TransformerLabel = "---";
    for (std::size_t p = 0; p < Points.size(); ++p) {
        Points[p] = {};
        Points[p].Point = p == 0 ? std::string(MaxCurrentsPageText::StartPoint)
                                 : "Конец линии " + std::to_string(p);
    }
    BreakingLabel = "---";
    BreakingRed = false;
    for (std::size_t n = 0; n < Thermal.size(); ++n) {
        Thermal[n] = {};
        Thermal[n].Section = sectionName(n);
    }
}

void MaxCurrentsPageModel::Fill(const TFeedAnalysis &analysis,
                                const TMaxCurrents &currents,
                                const NumberSeparators &separators)
{
    Clear();
    const auto amps = [&](double value) { return FormatNumber(value, 0, separators); };
    const auto milliohms = [&](double value) { return FormatNumber(value, 3, separators); };

    TransformerLabel = currents.Z1T ? "Z1т=" + milliohms(currents.Z1T->R) + "+j"
                                              + milliohms(currents.Z1T->X) + " мОм"
                                    : std::string(MaxCurrentsPageText::NoThreePhase);
    for (std::size_t p = 0; p < Points.size(); ++p) {
        MaxCurrentPointRow &row = Points[p];
        if (currents.Ik3[p])
            row.Ik3 = amps(*currents.Ik3[p]);
        row.Ik1 = amps(currents.Ik1[p]);
        row.Ip = amps(currents.Ip[p]);
        row.Iokz = amps(analysis.PointCurrents[p]);
    }

    if (currents.Breaking) {
        const TBreakingCheck &check = *currents.Breaking;
        const std::string numbers = "Iмакс=" + amps(check.Imax) + (check.Ok ? " А ≤ " : " А > ")
                                    + "Icu=" + amps(check.Icu) + " А, запас "
                                    + FormatNumber(check.Margin, 2, separators);
        BreakingLabel = (check.Ok ? "достаточна: " : "недостаточна: ") + numbers;
        BreakingRed = !check.Ok;
    } else if (currents.NoBreakingReason == BreakingGap::NoIcu) {
        BreakingLabel = MaxCurrentsPageText::NoIcu;
    } else {
        BreakingLabel = MaxCurrentsPageText::NoDevice;
    }

    for (std::size_t n = 0; n < Thermal.size(); ++n) {
        if (!currents.Thermal[n])
            continue;
        const TSectionWithstand &entry = *currents.Thermal[n];
        MaxCurrentThermalRow &row = Thermal[n];
        row.K = FormatNumber(entry.K, 1, separators);
        if (entry.Smin)
            row.Smin = FormatNumber(*entry.Smin, 2, separators);
        if (entry.Ok) {
            row.Verdict = *entry.Ok ? MaxCurrentsPageText::Holds : MaxCurrentsPageText::Fails;
            row.VerdictRed = !*entry.Ok;
        }
        row.Capacity = FormatNumber(entry.Capacity / 1e6, 2, separators);
        row.TimeAtMax = FormatNumber(entry.TimeAtMax, 3, separators);
    }
}

std::vector<std::pair<std::string, std::string>> MaxCurrentsPageModel::Labels() const
{
    std::vector<std::pair<std::string, std::string>> labels = {
            {"TransformerLabel", TransformerLabel},
            {"BreakingLabel", BreakingLabel},
    };
    for (std::size_t p = 0; p < Points.size(); ++p) {
        const std::string number = std::to_string(p);
        labels.emplace_back("Ik3Point" + number, Points[p].Ik3);
        labels.emplace_back("Ik1Point" + number, Points[p].Ik1);
        labels.emplace_back("IpPoint" + number, Points[p].Ip);
        labels.emplace_back("IokzPoint" + number, Points[p].Iokz);
    }
    for (std::size_t n = 0; n < Thermal.size(); ++n) {
        const std::string number = std::to_string(n + 1);
        labels.emplace_back("KLine" + number, Thermal[n].K);
        labels.emplace_back("SminLine" + number, Thermal[n].Smin);
        labels.emplace_back("VerdictLine" + number, Thermal[n].Verdict);
        labels.emplace_back("CapacityLine" + number, Thermal[n].Capacity);
        labels.emplace_back("TimeAtMaxLine" + number, Thermal[n].TimeAtMax);
    }
    return labels;
}

} // namespace tormel
