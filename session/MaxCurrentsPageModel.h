#pragma once

#include "calc/CalcTypes.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tormel {

struct NumberSeparators;
struct TFeedAnalysis;
struct TMaxCurrents;

// One point of the feed: the largest currents of a fault there and, beside them, the
// smallest one of the calculation; A.
struct MaxCurrentPointRow
{
    std::string Point;
    std::string Ik3 = "---";
    std::string Ik1 = "---";
    std::string Ip = "---";
    std::string Iokz = "---";
};

// The heating check of one section.
struct MaxCurrentThermalRow
{
    std::string Section;
    std::string K = "---";
    std::string Smin = "---";
    std::string Verdict = "---";
    bool VerdictRed = false;
    std::string Capacity = "---";
    std::string TimeAtMax = "---";
};

// The texts of the result window's page of the largest fault currents: the breaking
// capacity of the device and the conductors' heating. Placeholders until the first
// calculation whose inputs of the page were accepted; rewritten after every calculation
// and every change of the device.
struct MaxCurrentsPageModel
{
    MaxCurrentsPageModel();

    std::string TransformerLabel = "---"; // the transformer's positive sequence
    std::array<MaxCurrentPointRow, LineCount + 1> Points;
    std::string BreakingLabel = "---";
    bool BreakingRed = false;
    std::array<MaxCurrentThermalRow, LineCount> Thermal;

    void Fill(const TFeedAnalysis &analysis,
              const TMaxCurrents &currents,
              const NumberSeparators &separators);
    // Back to the placeholders: nothing calculated, or the page's inputs were refused.
    void Clear();

    // Every text as (control name, text), in the page's order.
    std::vector<std::pair<std::string, std::string>> Labels() const;
};

// The fixed texts of the page.
namespace MaxCurrentsPageText {

inline constexpr std::string_view Caption = "Iмакс";
inline constexpr int HelpContext = 38;

inline constexpr std::string_view TransformerCaption = "Трансформатор:";
inline constexpr std::string_view TransformerHint
        = "Сопротивление трансформатора трехфазному КЗ, по uк и Pк или по таблице программы";
inline constexpr std::string_view NoThreePhase = "трехфазное КЗ не рассчитывается";

inline constexpr std::string_view PointsHeading = "Токи КЗ, А";
inline constexpr std::array<std::string_view, 5> PointColumns
        = {"Точка КЗ", "Iк(3)", "Iк(1)макс", "iуд", "Iокз"};
inline constexpr std::array<std::string_view, 5> PointHints = {
        "Начало линии (выводы трансформатора) и конец каждого участка",
        "Ток трехфазного КЗ, проводники при 20 °C",
        "Наибольший ток однофазного КЗ: проводники при 20 °C, без сопротивления дуги",
        "Ударный ток наибольшего из токов КЗ",
        "Ток однофазного КЗ расчета, по которому проверен аппарат защиты",
};
inline constexpr std::string_view StartPoint = "Начало линии";

inline constexpr std::string_view BreakingCaption = "Отключающая способность аппарата:";
inline constexpr std::string_view BreakingHint
        = "Наибольший ток КЗ в начале линии против отключающей способности аппарата Icu";
inline constexpr std::string_view NoDevice = "не проверена: аппарат защиты не задан";
inline constexpr std::string_view NoIcu
        = "не проверена: не задана отключающая способность аппарата Icu";

inline constexpr std::string_view ThermalHeading = "Термическая стойкость проводников";
inline constexpr std::array<std::string_view, 6> ThermalColumns
        = {"Участок", "k", "Sмин, мм²", "Проверка", "I²t, кА²·с", "tдоп, с"};
inline constexpr std::array<std::string_view, 6> ThermalHints = {
        "Участки с проводниками и длиной, кроме шинопроводов",
        "Коэффициент k адиабатического нагрева, А·√с/мм²",
        "Наименьшее сечение, выдерживающее ток Iокз в конце участка за время срабатывания "
        "аппарата",
        "Сечения фазного и нулевого проводников не меньше Sмин",
        "Допустимый интеграл Джоуля проводников, для сравнения с данными изготовителя "
        "аппарата",
        "Время, которое проводники выдерживают наибольший ток КЗ в начале участка",
};
inline constexpr std::string_view Holds = "проходит";
inline constexpr std::string_view Fails = "не проходит";

} // namespace MaxCurrentsPageText

} // namespace tormel
