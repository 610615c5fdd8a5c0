#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The texts of the report window, its delete-all dialog and the report files.
// The forms show them as they are; the report code writes and compares them.
namespace tormel::report_texts {

constexpr int ColumnCount = 12;

// Column headers above the grid; the magnitude has blanks inside the bars.
constexpr std::array<std::string_view, ColumnCount> ColumnHeaders = {"№ точки",
                                                                     "Rт/3",
                                                                     "Xт/3",
                                                                     "Rл",
                                                                     "Xл",
                                                                     "Rпр",
                                                                     "Rф-н",
                                                                     "Xф-н",
                                                                     "| Zф-н |",
                                                                     "Iокз",
                                                                     "Iср",
                                                                     "Tср"};

// Unit line under the headers; the point name has none.
constexpr std::array<std::string_view, ColumnCount> ColumnUnits
        = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "с"};

// Status bar hints of the column headers.
constexpr std::array<std::string_view, ColumnCount> ColumnHints
        = {"Номер точки однофазного короткого замыкания",
           "Активное сопротивление обмотки трансформатора однофазному короткому замыканию",
           "Реактивное сопротивление обмотки трансформатора однофазному короткому замыканию",
           "Активное сопротивление линии",
           "Реактивное сопротивление линии",
           "Активное переходное сопротивление контактов + сопротивление электрической дуги",
           "Активное сопротивление петли \"фаза-ноль\"",
           "Реактивное сопротивление петли \"фаза-ноль\"",
           "Модуль полного сопротивления петли \"фаза-ноль\"",
           "Расчетный ток однофазного короткого замыкания",
           "Ток срабатывания аппарата защиты",
           "Время срабатывания аппарата защиты"};

// The two header lines of a semicolon report file (without the line end).
constexpr std::string_view FileHeaderLine
        = "№ точки;Rт/3;Xт/3;Rл;Xл;Rпр;Rф-н;Xф-н;|Zф-н|;Iокз;Iср;Tср";
constexpr std::string_view FileUnitLine = " ;мОм;мОм;мОм;мОм;мОм;мОм;мОм;мОм;А;А;с";

// The headers of an exported sheet: those of the file, the magnitude without the blanks of
// the window; its time unit is the Latin "c", unlike the Cyrillic "с" of the window and
// the file.
constexpr std::array<std::string_view, ColumnCount> ExportColumnHeaders = {"№ точки",
                                                                           "Rт/3",
                                                                           "Xт/3",
                                                                           "Rл",
                                                                           "Xл",
                                                                           "Rпр",
                                                                           "Rф-н",
                                                                           "Xф-н",
                                                                           "|Zф-н|",
                                                                           "Iокз",
                                                                           "Iср",
                                                                           "Tср"};
constexpr std::array<std::string_view, ColumnCount> ExportColumnUnits
        = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

// True when `line` is `parts` joined by semicolons.
constexpr bool JoinedBySemicolons(const std::array<std::string_view, ColumnCount> &parts,
                                  std::string_view line)
{
    for (std::size_t n = 0; n < parts.size(); ++n) {
        if (line.substr(0, parts[n].size()) != parts[n])
            return false;
        line.remove_prefix(parts[n].size());
        if (n + 1 < parts.size()) {
            if (line.empty() || line.front() != ';')
                return false;
            line.remove_prefix(1);
        }
    }
    return line.empty();
}
static_assert(JoinedBySemicolons(ExportColumnHeaders, FileHeaderLine));

// Window captions.
constexpr std::string_view CaptionAtStart = "Отчет - *Новый*";
constexpr std::string_view CaptionAfterNew = "Отчет- *Новый*";
constexpr std::string_view CaptionFilePrefix = "Отчет-";

// Buttons and their hints.
constexpr std::string_view UpButtonHint = "Перемещение строки в списке на одну позицию вверх";
constexpr std::string_view DownButtonHint = "Перемещение строки в списке на одну позицию вниз";
constexpr std::string_view DeleteButtonText = "Удалить";
constexpr std::string_view DeleteButtonHint = "Удаление строки";
constexpr std::string_view DeleteAllButtonText = "Удалить все";
constexpr std::string_view DeleteAllButtonHint = "Удаление всех строк";
constexpr std::string_view CloseButtonText = "Закрыть";
constexpr std::string_view CloseButtonHint = "Закрыть окно";

// Menu "Файл".
constexpr std::string_view FileMenuText = "Файл";
constexpr std::string_view NewMenuText = "Новый";
constexpr std::string_view SaveMenuText = "Сохранить";
constexpr std::string_view SaveAsMenuText = "Сохранить как...";
constexpr std::string_view OpenMenuText = "Открыть...";
constexpr std::string_view ExportMenuText = "Экспорт";
constexpr std::string_view ExportToExcelMenuText = "в Excel";
constexpr std::string_view ExportToCalcMenuText = "в Calc";

// The delete-all confirmation; its cancel button keeps the toolkit's own caption.
constexpr std::string_view DeleteAllCaption = "Удаление отчета";
constexpr std::string_view DeleteAllQuestion = "Вы действительно хотите удалить весь отчет?";
constexpr std::string_view DeleteAllOkText = "Да";

// File dialogs.
constexpr std::string_view TableCsvFilter = "Таблица (*.csv)";
constexpr std::string_view TableOkzFilter = "Таблица (*.okz)";

// Messages and questions.
constexpr std::string_view NoRowToDelete = "Укажите строку, которую необходимо удалить.";
constexpr std::string_view SavePreviousQuestion = "Сохранить предыдущий отчет?";
constexpr std::string_view OverwriteQuestion = "Такой файл уже существует. Переписать файл?";
constexpr std::string_view DamagedFileQuestion
        = "Формат файла поврежден. Продолжить загрузку данных?";
constexpr std::string_view UnknownExtensionMessage
        = "Отчет можно открыть только из файла с расширением csv или okz.";
constexpr std::string_view SaveExtensionMessage
        = "Отчет записывается в формате csv. Укажите имя файла с расширением csv.";

} // namespace tormel::report_texts
