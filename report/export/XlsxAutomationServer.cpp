#include "report/export/XlsxAutomationServer.h"

#include "report/export/XlsxWorkbook.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tormel {

IFileOpener::~IFileOpener() = default;

namespace {

using xlsx::HorizontalAlign;
using xlsx::LineStyle;

// Ranges larger than this are refused rather than filled cell by cell.
constexpr long long MaxCellsPerCall = 1000000;

[[noreturn]] void UnknownName(std::string_view name)
{
    throw AutomationError("Неизвестное имя: " + std::string(name));
}

bool IsOneOf(const std::string &lower, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), lower) != names.end();
}

void ExpectArgs(const std::vector<AutoValue> &args, std::size_t count, std::string_view name)
{
    if (args.size() != count)
        throw AutomationError("Неверное число параметров: " + std::string(name));
}

struct Book
{
    xlsx::Workbook data;
    bool written = false;
};

struct AppState
{
    IFileOpener &opener;
    std::string folder;
    std::vector<std::shared_ptr<Book>> books;
    bool enableEvents = true;
    bool visible = false;
};

// Base of every object of the model: call and get are the same to it, as for
// Excel's own members, and names are compared in lower case.
class XlsxObject : public IAutoObject, public std::enable_shared_from_this<XlsxObject>
{
public:
    AutoValue call(std::string_view name, const std::vector<AutoValue> &args) override
    {
        return member(LowerAscii(name), name, args);
    }
    AutoValue get(std::string_view name, const std::vector<AutoValue> &args) override
    {
        return member(LowerAscii(name), name, args);
    }
    void put(std::string_view name, const AutoValue &value) override
    {
        assign(LowerAscii(name), name, value);
    }

protected:
    virtual AutoValue
    member(const std::string &lower, std::string_view name, const std::vector<AutoValue> &args)
            = 0;
    virtual void assign(const std::string &, std::string_view name, const AutoValue &)
    {
        UnknownName(name);
    }
};

// ---- ranges ----

enum class RangeKind { Cells, Rows, Columns };

struct RangeRef
{
    std::shared_ptr<Book> book;
    std::size_t sheet = 0;
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
    RangeKind kind = RangeKind::Cells;

    xlsx::Sheet &data() const { return book->data.sheets.at(sheet); }
    long long cellCount() const
    {
        return static_cast<long long>(bottom - top + 1) * static_cast<long long>(right - left + 1);
    }
};

int AlignCode(HorizontalAlign align)
{
    switch (align) {
    case HorizontalAlign::General:
        return 1;
    case HorizontalAlign::Left:
        return -4131;
    case HorizontalAlign::Center:
        return -4108;
    case HorizontalAlign::Right:
        return -4152;
    case HorizontalAlign::Fill:
        return 5;
    case HorizontalAlign::Justify:
        return -4130;
    case HorizontalAlign::CenterAcross:
        return 7;
    case HorizontalAlign::Distributed:
        return -4117;
    }
    return 1;
}

// Both the constants of Excel's object model and the short codes 1 to 7 of its
// older macro language are accepted.
HorizontalAlign AlignFromCode(int code)
{
    switch (code) {
    case 1:
        return HorizontalAlign::General;
    case 2:
    case -4131:
        return HorizontalAlign::Left;
    case 3:
    case -4108:
        return HorizontalAlign::Center;
    case 4:
    case -4152:
        return HorizontalAlign::Right;
    case 5:
        return HorizontalAlign::Fill;
    case 6:
    case -4130:
        return HorizontalAlign::Justify;
    case 7:
        return HorizontalAlign::CenterAcross;
    case -4117:
        return HorizontalAlign::Distributed;
    default:
        throw AutomationError("Недопустимое значение свойства HorizontalAlignment: "
                              + std::to_string(code));
    }
}

int LineStyleCode(LineStyle style)
{
    switch (style) {
    case LineStyle::None:
        return -4142;
    case LineStyle::Continuous:
        return 1;
    case LineStyle::Dash:
        return -4115;
    case LineStyle::Dot:
        return -4118;
    case LineStyle::Double:
        return -4119;
    case LineStyle::DashDot:
        return 4;
    case LineStyle::DashDotDot:
        return 5;
    }
    return -4142;
}

LineStyle LineStyleFromCode(int code)
{
    for (const LineStyle style : {LineStyle::None,
                                  LineStyle::Continuous,
                                  LineStyle::Dash,
                                  LineStyle::Dot,
                                  LineStyle::Double,
                                  LineStyle::DashDot,
                                  LineStyle::DashDotDot}) {
        if (LineStyleCode(style) == code)
            return style;
    }
    throw AutomationError("Недопустимое значение свойства LineStyle: " + std::to_string(code));
}

