#include "session/CalculationSheet.h"

#include "calc/LineKindCatalogue.h"
#include "core/NumberFormat.h"
#include "core/Version.h"
#include "report/ReportTable.h"
#include "report/ReportTexts.h"
#include "session/MaxCurrentsSheet.h"
#include "session/TormelSession.h"

#include <string>

namespace tormel {

namespace {

const std::string NotEntered = "---";

std::string str(std::string_view text)
{
    return std::string(text);
}

// A section enters the sheet as the analysis page counts it: its kind gave it values.
bool IsUsedSection(const TCalcResult &result, std::size_t n)
{
    return result.RLinePerMetre[n] != 0 || result.XLinePerMetre[n] != 0;
}

SheetBlock transformerBlock(const ResultWindowModel &window,
                            const TCalcResult &result,
                            const NumberSeparators &separators)
{
    const auto milliohms = [&](double value) { return FormatNumber(value, 2, separators); };
    return {str(SheetText::TransformerHeading),
            {"Схема соединения обмоток: " + window.WindKindLabel,
             "Мощность: " + window.StLabel,
             window.RtLabel + ";   " + window.XtLabel + ";   " + window.ZtLabel,
             "Rт/3=" + milliohms(result.Rt / 3) + " мОм;   Xт/3=" + milliohms(result.Xt / 3)
                     + " мОм;   Zт/3=" + milliohms(result.Zt / 3) + " мОм"},
            std::nullopt};
}

std::vector<SheetBlock> lineBlocks(const TCalcInput &input,
                                   const ResultWindowModel &window,
                                   const TCalcResult &result,
                                   const NumberSeparators &separators)
{
    SheetTable texts;
    texts.Header = {{"№",
                     "Тип линии",
                     "Материал, марка",
                     "Сечение фазы, мм²",
                     "Сечение нуля, мм²",
                     "Длина, м",
                     "Параллельно",
                     "t, °C"}};
    texts.Widths = {0.5, 3.2, 2.0, 1.3, 1.3, 1.1, 1.8, 0.9};
    texts.TextColumns = 3;
    SheetTable values;
    values.Header = {{"№",
                      "rф-н (таблица), мОм/м",
                      "xф-н (таблица), мОм/м",
                      "Kt",
                      "R, мОм",
                      "X, мОм",
                      "|Z|, мОм"}};
    values.Widths = {0.5, 1.8, 1.8, 1.0, 1.4, 1.4, 1.4};
    for (std::size_t n = 0; n < result.RLine.size(); ++n) {
        if (!IsUsedSection(result, n))
            continue;
        const TLineInput &line = input.Lines[n];
        const std::string number = std::to_string(n + 1);
        // SIP and busbar data give the whole loop by the marking or model; the boxes of the
        // cross-sections do not enter the calculation.
        const bool sections = FindLineKindGroup(line.KindPerform) == LineKindGroup::Cable;
        texts.Rows.push_back({number,
                              line.KindPerform,
                              line.Stuff,
                              sections ? line.Ff : NotEntered,
                              sections ? line.Fn : NotEntered,
                              line.Length,
                              line.QuanPar,
                              line.Temperature});
        values.Rows.push_back({number,
                               FormatGeneral(result.RLineTablePerMetre[n], separators),
                               FormatGeneral(result.XLineTablePerMetre[n], separators),
                               FormatNumber(result.LineKt[n], 4, separators),
                               window.RLineLabels[n],
                               window.XLineLabels[n],
                               window.ZLineLabels[n]});
    }
    if (texts.Rows.empty())
        return {{str(SheetText::LinesHeading), {str(SheetText::NoLines)}, std::nullopt}};
    values.Rows.push_back(
            {"Σ", "", "", "", window.RLineLabel, window.XLineLabel, window.ZLineLabel});
    return {{str(SheetText::LinesHeading), {}, std::move(texts)},
            {{},
             {"Значения таблиц - петли \"фаза-ноль\" участка на метр (фаза и ноль) до учета "
              "температуры и параллельных проводов; R = r·Kt·L/n, X = x·L/n."},
             std::move(values)}};
}

// The value of a window label after its "name=" and before its unit: "Rф-н=692,40 мОм"
// gives "692,40".
std::string labelValue(const std::string &label)
{
    std::string value = label;
    if (const std::size_t at = value.find('='); at != std::string::npos)
        value.erase(0, at + 1);
    if (const std::size_t at = value.rfind(" мОм"); at != std::string::npos)
        value.erase(at);
    return value;
}

SheetBlock loopBlock(const ResultWindowModel &window,
                     const TCalcResult &result,
                     const NumberSeparators &separators)
{
    const auto milliohms = [&](double value) { return FormatNumber(value, 2, separators); };
    const std::string rother = labelValue(window.RotherLabel);
    const std::string rsum = labelValue(window.RsumLabel);
    const std::string xsum = labelValue(window.XsumLabel);
    const std::string zsum = labelValue(window.ZsumLabel);
    return {str(SheetText::LoopHeading),
            {"Rл=" + window.RLineLabel + " мОм;   Xл=" + window.XLineLabel
                     + " мОм;   Zл=" + window.ZLineLabel + " мОм",
             window.RotherLabel + " (переходное сопротивление контактов и дуги)",
             "Rф-н = Rт/3 + Rл + Rпр = " + milliohms(result.Rt / 3) + " + " + window.RLineLabel
                     + " + " + rother + " = " + rsum + " мОм",
             "Xф-н = Xт/3 + Xл = " + milliohms(result.Xt / 3) + " + " + window.XLineLabel + " = "
                     + xsum + " мОм",
             "|Zф-н| = √(Rф-н² + Xф-н²) = √(" + rsum + "² + " + xsum + "²) = " + zsum + " мОм",
             "Iокз = " + FormatGeneral(PhaseVoltageMilliAmps, separators)
                     + " / |Zф-н| = " + FormatGeneral(PhaseVoltageMilliAmps, separators) + " / "
                     + zsum + " = " + FormatCurrent(result.Iokz) + " А",
             window.IokzrezLabel},
            std::nullopt};
}

SheetBlock deviceBlock(const TDeviceDefenceState &device)
{
    if (device.DeviceKind == ProtectionKind::None || device.Isr <= 0)
        return {str(SheetText::DeviceHeading),
                {"Аппарат защиты не выбран.", "Срабатывание: " + device.Status},
                std::nullopt};
    return {str(SheetText::DeviceHeading),
            {device.TypeDD,
             device.Toknom + ";   " + device.KZ,
             "Ток срабатывания: " + device.TokSR,
             "Время срабатывания: " + device.TimeSR,
             "Срабатывание: " + device.Status},
            std::nullopt};
}

SheetBlock analysisBlock(const TCalcResult &result, const AnalysisPageModel &page)
{
    SheetBlock block{str(SheetText::AnalysisHeading),
                     {str(AnalysisPageText::MarginCaption) + " " + page.MarginLabel,
                      str(AnalysisPageText::LoopLimitCaption) + " " + page.LoopLimitLabel,
                      str(AnalysisPageText::LargestDeviceCaption) + " " + page.LargestDeviceLabel},
                     std::nullopt};
    SheetTable lengths;
    lengths.Header = {{"№", "Длина L, м", "Допустимая Lдоп, м"}};
    lengths.Widths = {0.5, 1.6, 1.6};
    for (std::size_t n = 0; n < page.LengthLabels.size(); ++n) {
        if (IsUsedSection(result, n))
            lengths.Rows.push_back(
                    {std::to_string(n + 1), page.LengthLabels[n], page.MaxLengthLabels[n]});
    }
    if (!lengths.Rows.empty())
        block.Table = std::move(lengths);
    return block;
}

} // namespace

void NameSheetPoint(CalculationSheet &sheet, const std::string &pointName)
{
    // The point's line is always the first under the title.
    sheet.TitleLines.front() = str(SheetText::PointPrefix)
                               + (pointName.empty() ? str(SheetText::NoPoint) : pointName);
}

std::optional<CalculationSheet> BuildCalculationSheet(const TormelSession &session,
                                                      const SheetHeading &heading)
{
    if (!session.CalculatedInput() || !session.Status().ResultMenuEnabled)
        return std::nullopt;
    const TCalcInput &input = *session.CalculatedInput();
    const TCalcResult &result = session.Result();
    const ResultWindowModel &window = session.ResultWindow();
    const NumberSeparators &separators = session.Separators();

    CalculationSheet sheet;
    sheet.Title = str(SheetText::CalculationTitle);
    sheet.TitleLines.push_back(
            str(SheetText::PointPrefix)
            + (heading.PointName.empty() ? str(SheetText::NoPoint) : heading.PointName));
    if (!heading.FeedFileName.empty())
        sheet.TitleLines.push_back(str(SheetText::FeedPrefix) + heading.FeedFileName);
    sheet.TitleLines.push_back(str(SheetText::DatePrefix) + heading.DateTime);
    sheet.TitleLines.push_back(str(SheetText::ProgramPrefix) + ProgramVersion);

    sheet.Blocks.push_back(transformerBlock(window, result, separators));
    for (SheetBlock &block : lineBlocks(input, window, result, separators))
        sheet.Blocks.push_back(std::move(block));
    sheet.Blocks.push_back(loopBlock(window, result, separators));
    sheet.Blocks.push_back(deviceBlock(session.Device()));
    if (session.Analysis()) {
        sheet.Blocks.push_back(analysisBlock(result, window.Analysis));
        if (session.MaxCurrents()) {
            for (SheetBlock &block : MaxCurrentsSheetBlocks(input,
                                                            result,
                                                            session.JudgedMaxCurrentInput(),
                                                            *session.Analysis(),
                                                            *session.MaxCurrents(),
                                                            separators))
                sheet.Blocks.push_back(std::move(block));
        }
        sheet.Current = window.Analysis.Current;
        if (!window.Analysis.Loop.Bars.empty())
            sheet.Loop = window.Analysis.Loop;
    }
    return sheet;
}

ReportSheet BuildReportSheet(const ReportTable &report, const std::string &dateTime)
{
    namespace texts = report_texts;
    ReportSheet sheet;
    sheet.Title = str(SheetText::ReportTitle);
    sheet.TitleLines = {str(SheetText::ReportFilePrefix)
                                + (report.ReportFileName().empty() ? str(SheetText::NoFile)
                                                                   : report.ReportFileName()),
                        str(SheetText::DatePrefix) + dateTime,
                        str(SheetText::ProgramPrefix) + ProgramVersion};
    std::vector<std::string> headers, units;
    for (int col = 0; col < ReportTable::ColCount; ++col) {
        headers.push_back(str(texts::ColumnHeaders[col]));
        units.push_back(str(texts::ColumnUnits[col]));
    }
    sheet.Table.Header = {headers, units};
    sheet.Table.Widths = {1.3, 1, 1, 1, 1, 0.8, 1, 1, 1.1, 0.9, 0.9, 1.3};
    for (int row = 0; row < report.RowsInUseCount(); ++row) {
        const ReportRow &cells = report.Row(row);
        sheet.Table.Rows.emplace_back(cells.begin(), cells.end());
    }
    return sheet;
}

std::string SheetDateTime(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    return text;
}

} // namespace tormel
