#pragma once

#include "session/AnalysisPageModel.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tormel {

class ReportTable;
class TormelSession;

// A table of a sheet: its header lines (each as long as a row) and its rows of texts.
struct SheetTable
{
    std::vector<std::vector<std::string>> Header;
    std::vector<std::vector<std::string>> Rows;
    // Relative widths of the columns; as many as a row has cells.
    std::vector<double> Widths;
    // The leading columns of names, aligned left; the numbers after them align right.
    std::size_t TextColumns = 1;
};

// One block of a sheet: a heading, lines of text and, after them, a table.
struct SheetBlock
{
    std::string Heading;
    std::vector<std::string> Lines;
    std::optional<SheetTable> Table;
};

// What a sheet is headed with: the point, the feed file, when it was made.
struct SheetHeading
{
    std::string PointName;    // empty: the calculation has no point name
    std::string FeedFileName; // empty: the feed has no file
    std::string DateTime;     // as SheetDateTime writes it
};

// The calculation sheet of the current result: every text and number as the windows show
// it, blocks in the order a checker follows the calculation, and the analysis pictures.
struct CalculationSheet
{
    std::string Title;
    std::vector<std::string> TitleLines;
    std::vector<SheetBlock> Blocks;
    std::optional<FeedCurrentChart> Current; // the analysis pictures, when there is one
    std::optional<LoopShareChart> Loop;
};

// The sheet of the report: its rows in use under the report's two header lines.
struct ReportSheet
{
    std::string Title;
    std::vector<std::string> TitleLines;
    SheetTable Table;
};

// The sheet of the session's last successful calculation; none before the first.
std::optional<CalculationSheet> BuildCalculationSheet(const TormelSession &session,
                                                      const SheetHeading &heading);
// Names the sheet's point, once the report holds it: a sheet made before the point was
// added says it has none.
void NameSheetPoint(CalculationSheet &sheet, const std::string &pointName);

// The sheet of the report as it stands.
ReportSheet BuildReportSheet(const ReportTable &report, const std::string &dateTime);

// "08.12.2026 05:54", in local time.
std::string SheetDateTime(std::time_t when);

// The texts of the sheets.
namespace SheetText {

inline constexpr std::string_view CalculationTitle
        = "Расчет тока однофазного короткого замыкания сети 0,4 кВ";
inline constexpr std::string_view ReportTitle
        = "Отчет о расчете токов однофазного короткого замыкания";
inline constexpr std::string_view PointPrefix = "Точка короткого замыкания: ";
inline constexpr std::string_view NoPoint = "не задана";
inline constexpr std::string_view FeedPrefix = "Файл схемы: ";
inline constexpr std::string_view ReportFilePrefix = "Файл отчета: ";
inline constexpr std::string_view NoFile = "*Новый*";
inline constexpr std::string_view DatePrefix = "Дата: ";
inline constexpr std::string_view ProgramPrefix = "Программа: Тормел ";
inline constexpr std::string_view TransformerHeading = "1. Трансформатор";
inline constexpr std::string_view LinesHeading = "2. Участки линии";
inline constexpr std::string_view NoLines = "Участков линии с сопротивлением нет.";
inline constexpr std::string_view LoopHeading = "3. Петля \"фаза-ноль\" и ток короткого замыкания";
inline constexpr std::string_view DeviceHeading = "4. Аппарат защиты";
inline constexpr std::string_view AnalysisHeading = "5. Анализ";
inline constexpr std::string_view SignatureLine
        = "Расчет выполнил: ____________________     Проверил: ____________________";
inline constexpr std::string_view PageWord = "Лист ";

} // namespace SheetText

} // namespace tormel
