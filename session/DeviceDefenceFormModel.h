#pragma once

#include "protection/DeviceDefenceUnit.h"
#include "session/ComboBoxState.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

// The protection device window, free of any widget. The window is created once and only
// hidden between openings, so this state lives for the whole run: the form shows it and
// writes the user's edits back into it.
struct TDeviceDefenceFormModel
{
    TDeviceDefenceFormModel(); // every control with its starting items and text

    bool AVChecked = true; // "Автоматический выключатель"; otherwise "Плавкий предохранитель"
    // The breaker group: its three combo boxes, TokNRCheckBox and its seven caption lines.
    bool BreakerGroupEnabled = true;
    // The fuse group: its four combo boxes and its eight caption lines.
    bool FuseGroupEnabled = false;

    ComboBoxState TokAVnom, TokNR, KZAV;
    bool TokNRChecked = false;
    ComboBoxState TypePP, TokPP, KZPP, TimePP;

    // The inputs of one press of "Да", whether or not their controls are enabled.
    TDeviceDefenceInput ToInput() const;
};

// What the window does after one of its buttons.
enum class DDFormOutcome { StayOpen, Close };

void AVRadioButtonClick(TDeviceDefenceFormModel &model);
void PPRadioButtonClick(TDeviceDefenceFormModel &model);

// The check box was toggled to `checked`: a checked box empties the multiple's list and
// text, for the release current is typed instead; unchecking brings the multiples back.
void TokNRCheckBoxClick(TDeviceDefenceFormModel &model, bool checked);

// The text of TypePPComboBox changed (picked or typed; called after every keystroke):
// refills the rated current list for the type, or empties it and gives the refusal's
// text for an unknown type.
std::optional<std::string> TypePPComboBoxChange(TDeviceDefenceFormModel &model);

// "Отмена" and the close box: the window closes and nothing else changes; the edited
// texts stay for the next opening.
DDFormOutcome BitBtn2Click();

// The fixed texts of the window.
namespace DDFormText {

inline constexpr std::string_view Caption = "Аппарат защиты";
inline constexpr int HelpContext = 34; // of the window and of every input control
inline constexpr std::string_view StatusBarHint = "Строка состояния";

struct Control
{
    std::string_view ObjectName;
    std::string_view Caption; // empty for the combo boxes, whose text is state
    std::string_view Hint;
};

// In tab order.
inline constexpr std::array<Control, 13> Controls{{
        {"AVRadioButton",
         "Автоматический выключатель",
         "Переключатель на выбор автоматического выключателя"},
        {"TokAVnomComboBox", "", "Введите номинальный ток выключателя"},
        {"TokNRComboBox", "", "Введите коэффициент отсечки или ток срабатывания отсечки"},
        {"TokNRCheckBox",
         "Указан ток срабатывания мгновенного расцепителя, А",
         "Включение/выключение опции ввода тока срабатывания отсечки"},
        {"KZAVComboBox", "", "Введите коэффициент запаса"},
        {"PPRadioButton",
         "Плавкий предохранитель",
         "Переключатель на выбор плавкого предохранителя"},
        {"TypePPComboBox", "", "Введите тип предохранителя"},
        {"TokPPComboBox", "", "Введите номинальный ток вставки"},
        {"KZPPComboBox", "", "Введите коэффициент запаса"},
        {"TimePPComboBox", "", "Введите нормируемое время срабатывания вставки"},
        {"OKDDBitBtn", "Да", "Подтверждение ввода данных"},
        {"BitBtn3", "Сброс", "Сброс ввода данных"},
        {"BitBtn2", "Отмена", "Отмена ввода данных"},
}};

// The caption lines over each combo box.
using CaptionLines = std::array<std::string_view, 3>; // unused lines are empty
inline constexpr CaptionLines TokAVnomCaption{"Номинальный", "ток, А", ""};
inline constexpr CaptionLines TokNRCaption{"Коэффициент", "независимого", "расцепителя"};
inline constexpr CaptionLines KZAVCaption{"Коэффициент", "запаса", ""};
inline constexpr CaptionLines TypePPCaption{"Тип", "предохранителя", ""};
inline constexpr CaptionLines TokPPCaption{"Номинальный", "ток, А", ""};
inline constexpr CaptionLines KZPPCaption{"Коэффициент", "запаса", ""};
inline constexpr CaptionLines TimePPCaption{"Время", "срабатывания", ""};

} // namespace DDFormText

} // namespace tormel
