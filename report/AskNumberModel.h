#pragma once

#include "core/NumberFormat.h"
#include "report/ReportTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tormel {

class IMessageService;
struct TCalcResult;

namespace ask_number_texts {
constexpr std::string_view Caption = "Добавление результатов в отчет";
constexpr std::string_view PromptLine = "Введите номер точки однофазного короткого замыкания";
constexpr std::string_view ExampleLine = "Например, \"К-1\"";
constexpr std::string_view LengthNote = "(не более 8 символов)";
constexpr std::string_view EveryTimeCheckBox = "Выводить это окно каждый раз после расчета";
constexpr std::string_view OkButton = "Да";
constexpr std::string_view CancelButton = "Отмена";

constexpr std::string_view ReplaceQuestion
        = "Такое название в отчете уже есть. Заменить данные в отчете?";
constexpr std::string_view EmptyNameMessage
        = "Вы не ввели название точки короткого замыкания или это название начинается с пустого "
          "символа (пробела)! Попробуйте ввести название еще раз. Первый символ не должен являться "
          "пустым.";
constexpr std::string_view NameTooLongMessage
        = "Количество символов в названии не должно превышать 8.";
constexpr std::string_view SemicolonInNameMessage
        = "Название точки не должно содержать точку с запятой (;), она разделяет столбцы в "
          "файле отчета.";
constexpr std::string_view UnstorableNameMessage
        = "Название точки содержит символ, который нельзя записать в файл отчета. Используйте "
          "русские или латинские буквы, цифры и знаки препинания.";
} // namespace ask_number_texts

// The longest point name, in characters.
constexpr int MaxPointNameLength = 8;

// The report row of a point: the name and the eleven values of the result as
// texts, numbers with the user's separators.
ReportRow MakeReportRow(const std::string &name,
                        const TCalcResult &result,
                        const NumberSeparators &separators);

// The message that refuses a new point name, or nothing when the name is good.
std::optional<std::string_view> CheckPointName(std::string_view name);

// The point-name dialog: its edit text and check box live as long as the program
// and are offered again each time the dialog opens.
class AskNumberModel
{
public:
    const std::string &NumberEditText() const { return m_numberEditText; }
    void SetNumberEditText(std::string text) { m_numberEditText = std::move(text); }

    // "Выводить это окно каждый раз после расчета"; the calculation reads it.
    bool NumberPointNoMoreChecked() const { return m_numberPointNoMoreChecked; }
    void SetNumberPointNoMoreChecked(bool checked) { m_numberPointNoMoreChecked = checked; }

    // "Да": writes the result under the typed name into the report, over the row
    // of the same name when the user agrees. Returns true when the dialog closes;
    // false leaves it open with the name as typed (a refused name or a declined
    // replacement) and the report unchanged.
    bool OKButtonClick(const TCalcResult &result,
                       const NumberSeparators &separators,
                       ReportTable &table,
                       IMessageService &messages) const;

private:
    std::string m_numberEditText;
    bool m_numberPointNoMoreChecked = true;
};

} // namespace tormel
