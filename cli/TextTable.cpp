#include "cli/TextTable.h"

#include "cli/TerminalText.h"
#include "core/QuotedText.h"

#include <algorithm>
#include <utility>

namespace tormel::cli {

namespace {

constexpr const char *Absent = "---";
constexpr const char *Gap = "  ";

// The columns before the checks: position, name, current, margin.
constexpr std::size_t LeadingColumns = 4;

bool alignedRight(std::size_t column)
{
    return column == 0 || column == 2 || column == 3;
}

std::string withoutTrailingBlanks(std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

} // namespace

TextTableRow TextTableRowOf(const nlohmann::ordered_json &result, std::size_t position)
{
    TextTableRow row;
    row.Position = position;
    if (result.at("Name").is_string())
        row.Name = result.at("Name").get<std::string>();
    row.Ok = result.at("Ok").get<bool>();
    if (const auto &calculation = result.at("Result"); calculation.is_object())
        row.Current = calculation.at("Iokz").get<double>();
    if (const auto &analysis = result.at("Analysis"); analysis.is_object()) {
        if (analysis.at("Margin").is_number())
            row.Margin = analysis.at("Margin").get<double>();
    }
    row.DeviceVerdict = result.at("StatusDDLabel").get<std::string>();
    row.Messages = result.at("Messages").get<std::vector<std::string>>();
    return row;
}

TextTableWriter::TextTableWriter(Sink sink,
                                 const NumberSeparators &separators,
                                 std::vector<std::string> checkHeaders,
                                 std::size_t blockRows)
    : m_sink(std::move(sink))
    , m_separators(separators)
    , m_blockRows(std::max<std::size_t>(blockRows, 1))
{
    m_headers = {"№", "Точка", "Iокз, А", "Iокз/Iср"};
    for (std::string &header : checkHeaders)
        m_headers.push_back(std::move(header));
    m_headers.push_back("Защитный аппарат");
    m_widths.assign(m_headers.size(), 0);
    measure(m_headers);
}

TextTableWriter::Cells TextTableWriter::cellsOf(const TextTableRow &row) const
{
    Cells cells;
    std::vector<std::string> &texts = cells.Texts;
    texts.push_back(std::to_string(row.Position));
    // A name is the user's text: a line break in it must not break the table.
    texts.push_back(row.Name ? OneLineText(*row.Name) : Absent);
    texts.push_back(row.Current ? FormatCurrent(*row.Current) : Absent);
    texts.push_back(row.Margin ? FormatNumber(*row.Margin, 2, m_separators) : Absent);
    for (std::size_t n = 0; n + LeadingColumns + 1 < m_headers.size(); ++n)
        texts.push_back(n < row.Checks.size() ? OneLineText(row.Checks[n]) : Absent);
    texts.push_back(OneLineText(row.DeviceVerdict));
    // A message of several lines keeps them, each under the row.
    for (const std::string &message : row.Messages) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = message.find('\n', start);
            cells.Messages.push_back(OneLineText(message.substr(start, end - start)));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    return cells;
}

void TextTableWriter::measure(const std::vector<std::string> &texts)
{
    // The verdict is the last column and is never padded.
    for (std::size_t column = 0; column + 1 < texts.size(); ++column)
        m_widths[column] = std::max(m_widths[column], CharacterCount(texts[column]));
}

void TextTableWriter::Add(const TextTableRow &row)
{
    ++m_objects;
    if (!row.Ok)
        ++m_refused;
    Cells cells = cellsOf(row);
    if (m_widthsFixed) {
        writeRow(cells);
        return;
    }
    measure(cells.Texts);
    m_held.push_back(std::move(cells));
    if (m_held.size() == m_blockRows)
        writeHeldBlock();
}

void TextTableWriter::Finish()
{
    if (!m_widthsFixed)
        writeHeldBlock();
    m_sink("\nВсего объектов: " + std::to_string(m_objects)
           + ", из них с отказами: " + std::to_string(m_refused) + "\n");
}

void TextTableWriter::writeHeldBlock()
{
    m_widthsFixed = true;
    writeRow(Cells{m_headers, {}});
    for (const Cells &cells : m_held)
        writeRow(cells);
    m_held.clear();
    m_held.shrink_to_fit();
}

void TextTableWriter::writeRow(const Cells &cells)
{
    std::string text;
    for (std::size_t column = 0; column < cells.Texts.size(); ++column) {
        if (column > 0)
            text += Gap;
        text += alignedRight(column) ? PadLeft(cells.Texts[column], m_widths[column])
                                     : PadRight(cells.Texts[column], m_widths[column]);
    }
    text = withoutTrailingBlanks(std::move(text)) + "\n";
    // The messages start under the name.
    const std::string indent(m_widths[0] + std::char_traits<char>::length(Gap), ' ');
    for (const std::string &line : cells.Messages)
        text += withoutTrailingBlanks(indent + line) + "\n";
    m_sink(text);
}

} // namespace tormel::cli
