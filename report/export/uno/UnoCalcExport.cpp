#include "report/export/uno/UnoCalcExport.h"

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/table/BorderLine.hpp>
#include <com/sun/star/table/TableBorder.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>

#include <cstdlib>

namespace tormel::uno {

namespace {

using css::uno::Any;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

constexpr const char *NoServiceManagerMessage = "Couldn't get ServiceManager";
constexpr int Columns = 12;

OUString Utf8(const std::string &text)
{
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

Reference<css::beans::XPropertySet> Properties(const Reference<css::table::XCellRange> &range)
{
    return {range, UNO_QUERY_THROW};
}

// The four border lines of a range outline it. Setting a range's LeftBorder and
// the others would give every cell of the range these lines, inner lines included,
// so each side goes through the range's TableBorder.
void SetOutlineSide(const Reference<css::beans::XPropertySet> &range,
                    int side,
                    const css::table::BorderLine &line)
{
    css::table::TableBorder outline;
    range->getPropertyValue("TableBorder") >>= outline;
    switch (side) {
    case 0:
        outline.LeftLine = line;
        outline.IsLeftLineValid = true;
        break;
    case 1:
        outline.RightLine = line;
        outline.IsRightLineValid = true;
        break;
    case 2:
        outline.TopLine = line;
        outline.IsTopLineValid = true;
        break;
    default:
        outline.BottomLine = line;
        outline.IsBottomLineValid = true;
        break;
    }
    range->setPropertyValue("TableBorder", Any(outline));
}

// Names the first sheet, formats it and fills it with the grid.
void FillDocument(const Reference<css::sheet::XSpreadsheetDocument> &document,
                  const ExportGrid &grid)
{
    const Reference<css::container::XIndexAccess> sheets(document->getSheets(), UNO_QUERY_THROW);
    const Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(0), UNO_QUERY_THROW);
    Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->setName(Utf8(ExportSheetName));

    const int lastRow = static_cast<int>(grid.size());
    const auto rangeByName
            = [&sheet](const std::string &name) { return sheet->getCellRangeByName(Utf8(name)); };
    const Reference<css::table::XCellRange> range = rangeByName("A1:L" + std::to_string(lastRow));
    Properties(rangeByName("A1:L2"))
            ->setPropertyValue("CharWeight", Any(css::awt::FontWeight::BOLD));
    Properties(rangeByName("A1:L2"))
            ->setPropertyValue("ParaAdjust",
                               Any(static_cast<sal_Int16>(css::style::ParagraphAdjust_CENTER)));
    // One row below the last data row, so an empty report still names a range.
    Properties(rangeByName("A3:L" + std::to_string(lastRow + 1)))
            ->setPropertyValue("ParaAdjust",
                               Any(static_cast<sal_Int16>(css::style::ParagraphAdjust_RIGHT)));

    css::table::BorderLine border;
    border.LineDistance = 0;
    border.InnerLineWidth = 0;
    border.OuterLineWidth = 1;
    for (int side = 0; side < 4; ++side)
        SetOutlineSide(Properties(range), side, border);

    // The widths are made optimal before the data are written.
    const Reference<css::table::XColumnRowRange> columnsOf(sheet, UNO_QUERY_THROW);
    for (sal_Int32 col = 0; col < Columns; ++col) {
        const Reference<css::container::XIndexAccess> columns(columnsOf->getColumns(),
                                                              UNO_QUERY_THROW);
        Reference<css::beans::XPropertySet>(columns->getByIndex(col), UNO_QUERY_THROW)
                ->setPropertyValue("OptimalWidth", Any(true));
    }

    Sequence<Sequence<Any>> rows(lastRow);
    for (int r = 0; r < lastRow; ++r) {
        const auto &cells = grid[static_cast<std::size_t>(r)];
        Sequence<Any> row(static_cast<sal_Int32>(cells.size()));
        for (std::size_t c = 0; c < cells.size(); ++c)
            row.getArray()[c] <<= Utf8(cells[c]);
        rows.getArray()[r] = row;
    }
    Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->setDataArray(rows);
}

} // namespace

UnoCalcExport::UnoCalcExport(const CalcOfficeOptions &options)
    : m_options(options)
    , m_office(FindOffice(options.officeProgram))
{}

UnoCalcExport::~UnoCalcExport()
{
    // No UNO reference may outlive the program's exit: let go of the office first,
    // then of the local side.
    m_serviceManager.clear();
    m_connection.reset();
    if (m_local.is()) {
        try {
            Reference<css::lang::XComponent>(m_local, UNO_QUERY_THROW)->dispose();
        } catch (const css::uno::Exception &) {
        }
        m_local.clear();
    }
}

bool UnoCalcExport::isInstalled()
{
    // An office installed while the program runs is found at the next export.
    if (!m_office)
        m_office = FindOffice(m_options.officeProgram);
    return m_office && (m_options.hiddenDocuments || OfficeHasWindows(*m_office));
}

Reference<css::uno::XComponentContext> UnoCalcExport::officeContext() const
{
    return m_connection ? m_connection->remoteContext() : nullptr;
}

void UnoCalcExport::createServiceManager(IExportProgress &progress)
{
    if (!m_office)
        throw ExportError("LibreOffice не найден.");
    if (!m_options.headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        throw ExportError("Нет дисплея, на котором LibreOffice мог бы показать документ.");
    if (!m_local.is())
        m_local = BootstrapLocalContext(*m_office);
    if (m_connection && !m_connection->alive())
        m_connection.reset();
    if (!m_connection)
        m_connection = std::make_unique<OfficeConnection>(m_local, *m_office, m_options, progress);
    try {
        m_serviceManager = m_connection->serviceManager();
    } catch (const css::uno::Exception &) {
        throw ExportError(CaughtExceptionText());
    }
}

bool UnoCalcExport::exportGrid(const ExportGrid &grid, IExportProgress &progress)
{
    // Still set only when an earlier export failed before its document was open.
    if (!m_serviceManager.is()) {
        try {
            createServiceManager(progress);
        } catch (const OfficeCancelled &) {
            return false;
        } catch (...) {
            throw ExportError(NoServiceManagerMessage);
        }
    }

    Reference<css::sheet::XSpreadsheetDocument> document;
    try {
        const Reference<css::frame::XComponentLoader> desktop(
                m_serviceManager->createInstance("com.sun.star.frame.Desktop"), UNO_QUERY_THROW);
        Sequence<css::beans::PropertyValue> arguments;
        if (m_options.hiddenDocuments) {
            // The display-less office aborts when it has to show a new document.
            arguments.realloc(1);
            arguments.getArray()[0].Name = "Hidden";
            arguments.getArray()[0].Value <<= true;
        }
        document.set(desktop->loadComponentFromURL("private:factory/scalc", "_blank", 0, arguments),
                     UNO_QUERY_THROW);
    } catch (const css::uno::Exception &) {
        throw ExportError(CaughtExceptionText());
    }

    // From the open document on, the service manager is let go however the export ends.
    m_serviceManager.clear();
    try {
        FillDocument(document, grid);
    } catch (const css::uno::Exception &) {
        throw ExportError(CaughtExceptionText());
    }
    return true;
}

} // namespace tormel::uno
