#pragma once

#include "calc/CalcTypes.h"
#include "protection/DeviceDefenceUnit.h"
#include "session/AnalysisPageModel.h"
#include "session/MaxCurrentsPageModel.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tormel {

struct NumberSeparators;

// The placeholders and texts of the result window's labels, apart from the device page.
struct ResultWindowTexts
{
    // Page "Трансформатор".
    std::string StLabel = "Sном=___ кВ*А";
    std::string WindKindLabel = "Y/Y-0";
    std::string RtLabel = "Rт=___ мОм";
    std::string XtLabel = "Xт=___ мОм";
    std::string ZtLabel = "Zт=___ мОм";

    // Page "Линия": RLine1Label..RLine6Label at RLineLabels[0..5], and so on; the sums.
    std::array<std::string, LineCount> RLineLabels = Dashes();
    std::array<std::string, LineCount> XLineLabels = Dashes();
    std::array<std::string, LineCount> ZLineLabels = Dashes();
    std::string RLineLabel = "---";
    std::string XLineLabel = "---";
    std::string ZLineLabel = "---";

    // Below the pages.
    std::string RotherLabel = "Rпр=";
    std::string RsumLabel = "Rф-н=___ мОм";
    std::string XsumLabel = "Xф-н=___ мОм";
    std::string ZsumLabel = "Zф-н=___ мОм";
    std::string IokzrezLabel = "Ток однофазного короткого замыкания равен --- А ";

private:
    static std::array<std::string, LineCount> Dashes()
    {
        std::array<std::string, LineCount> dashes;
        dashes.fill("---");
        return dashes;
    }
};

// The texts of the result window. They start as placeholders, are rewritten after every
// successful calculation and keep their texts in between; the page of the protection
// device shows the device's own texts.
struct ResultWindowModel : ResultWindowTexts
{
    explicit ResultWindowModel(const TDeviceDefenceState &device)
        : Device(device)
    {}

    // Page "Аппарат защиты".
    const TDeviceDefenceState &Device;

    // Page "Анализ", after the three above; written by the session, not by Fill.
    AnalysisPageModel Analysis;
    // Page "Iмакс" of the largest currents, after the analysis; written by the session.
    MaxCurrentsPageModel MaxCurrents;

    // Writes every label except the device page from a successful calculation and the
    // texts it was made from.
    void
    Fill(const TCalcInput &input, const TCalcResult &result, const NumberSeparators &separators);

    // Back to the placeholders of a program just started.
    void Reset()
    {
        static_cast<ResultWindowTexts &>(*this) = ResultWindowTexts();
        Analysis = AnalysisPageModel();
        MaxCurrents.Clear();
    }

    // Every label as (control name, text), page by page in the window's order, then the
    // loop and the current below the pages.
    std::vector<std::pair<std::string, std::string>> Labels() const;
};

} // namespace tormel
