#pragma once

#include "calc/CalcTypes.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tormel {

struct NumberSeparators;
struct TFeedAnalysis;

// A mark on a chart axis: where it stands and its text.
struct ChartTick
{
    double Value = 0;
    std::string Text;
};

// The fault current along the feed: one point at the transformer and one at the end of
// every section, against the distance from the transformer.
struct FeedCurrentChart
{
    std::vector<std::pair<double, double>> Points; // (m, A)
    std::optional<double> TripCurrent;             // the device's, A; none without one
    std::string TripText;                          // "Iср=176 А"
    double DistanceMax = 1;                        // the axes' ends
    double CurrentMax = 1;
    std::vector<ChartTick> DistanceTicks;
    std::vector<ChartTick> CurrentTicks;
};

// One element of the loop and its share of |Zф-н|, split into the part its resistance
// and the part its reactance contribute (the two parts of all elements add up to 1).
struct LoopShareBar
{
    std::string Name;
    double RShare = 0;
    double XShare = 0;
    std::string ShareText; // the whole share in per cent
};

struct LoopShareChart
{
    std::vector<LoopShareBar> Bars; // Zт/3, each section with an impedance, Rпр
    double ShareMax = 1;
    std::vector<ChartTick> ShareTicks; // per cent
};

// The texts and pictures of the result window's analysis page: how far the feed is from
// the edge of tripping its protection device. Placeholders until the first successful
// calculation; rewritten after every calculation and every change of the device.
struct AnalysisPageModel
{
    std::string MarginLabel = "---";
    std::string LoopLimitLabel = "---";
    std::string LargestDeviceLabel = "---";
    std::array<std::string, LineCount> LengthLabels = Dashes();    // the length now, m
    std::array<std::string, LineCount> MaxLengthLabels = Dashes(); // the permitted length, m
    FeedCurrentChart Current;
    LoopShareChart Loop;

    void Fill(const TCalcResult &result,
              const TFeedAnalysis &analysis,
              const NumberSeparators &separators);

    // Every label as (control name, text), in the page's order.
    std::vector<std::pair<std::string, std::string>> Labels() const;

private:
    static std::array<std::string, LineCount> Dashes();
};

// Marks at round values (1, 2 or 5 times a power of ten) from 0 to at least `max`, about
// `count` of them, written in number format with as many decimals as their step needs.
std::vector<ChartTick>
NiceTicks(double max, int count, const NumberSeparators &separators, std::string_view unit = {});

// The fixed texts of the page.
namespace AnalysisPageText {

inline constexpr std::string_view Caption = "Анализ";
inline constexpr int HelpContext = 37;

inline constexpr std::string_view MarginCaption = "Запас по току срабатывания:";
inline constexpr std::string_view MarginHint = "Отношение тока ОКЗ к току срабатывания аппарата";
inline constexpr std::string_view LoopLimitCaption = "Предельное сопротивление петли:";
inline constexpr std::string_view LoopLimitHint
        = "Наибольшее сопротивление петли \"фаза-ноль\", при котором аппарат срабатывает";
inline constexpr std::string_view LargestDeviceCaption = "Наибольший срабатывающий аппарат:";
inline constexpr std::string_view LargestDeviceHint
        = "Наибольший номинальный ток из списка аппарата, при котором он еще срабатывает";
inline constexpr std::string_view LengthHeading = "Длина\nL, м";
inline constexpr std::string_view MaxLengthHeading = "Допустимая\nLдоп, м";
inline constexpr std::string_view MaxLengthHint
        = "Наибольшая длина участка, при которой аппарат срабатывает";
inline constexpr std::string_view ValuesTab = "Запас";
inline constexpr std::string_view CurrentTab = "Ток вдоль линии";
inline constexpr std::string_view CurrentHint
        = "Ток ОКЗ в начале линии и в конце каждого участка; красным — зона несрабатывания";
inline constexpr std::string_view CurrentAxis = "Расстояние от трансформатора, м";
inline constexpr std::string_view CurrentLegend = "Iокз";
inline constexpr std::string_view NoTripLegend = "несрабатывание";
inline constexpr std::string_view LoopTab = "Петля по элементам";
inline constexpr std::string_view LoopHint
        = "Доля каждого элемента в полном сопротивлении петли \"фаза-ноль\"";
inline constexpr std::string_view LoopAxis = "Доля в |Zф-н|, %";
inline constexpr std::string_view RLegend = "от R";
inline constexpr std::string_view XLegend = "от X";

} // namespace AnalysisPageText

} // namespace tormel