// Applies a format change the way Excel does: to whole rows or columns (and the
// cells already in them), or to each cell of a block.
template<class Change>
void ApplyFormat(const RangeRef &range, Change change)
{
    xlsx::Sheet &sheet = range.data();
    switch (range.kind) {
    case RangeKind::Rows:
        for (int row = range.top; row <= range.bottom; ++row)
            change(sheet.rowFormats[row]);
        for (auto &[position, cell] : sheet.cells) {
            if (position.first >= range.top && position.first <= range.bottom)
                change(cell.format);
        }
        break;
    case RangeKind::Columns:
        for (int column = range.left; column <= range.right; ++column)
            change(sheet.columnFormats[column]);
        for (auto &[position, cell] : sheet.cells) {
            if (position.second >= range.left && position.second <= range.right)
                change(cell.format);
        }
        break;
    case RangeKind::Cells:
        if (range.cellCount() > MaxCellsPerCall)
            throw AutomationError("Слишком большой диапазон.");
        for (int row = range.top; row <= range.bottom; ++row) {
            for (int column = range.left; column <= range.right; ++column)
                change(sheet.cells[{row, column}].format);
        }
        break;
    }
}

xlsx::CellValue ToCellValue(const AutoValue &value)
{
    switch (value.type()) {
    case AutoType::Empty:
        return std::monostate();
    case AutoType::Int:
        return static_cast<double>(value.toInt());
    case AutoType::Double:
        return value.toDouble();
    case AutoType::Bool:
        return value.toBool();
    case AutoType::String:
        return value.toString();
    case AutoType::Object:
    case AutoType::Array:
        break;
    }
    throw AutomationError("Несовпадение типов.");
}

AutoValue FromCellValue(const xlsx::CellValue &value)
{
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *number = std::get_if<double>(&value))
        return *number;
    if (const auto *flag = std::get_if<bool>(&value))
        return *flag;
    return {};
}

// Range.Value := value: an array fills the block from its first element (Excel
// writes #N/A where the array is too small), any other value fills every cell.
void AssignValue(const RangeRef &range, const AutoValue &value)
{
    if (range.kind != RangeKind::Cells || range.cellCount() > MaxCellsPerCall)
        throw AutomationError("Слишком большой диапазон.");
    xlsx::Sheet &sheet = range.data();
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int column = range.left; column <= range.right; ++column) {
            xlsx::CellValue cellValue;
            if (value.type() == AutoType::Array) {
                const AutoArray &array = value.toArray();
                const int i = row - range.top;
                const int j = column - range.left;
                if (array.dimensions() == 2 && i < array.count(1) && j < array.count(2))
                    cellValue = ToCellValue(
                            array.at(array.lowerBound(1) + i, array.lowerBound(2) + j));
                else if (array.dimensions() == 1 && j < array.count(1))
                    cellValue = ToCellValue(array.at(array.lowerBound(1) + j));
                else
                    cellValue = std::string("#N/A");
            } else {
                cellValue = ToCellValue(value);
            }
            sheet.cells[{row, column}].value = std::move(cellValue);
        }
    }
}

AutoValue ReadValue(const RangeRef &range)
{
    if (range.kind != RangeKind::Cells || range.cellCount() > MaxCellsPerCall)
        throw AutomationError("Слишком большой диапазон.");
    const xlsx::Sheet &sheet = range.data();
    const auto valueAt = [&sheet](int row, int column) {
        const auto it = sheet.cells.find({row, column});
        return it == sheet.cells.end() ? AutoValue() : FromCellValue(it->second.value);
    };
    if (range.cellCount() == 1)
        return valueAt(range.top, range.left);
    AutoArray array(1, range.bottom - range.top + 1, 1, range.right - range.left + 1);
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int column = range.left; column <= range.right; ++column)
            array.set(row - range.top + 1, column - range.left + 1, valueAt(row, column));
    }
    return array;
}

class FontObject : public XlsxObject
{
public:
    explicit FontObject(RangeRef range)
        : m_range(std::move(range))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (lower == "bold") {
            ExpectArgs(args, 0, name);
            return m_range.data().effectiveFormat(m_range.top, m_range.left).bold.value_or(false);
        }
        UnknownName(name);
    }
    void assign(const std::string &lower, std::string_view name, const AutoValue &value) override
    {
        if (lower != "bold")
            UnknownName(name);
        const bool bold = value.toBool();
        ApplyFormat(m_range, [bold](xlsx::Format &format) { format.bold = bold; });
    }

