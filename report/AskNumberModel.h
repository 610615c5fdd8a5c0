#pragma once

#include "core/NumberFormat.h"
#include "report/ReportTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tormel {

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
// Where a point goes: the row of a point of the same name, or the refusal of the name;
// neither when it goes after the last point.
struct PointPlace
{
    std::optional<int> ReplacedRow;
    std::optional<std::string_view> Refusal;
};

class AskNumberModel
{
public:
    const std::string &NumberEditText() const { return m_numberEditText; }
    void SetNumberEditText(std::string text) { m_numberEditText = std::move(text); }

    // "Выводить это окно каждый раз после расчета"; the calculation reads it.
    bool NumberPointNoMoreChecked() const { return m_numberPointNoMoreChecked; }
    void SetNumberPointNoMoreChecked(bool checked) { m_numberPointNoMoreChecked = checked; }

    // Where "Да" puts the typed name's point: over the row of the same name (after the
    // user agrees), else after the last point unless the name is refused.
    PointPlace PlacePoint(const ReportTable &table) const;
    // Writes the result under the typed name over the given row, or after the last
    // point, the table growing by one row when it is full.
    void WritePoint(const TCalcResult &result,
                    const NumberSeparators &separators,
                    ReportTable &table,
                    std::optional<int> replacedRow) const;

private:
    std::string m_numberEditText;
    bool m_numberPointNoMoreChecked = true;
};

} // namespace tormel
