#pragma once

#include "protection/MaxCurrents.h"

#include <array>
#include <string>
#include <string_view>

namespace tormel {

struct NumberSeparators;

// The window of the inputs of the largest fault currents, free of any widget: the four
// texts as the user typed them (empty: the default) and what an empty box shows instead.
struct MaxCurrentInputModel
{
    TMaxCurrentInput Texts;

    // The grey text of each empty box: the default it stands for. uk and Pk follow the
    // transformer's scheme and power; they are shown, never read.
    struct Placeholders
    {
        std::string Sk, Uk, Pk, Icu;
    };
    static Placeholders PlaceholdersFor(const std::string &windKind,
                                        const std::string &transPower,
                                        const NumberSeparators &separators);
};

// The fixed texts of the window.
namespace MaxCurrentInputText {

inline constexpr std::string_view Caption = "Максимальные токи КЗ";
inline constexpr std::string_view MenuItem = "Максимальные токи КЗ...";
inline constexpr std::string_view MenuHint
        = "Мощность КЗ сети, uк и Pк трансформатора, отключающая способность аппарата";
inline constexpr int HelpContext = 39;

struct Field
{
    std::string_view ObjectName;
    std::string_view Caption;
    std::string_view Hint;
};

// In tab order: Sk, uk, Pk, Icu.
inline constexpr std::array<Field, 4> Fields{{
        {"SkEdit",
         "Мощность КЗ питающей сети Sк, МВ·А:",
         "Мощность трехфазного КЗ сети на стороне ВН; пусто — сеть бесконечной мощности"},
        {"UkEdit",
         "Напряжение КЗ трансформатора uк, %:",
         "Из паспорта трансформатора; пусто — по таблице программы"},
        {"PkEdit",
         "Потери КЗ трансформатора Pк, кВт:",
         "Из паспорта трансформатора; пусто — по таблице программы"},
        {"IcuEdit",
         "Отключающая способность аппарата Icu, кА:",
         "Предельная отключающая способность выключателя (Icn модульного) или "
         "номинальная отключающая способность предохранителя"},
}};
inline constexpr std::string_view Unlimited = "не ограничена";
inline constexpr std::string_view NoData = "нет данных";
inline constexpr std::string_view NotNeeded = "не требуется";
inline constexpr std::string_view NotGiven = "не задана";
inline constexpr std::string_view Note
        = "Значения проверяются после расчета. Пустое поле — значение по умолчанию.";

} // namespace MaxCurrentInputText

} // namespace tormel
