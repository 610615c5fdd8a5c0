#include "report/export/ToExcelUnit.h"

#include <QProcess>

#include <xlsxwriter.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <unistd.h>

namespace tormel {

namespace {

constexpr int XdgMimeTimeoutMs = 5000;
constexpr double NarrowWidth = 8;
constexpr double WideWidth = 11;

// libxlsxwriter prints its numbers (widths, margins) with the C library, which
// would write a decimal comma under the user's Russian numeric locale, set by the
// toolkit from the environment. The "C" locale is set for this thread only, while
// the workbook is built and written, whatever the process's locale is.
class CNumericLocale
{
public:
    // The thread's other categories stay as they are; only the numbers change.
    CNumericLocale()
        : m_locale(NumericC())
        , m_previous(m_locale ? uselocale(m_locale) : static_cast<locale_t>(nullptr))
    {}
    ~CNumericLocale()
    {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    bool active() const { return m_locale != static_cast<locale_t>(nullptr); }
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

private:
    static locale_t NumericC()
    {
        const locale_t current = duplocale(uselocale(static_cast<locale_t>(nullptr)));
        if (!current)
            return current;
        const locale_t made = newlocale(LC_NUMERIC_MASK, "C", current);
        if (!made)
            freelocale(current);
        return made;
    }

    locale_t m_locale;
    locale_t m_previous;
};

lxw_format *NewFormat(lxw_workbook *book, bool bold, std::uint8_t align, bool border)
{
    lxw_format *format = workbook_add_format(book);
    if (bold)
        format_set_bold(format);
    format_set_align(format, align);
    if (border)
        format_set_border(format, LXW_BORDER_THIN);
    return format;
}

std::string NewFilePath(const std::string &folder)
{
    std::string pattern = folder + "/Отчет-XXXXXX.xlsx";
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0)
        throw ExportError("Не удалось создать файл в папке " + folder);
    ::close(fd);
    return pattern;
}

} // namespace

void WriteExportWorkbook(const ExportGrid &grid, const std::string &path)
{
    const CNumericLocale cLocale;
    if (!cLocale.active())
        throw ExportError("Не удалось выбрать числовой формат \"C\" для записи книги.");
    lxw_workbook *book = workbook_new(path.c_str());
    if (!book)
        throw ExportError("Не удалось создать книгу " + path);
    lxw_worksheet *sheet = workbook_add_worksheet(book, ExportSheetName);
    // Whole rows carry the format too, so that cells typed later look the same.
    lxw_format *headerRow = NewFormat(book, true, LXW_ALIGN_CENTER, false);
    lxw_format *dataRow = NewFormat(book, false, LXW_ALIGN_RIGHT, false);
    lxw_format *headerCell = NewFormat(book, true, LXW_ALIGN_CENTER, true);
    lxw_format *dataCell = NewFormat(book, false, LXW_ALIGN_RIGHT, true);

    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED;
    const auto columns = static_cast<lxw_col_t>(grid.empty() ? 0 : grid.front().size());
    for (lxw_col_t col = 0; error == LXW_NO_ERROR && col < columns; ++col)
        error = worksheet_set_column(
                sheet, col, col, col + 1 < columns ? NarrowWidth : WideWidth, nullptr);
    for (std::size_t row = 0; error == LXW_NO_ERROR && row < grid.size(); ++row) {
        const bool header = row < 2;
        const auto r = static_cast<lxw_row_t>(row);
        error = worksheet_set_row(sheet, r, LXW_DEF_ROW_HEIGHT, header ? headerRow : dataRow);
        for (std::size_t col = 0; error == LXW_NO_ERROR && col < grid[row].size(); ++col)
            error = worksheet_write_string(sheet,
                                           r,
                                           static_cast<lxw_col_t>(col),
                                           grid[row][col].c_str(),
                                           header ? headerCell : dataCell);
    }
    // Closing writes the file, and frees the book also after an error.
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        throw ExportError(lxw_strerror(error));
}

XlsxExport::XlsxExport(IFileOpener &opener, std::function<bool()> installed, std::string folder)
    : m_opener(opener)
    , m_installed(std::move(installed))
    , m_folder(std::move(folder))
{}

bool XlsxExport::isInstalled()
{
    return m_installed && m_installed();
}

bool XlsxExport::exportGrid(const ExportGrid &grid, IExportProgress &)
{
    std::string folder = m_folder;
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error).string();
        if (error)
            folder = "/tmp";
    }
    // Each export is a workbook of its own, in a new file.
    const std::string path = NewFilePath(folder);
    try {
        WriteExportWorkbook(grid, path);
    } catch (...) {
        std::error_code error;
        std::filesystem::remove(path, error);
        throw;
    }
    if (!m_opener.openFile(path))
        throw ExportError("Не удалось открыть файл " + path + ": нет программы для файлов .xlsx.");
    return true;
}

bool DesktopOpensXlsxFiles()
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start("xdg-mime",
                  {"query",
                   "default",
                   "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"});
    if (!process.waitForFinished(XdgMimeTimeoutMs)) {
        process.kill();
        process.waitForFinished(XdgMimeTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
           && !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace tormel