private:
    RangeRef m_range;
};

class BordersObject : public XlsxObject
{
public:
    explicit BordersObject(RangeRef range)
        : m_range(std::move(range))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (lower == "linestyle") {
            ExpectArgs(args, 0, name);
            const auto border = m_range.data().effectiveFormat(m_range.top, m_range.left).border;
            return LineStyleCode(border.value_or(LineStyle::None));
        }
        UnknownName(name);
    }
    // Every edge of every cell: the outline and the inner lines of the range.
    void assign(const std::string &lower, std::string_view name, const AutoValue &value) override
    {
        if (lower != "linestyle")
            UnknownName(name);
        const LineStyle style = LineStyleFromCode(value.toInt());
        ApplyFormat(m_range, [style](xlsx::Format &format) { format.border = style; });
    }

private:
    RangeRef m_range;
};

class RangeObject : public XlsxObject
{
public:
    explicit RangeObject(RangeRef range)
        : m_range(std::move(range))
    {}

    const RangeRef &range() const { return m_range; }

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (!IsOneOf(lower,
                     {"value",
                      "value2",
                      "font",
                      "borders",
                      "horizontalalignment",
                      "columnwidth",
                      "row",
                      "column",
                      "count"}))
            UnknownName(name);
        ExpectArgs(args, 0, name);
        if (lower == "value" || lower == "value2")
            return ReadValue(m_range);
        if (lower == "font")
            return AutoValue(std::make_shared<FontObject>(m_range));
        if (lower == "borders")
            return AutoValue(std::make_shared<BordersObject>(m_range));
        if (lower == "horizontalalignment") {
            const auto align = m_range.data().effectiveFormat(m_range.top, m_range.left).align;
            return AlignCode(align.value_or(HorizontalAlign::General));
        }
        if (lower == "columnwidth") {
            const auto &widths = m_range.data().columnWidths;
            const auto it = widths.find(m_range.left);
            return it == widths.end() ? xlsx::DefaultColumnWidth : it->second;
        }
        if (lower == "row")
            return m_range.top;
        if (lower == "column")
            return m_range.left;
        if (lower == "count")
            return static_cast<int>(m_range.cellCount());
        UnknownName(name);
    }

    void assign(const std::string &lower, std::string_view name, const AutoValue &value) override
    {
        if (lower == "value" || lower == "value2") {
            AssignValue(m_range, value);
        } else if (lower == "horizontalalignment") {
            const HorizontalAlign align = AlignFromCode(value.toInt());
            ApplyFormat(m_range, [align](xlsx::Format &format) { format.align = align; });
        } else if (lower == "columnwidth") {
            const double width = value.toDouble();
            if (!(width >= 0.0 && width <= 255.0))
                throw AutomationError("Недопустимая ширина столбца.");
            for (int column = m_range.left; column <= m_range.right; ++column)
                m_range.data().columnWidths[column] = width;
        } else {
            UnknownName(name);
        }
    }

private:
    RangeRef m_range;
};

// "A1" or "$A$1:$L$7" as rows and columns counted from 1.
bool ParseAddress(std::string_view text, int &row, int &column)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long col = 0;
    const std::size_t lettersStart = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        if (col > xlsx::MaxColumn)
            return false;
        ++i;
    }
    if (i == lettersStart)
        return false;
    if (i < text.size() && text[i] == '$')
        ++i;
    long long r = 0;
    const std::size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        r = r * 10 + (text[i] - '0');
        if (r > xlsx::MaxRow)
            return false;
        ++i;
    }
    if (i == digitsStart || i != text.size() || r < 1)
        return false;
    row = static_cast<int>(r);
    column = static_cast<int>(col);
    return true;
}

