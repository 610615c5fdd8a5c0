#include "sheet/SheetRenderer.h"

#include "core/Version.h"
#include "sheet/AnalysisChartPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <new>
#include <numeric>

namespace tormel {

namespace {

QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QString qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Everything is laid out in typographic points on an A4 page; the painter is scaled from
// the device's resolution. Font sizes are pixel sizes in that space, that is points.
constexpr double PageWidth = 595.3;
constexpr double PageHeight = 841.9;
constexpr double LeftMargin = 57;  // 20 mm for the binding
constexpr double RightMargin = 28; // 10 mm
constexpr double TopMargin = 34;
constexpr double BottomMargin = 45;
constexpr double ContentWidth = PageWidth - LeftMargin - RightMargin;
constexpr double ContentBottom = PageHeight - BottomMargin;
constexpr double ChartHeight = 175;
constexpr double CellPadding = 2.5;

QFont sheetFont(int size, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(size);
    font.setBold(bold);
    return font;
}

// Lays the sheets out top to bottom, starting a new page where the next piece does not
// fit, and numbers the pages.
class SheetPainter
{
public:
    SheetPainter(QPagedPaintDevice &device, QPainter &painter)
        : m_device(device)
        , m_painter(painter)
    {}

    void calculation(const CalculationSheet &sheet)
    {
        startDocumentPart(sheet.Title);
        titleBlock(sheet.Title, sheet.TitleLines);
        for (const SheetBlock &block : sheet.Blocks) {
            if (!block.Heading.empty())
                heading(block.Heading);
            for (const std::string &line : block.Lines)
                paragraph(qs(line), sheetFont(9));
            if (block.Table)
                table(*block.Table, 7);
        }
        charts(sheet);
        m_y += 18;
        paragraph(qs(SheetText::SignatureLine), sheetFont(9));
    }

    void report(const ReportSheet &sheet)
    {
        startDocumentPart(sheet.Title);
        titleBlock(sheet.Title, sheet.TitleLines);
        table(sheet.Table, 7);
    }

    // Ends the last page; a document without a sheet gets one page that says so, not a
    // page without a number.
    void finish()
    {
        if (m_page == 0) {
            startDocumentPart(std::string(EmptySheetTitle));
            titleBlock(std::string(EmptySheetTitle), {std::string(EmptySheetText)});
        }
        footer();
    }

private:
    void startDocumentPart(const std::string &title)
    {
        if (m_page > 0) {
            footer();
            m_device.newPage();
        }
        ++m_page;
        m_title = qs(title);
        m_y = TopMargin;
    }

    void newPage()
    {
        footer();
        m_device.newPage();
        ++m_page;
        m_y = TopMargin;
    }

    void footer()
    {
        m_painter.setFont(sheetFont(7));
        m_painter.setPen(Qt::black);
        const double y = PageHeight - BottomMargin + 12;
        m_painter.drawLine(QPointF(LeftMargin, y), QPointF(LeftMargin + ContentWidth, y));
        const QRectF line(LeftMargin, y + 2, ContentWidth, 12);
        m_painter.drawText(line,
                           Qt::AlignLeft | Qt::AlignTop,
                           m_title + QStringLiteral(" · Тормел ")
                                   + QString::fromUtf8(ProgramVersion));
        m_painter.drawText(line,
                           Qt::AlignRight | Qt::AlignTop,
                           qs(SheetText::PageWord) + QString::number(m_page));
    }

    void ensureRoom(double height)
    {
        if (m_y + height > ContentBottom && m_y > TopMargin)
            newPage();
    }

    void titleBlock(const std::string &title, const std::vector<std::string> &lines)
    {
        paragraph(qs(title), sheetFont(13, true));
        m_y += 4;
        for (const std::string &line : lines)
            paragraph(qs(line), sheetFont(9));
        m_y += 4;
        m_painter.setPen(QPen(Qt::black, 0.8));
        m_painter.drawLine(QPointF(LeftMargin, m_y), QPointF(LeftMargin + ContentWidth, m_y));
        m_y += 6;
    }

    void heading(const std::string &text)
    {
        // A heading is never the last line of a page.
        ensureRoom(40);
        m_y += 6;
        paragraph(qs(text), sheetFont(10, true));
        m_y += 2;
    }

    void paragraph(const QString &text, const QFont &font)
    {
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        const QRectF bounds = m_painter.boundingRect(
                QRectF(LeftMargin, 0, ContentWidth, 10000), Qt::TextWordWrap, text);
        ensureRoom(bounds.height());
        m_painter.drawText(
                QRectF(LeftMargin, m_y, ContentWidth, bounds.height()), Qt::TextWordWrap, text);
        m_y += bounds.height() + 1.5;
    }

    std::vector<double> columnWidths(const SheetTable &table) const
    {
        std::size_t count = table.Widths.size();
        for (const auto &row : table.Header)
            count = std::max(count, row.size());
        std::vector<double> weights = table.Widths;
        weights.resize(count, 1.0);
        const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
        for (double &weight : weights)
            weight = weight / sum * ContentWidth;
        return weights;
    }

    double rowHeight(const std::vector<std::string> &cells, const std::vector<double> &widths)
    {
        double height = 0;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRectF bounds
                    = m_painter.boundingRect(QRectF(0, 0, widths[c] - 2 * CellPadding, 10000),
                                             Qt::TextWordWrap | Qt::AlignHCenter,
                                             qs(cells[c]));
            height = std::max(height, bounds.height());
        }
        return std::max(height, m_painter.fontMetrics().height() * 1.0) + 2 * CellPadding;
    }

