#include "report/export/XlsxWorkbook.h"

#include <xlsxwriter.h>

#include <set>
#include <tuple>

namespace tormel::xlsx {

void Format::overlay(const Format &over)
{
    if (over.bold)
        bold = over.bold;
    if (over.align)
        align = over.align;
    if (over.border)
        border = over.border;
}

Format Sheet::effectiveFormat(int row, int column) const
{
    Format format;
    if (const auto it = columnFormats.find(column); it != columnFormats.end())
        format.overlay(it->second);
    if (const auto it = rowFormats.find(row); it != rowFormats.end())
        format.overlay(it->second);
    if (const auto it = cells.find({row, column}); it != cells.end())
        format.overlay(it->second.format);
    return format;
}

namespace {

std::uint8_t LxwAlign(HorizontalAlign align)
{
    switch (align) {
    case HorizontalAlign::General:
        return LXW_ALIGN_NONE;
    case HorizontalAlign::Left:
        return LXW_ALIGN_LEFT;
    case HorizontalAlign::Center:
        return LXW_ALIGN_CENTER;
    case HorizontalAlign::Right:
        return LXW_ALIGN_RIGHT;
    case HorizontalAlign::Fill:
        return LXW_ALIGN_FILL;
    case HorizontalAlign::Justify:
        return LXW_ALIGN_JUSTIFY;
    case HorizontalAlign::CenterAcross:
        return LXW_ALIGN_CENTER_ACROSS;
    case HorizontalAlign::Distributed:
        return LXW_ALIGN_DISTRIBUTED;
    }
    return LXW_ALIGN_NONE;
}

std::uint8_t LxwBorder(LineStyle style)
{
    switch (style) {
    case LineStyle::None:
        return LXW_BORDER_NONE;
    case LineStyle::Continuous:
        return LXW_BORDER_THIN;
    case LineStyle::Dash:
        return LXW_BORDER_DASHED;
    case LineStyle::Dot:
        return LXW_BORDER_DOTTED;
    case LineStyle::Double:
        return LXW_BORDER_DOUBLE;
    case LineStyle::DashDot:
        return LXW_BORDER_DASH_DOT;
    case LineStyle::DashDotDot:
        return LXW_BORDER_DASH_DOT_DOT;
    }
    return LXW_BORDER_NONE;
}

// One libxlsxwriter format per distinct combination of attributes.
class FormatCache
{
public:
    explicit FormatCache(lxw_workbook *workbook)
        : m_workbook(workbook)
    {}

    lxw_format *get(const Format &format)
    {
        if (!format.bold && !format.align && !format.border)
            return nullptr;
        const auto key = std::make_tuple(format.bold.value_or(false),
                                         LxwAlign(format.align.value_or(HorizontalAlign::General)),
                                         LxwBorder(format.border.value_or(LineStyle::None)));
        if (const auto it = m_formats.find(key); it != m_formats.end())
            return it->second;
        lxw_format *made = workbook_add_format(m_workbook);
        if (std::get<0>(key))
            format_set_bold(made);
        if (std::get<1>(key) != LXW_ALIGN_NONE)
            format_set_align(made, std::get<1>(key));
        if (std::get<2>(key) != LXW_BORDER_NONE)
            format_set_border(made, std::get<2>(key));
        m_formats.emplace(key, made);
        return made;
    }

private:
    lxw_workbook *m_workbook;
    std::map<std::tuple<bool, std::uint8_t, std::uint8_t>, lxw_format *> m_formats;
};

lxw_error WriteSheet(const Sheet &sheet, lxw_worksheet *worksheet, FormatCache &formats)
{
    std::set<int> columns;
    for (const auto &[column, width] : sheet.columnWidths)
        columns.insert(column);
    for (const auto &[column, format] : sheet.columnFormats)
        columns.insert(column);
    for (const int column : columns) {
        const auto width = sheet.columnWidths.find(column);
        const auto format = sheet.columnFormats.find(column);
        const lxw_error error = worksheet_set_column(
                worksheet,
                static_cast<lxw_col_t>(column - 1),
                static_cast<lxw_col_t>(column - 1),
                width == sheet.columnWidths.end() ? LXW_DEF_COL_WIDTH : width->second,
                format == sheet.columnFormats.end() ? nullptr : formats.get(format->second));
        if (error != LXW_NO_ERROR)
            return error;
    }
    for (const auto &[row, format] : sheet.rowFormats) {
        const lxw_error error = worksheet_set_row(worksheet,
                                                  static_cast<lxw_row_t>(row - 1),
                                                  LXW_DEF_ROW_HEIGHT,
                                                  formats.get(format));
        if (error != LXW_NO_ERROR)
            return error;
    }
    for (const auto &[position, cell] : sheet.cells) {
        const auto row = static_cast<lxw_row_t>(position.first - 1);
        const auto column = static_cast<lxw_col_t>(position.second - 1);
        lxw_format *format = formats.get(sheet.effectiveFormat(position.first, position.second));
        lxw_error error = LXW_NO_ERROR;
        if (const auto *text = std::get_if<std::string>(&cell.value))
            error = worksheet_write_string(worksheet, row, column, text->c_str(), format);
        else if (const auto *number = std::get_if<double>(&cell.value))
            error = worksheet_write_number(worksheet, row, column, *number, format);
        else if (const auto *flag = std::get_if<bool>(&cell.value))
            error = worksheet_write_boolean(worksheet, row, column, *flag ? 1 : 0, format);
        else if (format)
            error = worksheet_write_blank(worksheet, row, column, format);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

} // namespace

std::string WriteWorkbook(const Workbook &workbook, const std::string &path)
{
    lxw_workbook *book = workbook_new(path.c_str());
    if (!book)
        return "Не удалось создать книгу " + path;
    FormatCache formats(book);
    lxw_error error = LXW_NO_ERROR;
    for (const Sheet &sheet : workbook.sheets) {
        lxw_worksheet *worksheet = workbook_add_worksheet(book, sheet.name.c_str());
        if (!worksheet) {
            workbook_close(book);
            return "Недопустимое имя листа: " + sheet.name;
        }
        error = WriteSheet(sheet, worksheet, formats);
        if (error != LXW_NO_ERROR)
            break;
    }
    // Closing writes the file, and frees the book also after an error.
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR)
        error = closed;
    return error == LXW_NO_ERROR ? std::string() : std::string(lxw_strerror(error));
}

bool IsValidSheetName(const std::string &name)
{
    std::size_t characters = 0;
    for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
        if (c == ':' || c == '\\' || c == '/' || c == '?' || c == '*' || c == '[' || c == ']')
            return false;
    }
    return characters >= 1 && characters <= 31 && name.front() != '\'' && name.back() != '\'';
}

} // namespace tormel::xlsx