class WorksheetObject : public XlsxObject
{
public:
    WorksheetObject(std::shared_ptr<Book> book,
                    std::size_t index,
                    std::shared_ptr<IAutoObject> parent)
        : m_book(std::move(book))
        , m_index(index)
        , m_parent(std::move(parent))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (lower == "name") {
            ExpectArgs(args, 0, name);
            return sheet().name;
        }
        if (lower == "parent") {
            ExpectArgs(args, 0, name);
            return AutoValue(m_parent);
        }
        if (lower == "cells") {
            ExpectArgs(args, 2, name);
            const int row = args[0].toInt();
            const int column = args[1].toInt();
            return makeRange(row, column, row, column, RangeKind::Cells);
        }
        if (lower == "rows") {
            ExpectArgs(args, 1, name);
            const int row = args[0].toInt();
            return makeRange(row, 1, row, xlsx::MaxColumn, RangeKind::Rows);
        }
        if (lower == "columns") {
            ExpectArgs(args, 1, name);
            const int column = args[0].toInt();
            return makeRange(1, column, xlsx::MaxRow, column, RangeKind::Columns);
        }
        if (lower == "range")
            return rangeOf(args, name);
        UnknownName(name);
    }

    void assign(const std::string &lower, std::string_view name, const AutoValue &value) override
    {
        if (lower != "name")
            UnknownName(name);
        const std::string &text = value.toString();
        if (!xlsx::IsValidSheetName(text))
            throw AutomationError("Недопустимое имя листа: " + text);
        for (std::size_t i = 0; i < m_book->data.sheets.size(); ++i) {
            if (i != m_index && LowerAscii(m_book->data.sheets[i].name) == LowerAscii(text))
                throw AutomationError("Лист с таким именем уже есть: " + text);
        }
        sheet().name = text;
    }

private:
    xlsx::Sheet &sheet() const { return m_book->data.sheets.at(m_index); }

    AutoValue makeRange(int top, int left, int bottom, int right, RangeKind kind) const
    {
        if (top < 1 || left < 1 || bottom > xlsx::MaxRow || right > xlsx::MaxColumn || top > bottom
            || left > right)
            throw AutomationError("Недопустимая ссылка на ячейки.");
        return AutoValue(std::make_shared<RangeObject>(
                RangeRef{m_book, m_index, top, left, bottom, right, kind}));
    }

    // Range("A1:L7"), Range("A1") or Range(cell1, cell2): the block that holds both.
    AutoValue rangeOf(const std::vector<AutoValue> &args, std::string_view name) const
    {
        if (args.empty() || args.size() > 2)
            throw AutomationError("Неверное число параметров: " + std::string(name));
        int top = xlsx::MaxRow;
        int left = xlsx::MaxColumn;
        int bottom = 1;
        int right = 1;
        const auto include = [&](int row, int column) {
            top = std::min(top, row);
            left = std::min(left, column);
            bottom = std::max(bottom, row);
            right = std::max(right, column);
        };
        for (const AutoValue &arg : args) {
            if (arg.type() == AutoType::String) {
                const std::string &text = arg.toString();
                const std::size_t colon = text.find(':');
                int row = 0;
                int column = 0;
                if (!ParseAddress(std::string_view(text).substr(0, colon), row, column))
                    throw AutomationError("Недопустимая ссылка на ячейки: " + text);
                include(row, column);
                if (colon != std::string::npos) {
                    if (!ParseAddress(std::string_view(text).substr(colon + 1), row, column))
                        throw AutomationError("Недопустимая ссылка на ячейки: " + text);
                    include(row, column);
                }
            } else {
                const auto *other = dynamic_cast<const RangeObject *>(arg.toObject().get());
                if (!other || other->range().book != m_book || other->range().sheet != m_index)
                    throw AutomationError("Диапазон другого листа.");
                include(other->range().top, other->range().left);
                include(other->range().bottom, other->range().right);
            }
        }
        return makeRange(top, left, bottom, right, RangeKind::Cells);
    }

    std::shared_ptr<Book> m_book;
    std::size_t m_index;
    std::shared_ptr<IAutoObject> m_parent;
};

class WorkbookObject : public XlsxObject
{
public:
    WorkbookObject(std::shared_ptr<Book> book, std::shared_ptr<IAutoObject> application)
        : m_book(std::move(book))
        , m_application(std::move(application))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (lower == "worksheets" || lower == "sheets") {
            ExpectArgs(args, 1, name);
            return sheetAt(args[0]);
        }
        if (lower == "parent" || lower == "application") {
            ExpectArgs(args, 0, name);
            return AutoValue(m_application);
        }
        UnknownName(name);
    }

private:
    // A sheet by its number from 1 or by its name.
    AutoValue sheetAt(const AutoValue &key)
    {
        const auto &sheets = m_book->data.sheets;
        std::size_t index = sheets.size();
        if (key.type() == AutoType::String) {
            for (std::size_t i = 0; i < sheets.size(); ++i) {
                if (LowerAscii(sheets[i].name) == LowerAscii(key.toString()))
                    index = i;
            }
        } else {
            const int number = key.toInt();
            if (number >= 1 && static_cast<std::size_t>(number) <= sheets.size())
                index = static_cast<std::size_t>(number - 1);
        }
        if (index == sheets.size())
            throw AutomationError("Индекс за пределами допустимого диапазона.");
        return AutoValue(std::make_shared<WorksheetObject>(m_book, index, shared_from_this()));
    }

    std::shared_ptr<Book> m_book;
    std::shared_ptr<IAutoObject> m_application;
};