    void drawRow(const std::vector<std::string> &cells,
                 const std::vector<double> &widths,
                 double height,
                 bool header,
                 std::size_t textColumns = 0)
    {
        double x = LeftMargin;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell(x, m_y, widths[c], height);
            if (header)
                m_painter.fillRect(cell, QColor(235, 235, 235));
            m_painter.setPen(QPen(Qt::black, 0.5));
            m_painter.drawRect(cell);
            if (c < cells.size()) {
                // Names left, numbers right, as the report window aligns them.
                const int alignment = header ? Qt::AlignCenter
                                             : (c < textColumns ? Qt::AlignLeft : Qt::AlignRight)
                                                       | Qt::AlignVCenter;
                m_painter.drawText(
                        cell.adjusted(CellPadding, CellPadding, -CellPadding, -CellPadding),
                        alignment | Qt::TextWordWrap,
                        qs(cells[c]));
            }
            x += widths[c];
        }
        m_y += height;
    }

    void table(const SheetTable &table, int size)
    {
        const std::vector<double> widths = columnWidths(table);
        m_painter.setFont(sheetFont(size, true));
        std::vector<double> headerHeights;
        double headerHeight = 0;
        for (const auto &row : table.Header) {
            headerHeights.push_back(rowHeight(row, widths));
            headerHeight += headerHeights.back();
        }
        const auto drawHeader = [&] {
            m_painter.setFont(sheetFont(size, true));
            for (std::size_t r = 0; r < table.Header.size(); ++r)
                drawRow(table.Header[r], widths, headerHeights[r], true);
            m_painter.setFont(sheetFont(size));
        };
        m_painter.setFont(sheetFont(size));
        const double firstRow = table.Rows.empty() ? 0 : rowHeight(table.Rows.front(), widths);
        ensureRoom(headerHeight + firstRow);
        drawHeader();
        for (const auto &row : table.Rows) {
            const double height = rowHeight(row, widths);
            if (m_y + height > ContentBottom) {
                newPage();
                drawHeader();
            }
            drawRow(row, widths, height, false, table.TextColumns);
        }
        m_y += 6;
    }

    // The two analysis pictures side by side.
    void charts(const CalculationSheet &sheet)
    {
        if (!sheet.Current && !sheet.Loop)
            return;
        ensureRoom(ChartHeight);
        m_painter.save();
        m_painter.setFont(sheetFont(7));
        const int width = int(ContentWidth / 2) - 4;
        const QRect left(int(LeftMargin), int(m_y), width, int(ChartHeight - 8));
        const QRect right(
                int(LeftMargin + ContentWidth) - width, int(m_y), width, int(ChartHeight - 8));
        m_painter.setPen(QPen(QColor(160, 160, 160), 0.5));
        m_painter.drawRect(left);
        m_painter.drawRect(right);
        if (sheet.Current)
            PaintFeedCurrentChart(m_painter, left.adjusted(4, 4, -4, -4), *sheet.Current);
        if (sheet.Loop)
            PaintLoopShareChart(m_painter, right.adjusted(4, 4, -4, -4), *sheet.Loop);
        m_painter.restore();
        m_y += ChartHeight;
    }

    QPagedPaintDevice &m_device;
    QPainter &m_painter;
    int m_page = 0;
    double m_y = TopMargin;
    QString m_title;
};

} // namespace

struct SheetPages::Parts
{
    explicit Parts(QPagedPaintDevice &device)
        : Painter(&device)
        , Sheets(device, Painter)
    {}
    QPainter Painter;
    SheetPainter Sheets;
};

SheetPages::SheetPages(QPagedPaintDevice &device)
{
    device.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    m_parts = std::make_unique<Parts>(device);
    // Points on the page: the printable area of a printer starts at its own margins,
    // which the layout above removes where the printer allows.
    const double scale = device.logicalDpiX() / 72.0;
    m_parts->Painter.scale(scale, scale);
}

SheetPages::~SheetPages()
{
    try {
        End();
    } catch (const std::bad_alloc &) {
        // The painter would end the document again in its own destructor, which must not
        // throw: it is left as it is, the program being about to say why it stops.
        (void)m_parts.release();
    }
}

void SheetPages::End()
{
    if (!m_parts)
        return;
    m_parts->Painter.end();
    m_parts.reset();
}

void SheetPages::Add(const CalculationSheet &sheet)
{
    m_parts->Sheets.calculation(sheet);
}

void SheetPages::Add(const ReportSheet &sheet)
{
    m_parts->Sheets.report(sheet);
}

void SheetPages::Finish()
{
    if (!m_parts)
        return;
    m_parts->Sheets.finish();
    m_parts->Painter.end();
    m_parts.reset();
}

void PaintSheets(QPagedPaintDevice &device, const SheetDocument &document)
{
    SheetPages pages(device);
    for (const CalculationSheet &sheet : document.Calculations)
        pages.Add(sheet);
    if (document.Report)
        pages.Add(*document.Report);
    pages.Finish();
}

QByteArray SheetPdf(const SheetDocument &document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Тормел ") + QString::fromUtf8(ProgramVersion));
        writer.setTitle(document.Calculations.empty()
                                ? (document.Report ? qs(document.Report->Title) : QString())
                                : qs(document.Calculations.front().Title));
        PaintSheets(writer, document);
    }
    return bytes;
}

} // namespace tormel
