#include "session/ResultWindowModel.h"

#include "core/NumberFormat.h"

namespace tormel {

void ResultWindowModel::Fill(const TCalcInput &input,
                             const TCalcResult &result,
                             const NumberSeparators &separators)
{
    const auto milliohms = [&](double value) { return FormatNumber(value, 2, separators); };

    // The power and scheme as they stood in their boxes: "25.0" stays "25.0".
    StLabel = "Sном=" + input.TransPower + " кВ*А";
    WindKindLabel = input.WindKind;
    // The transformer as the table holds it, not the third that enters the loop.
    RtLabel = "Rт=" + FormatGeneral(result.Rt, separators) + " мОм";
    XtLabel = "Xт=" + FormatGeneral(result.Xt, separators) + " мОм";
    ZtLabel = "Zт=" + milliohms(result.Zt) + " мОм";

    for (std::size_t n = 0; n < RLineLabels.size(); ++n) {
        RLineLabels[n] = milliohms(result.RLine[n]);
        XLineLabels[n] = milliohms(result.XLine[n]);
        ZLineLabels[n] = milliohms(result.ZLine[n]);
    }
    RLineLabel = milliohms(result.RLineSum);
    XLineLabel = milliohms(result.XLineSum);
    ZLineLabel = milliohms(result.ZLineSum);

    RotherLabel = "Rпр=" + FormatNumber(result.Rother, 0, separators) + " мОм";
    RsumLabel = "Rф-н=" + milliohms(result.Rsum) + " мОм";
    XsumLabel = "Xф-н=" + milliohms(result.Xsum) + " мОм";
    ZsumLabel = "Zф-н=" + milliohms(result.Zsum) + " мОм";
    IokzrezLabel = "Ток однофазного короткого замыкания равен " + FormatCurrent(result.Iokz) + " А";
}

std::vector<std::pair<std::string, std::string>> ResultWindowModel::Labels() const
{
    std::vector<std::pair<std::string, std::string>> labels = {
            {"StLabel", StLabel},
            {"WindKindLabel", WindKindLabel},
            {"RtLabel", RtLabel},
            {"XtLabel", XtLabel},
            {"ZtLabel", ZtLabel},
    };
    for (std::size_t n = 0; n < RLineLabels.size(); ++n) {
        const std::string number = std::to_string(n + 1);
        labels.emplace_back("RLine" + number + "Label", RLineLabels[n]);
        labels.emplace_back("XLine" + number + "Label", XLineLabels[n]);
        labels.emplace_back("ZLine" + number + "Label", ZLineLabels[n]);
    }
    labels.insert(labels.end(),
                  {
                          {"RLineLabel", RLineLabel},
                          {"XLineLabel", XLineLabel},
                          {"ZLineLabel", ZLineLabel},
                          {"TypeDDLabel", Device.TypeDD},
                          {"ToknomLabel", Device.Toknom},
                          {"KZLabel", Device.KZ},
                          {"TokSRLabel", Device.TokSR},
                          {"TimeSRLabel", Device.TimeSR},
                          {"StatusDDLabel", Device.Status},
                          {"RotherLabel", RotherLabel},
                          {"RsumLabel", RsumLabel},
                          {"XsumLabel", XsumLabel},
                          {"ZsumLabel", ZsumLabel},
                          {"IokzrezLabel", IokzrezLabel},
                  });
    return labels;
}

} // namespace tormel