class WorkbooksObject : public XlsxObject
{
public:
    WorkbooksObject(std::shared_ptr<AppState> state, std::shared_ptr<IAutoObject> application)
        : m_state(std::move(state))
        , m_application(std::move(application))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (lower == "add") {
            ExpectArgs(args, 0, name);
            auto book = std::make_shared<Book>();
            book->data.sheets.push_back({});
            book->data.sheets.back().name = "Лист1";
            m_state->books.push_back(book);
            return AutoValue(std::make_shared<WorkbookObject>(book, m_application));
        }
        if (lower == "count") {
            ExpectArgs(args, 0, name);
            return static_cast<int>(m_state->books.size());
        }
        if (lower == "item") {
            ExpectArgs(args, 1, name);
            const int number = args[0].toInt();
            if (number < 1 || static_cast<std::size_t>(number) > m_state->books.size())
                throw AutomationError("Индекс за пределами допустимого диапазона.");
            return AutoValue(std::make_shared<WorkbookObject>(
                    m_state->books[static_cast<std::size_t>(number - 1)], m_application));
        }
        UnknownName(name);
    }

private:
    std::shared_ptr<AppState> m_state;
    std::shared_ptr<IAutoObject> m_application;
};

class ApplicationObject : public XlsxObject
{
public:
    explicit ApplicationObject(std::shared_ptr<AppState> state)
        : m_state(std::move(state))
    {}

protected:
    AutoValue member(const std::string &lower,
                     std::string_view name,
                     const std::vector<AutoValue> &args) override
    {
        if (!IsOneOf(lower, {"application", "parent", "workbooks", "enableevents", "visible"}))
            UnknownName(name);
        ExpectArgs(args, 0, name);
        // The application is its own Application and Parent, as in Excel.
        if (lower == "application" || lower == "parent")
            return AutoValue(shared_from_this());
        if (lower == "workbooks")
            return AutoValue(std::make_shared<WorkbooksObject>(m_state, shared_from_this()));
        if (lower == "enableevents")
            return m_state->enableEvents;
        if (lower == "visible")
            return m_state->visible;
        UnknownName(name);
    }

    void assign(const std::string &lower, std::string_view name, const AutoValue &value) override
    {
        if (lower == "enableevents") {
            m_state->enableEvents = value.toBool();
        } else if (lower == "visible") {
            m_state->visible = value.toBool();
            if (m_state->visible)
                showNewBooks();
        } else {
            UnknownName(name);
        }
    }

private:
    // Each workbook is written once, to a file of its own, and opened for the user.
    void showNewBooks()
    {
        for (const auto &book : m_state->books) {
            if (book->written)
                continue;
            const std::string path = NewFilePath(m_state->folder);
            const std::string error = xlsx::WriteWorkbook(book->data, path);
            if (!error.empty())
                throw AutomationError(error);
            book->written = true;
            if (!m_state->opener.openFile(path))
                throw AutomationError("Не удалось открыть файл " + path
                                      + ": нет программы для файлов .xlsx.");
        }
    }

    static std::string NewFilePath(const std::string &folder)
    {
        std::string pattern = folder + "/Отчет-XXXXXX.xlsx";
        const int fd = mkstemps(pattern.data(), 5);
        if (fd < 0)
            throw AutomationError("Не удалось создать файл в папке " + folder);
        ::close(fd);
        return pattern;
    }

    std::shared_ptr<AppState> m_state;
};

} // namespace

XlsxAutomationServer::XlsxAutomationServer(IFileOpener &opener,
                                           std::function<bool()> registered,
                                           std::string folder)
    : m_opener(opener)
    , m_registered(std::move(registered))
    , m_folder(std::move(folder))
{}

XlsxAutomationServer::~XlsxAutomationServer() = default;

bool XlsxAutomationServer::isRegistered()
{
    return m_registered && m_registered();
}

std::shared_ptr<IAutoObject> XlsxAutomationServer::getActiveObject()
{
    return m_running.lock();
}

std::shared_ptr<IAutoObject> XlsxAutomationServer::createObject()
{
    std::string folder = m_folder;
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error).string();
        if (error)
            folder = "/tmp";
    }
    auto state = std::make_shared<AppState>(AppState{m_opener, folder, {}, true, false});
    auto application = std::make_shared<ApplicationObject>(std::move(state));
    m_running = application;
    return application;
}

} // namespace tormel
