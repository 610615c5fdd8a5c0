#include "report/AskNumberModel.h"

#include "calc/CalcTypes.h"
#include "report/Windows1251.h"

#include <algorithm>
#include <cmath>

namespace tormel {

namespace {

// Characters of UTF-8 text: every byte that does not continue a character.
int CharacterCount(std::string_view text)
{
    return int(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Line ends and other control characters would break the lines of the file or
// stand there as bytes without a meaning: C0, DEL and C1 (U+0080 to U+009F, in
// UTF-8 C2 80 to C2 9F), and the Unicode line and paragraph separators.
bool HasControlCharacter(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F)
            return true;
        const std::string_view rest = text.substr(i);
        if (byte == 0xC2 && rest.size() > 1 && static_cast<unsigned char>(rest[1]) <= 0x9F)
            return true;
        if (rest.starts_with("\u2028") || rest.starts_with("\u2029"))
            return true;
    }
    return false;
}

} // namespace

ReportRow MakeReportRow(const std::string &name,
                        const TCalcResult &result,
                        const NumberSeparators &separators)
{
    auto number2 = [&separators](double value) { return FormatNumber(value, 2, separators); };
    return {name,
            number2(result.Rt / 3),
            number2(result.Xt / 3),
            number2(result.RLineSum),
            number2(result.XLineSum),
            FormatNumber(result.Rother, 0, separators),
            number2(result.Rsum),
            number2(result.Xsum),
            number2(result.Zsum),
            // Rounded half to even, as the result line shows the current.
            FormatGeneral(std::nearbyint(result.Iokz), separators),
            result.Isr > 0 ? FormatGeneral(result.Isr, separators) : std::string("---"),
            result.TimeSR};
}

std::optional<std::string_view> CheckPointName(std::string_view name)
{
    namespace texts = ask_number_texts;
    if (name.empty() || name.front() == ' ')
        return texts::EmptyNameMessage;
    if (CharacterCount(name) > MaxPointNameLength)
        return texts::NameTooLongMessage;
    if (name.find(';') != std::string_view::npos)
        return texts::SemicolonInNameMessage;
    if (HasControlCharacter(name) || !IsWindows1251Text(name))
        return texts::UnstorableNameMessage;
    return std::nullopt;
}

PointPlace AskNumberModel::PlacePoint(const ReportTable &table) const
{
    const std::string &name = m_numberEditText;

    // A point of the same name is replaced in place, after a question; a name
    // read from a file may break the checks below and can still be replaced.
    if (!name.empty()) {
        for (int row = 0; row < table.RowCount(); ++row) {
            if (table.Cell(0, row) == name)
                return {row, std::nullopt};
        }
    }
    return {std::nullopt, CheckPointName(name)};
}

void AskNumberModel::WritePoint(const TCalcResult &result,
                                const NumberSeparators &separators,
                                ReportTable &table,
                                std::optional<int> replacedRow) const
{
    const std::string &name = m_numberEditText;
    if (replacedRow) {
        table.SetRow(*replacedRow, MakeReportRow(name, result, separators));
        return;
    }
    // The row after the last point; the table grows by one row when it is full.
    int target = table.RowCount();
    while (target > 0 && !table.IsRowInUse(target - 1))
        --target;
    if (target >= table.RowCount())
        table.SetRowCount(target + 1);
    table.SetRow(target, MakeReportRow(name, result, separators));
}

} // namespace tormel
