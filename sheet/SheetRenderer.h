#pragma once

#include "session/CalculationSheet.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QPagedPaintDevice;

namespace tormel {

// What one document of sheets holds: calculation sheets in order, then the report's.
struct SheetDocument
{
    std::vector<CalculationSheet> Calculations;
    std::optional<ReportSheet> Report;
};

// A document without any sheet is one page with this title and text.
inline constexpr std::string_view EmptySheetTitle = "Расчетные листы";
inline constexpr std::string_view EmptySheetText = "Нет ни одного рассчитанного объекта.";

// Paints sheets on the A4 pages of `device` (a PDF writer or a printer) as they come, so
// that a document of any length needs only the page being painted: each calculation
// from a new page, tables continued on the next page under their header repeated.
// Needs a QGuiApplication for the fonts.
class SheetPages
{
public:
    explicit SheetPages(QPagedPaintDevice &device);
    ~SheetPages();
    SheetPages(const SheetPages &) = delete;
    SheetPages &operator=(const SheetPages &) = delete;

    void Add(const CalculationSheet &sheet);
    void Add(const ReportSheet &sheet);
    // Ends the last page and the painting.
    void Finish();
    // Ends the painting as it stands, without the last page's footer (a document given
    // up). The device may still write, and so fail; the destructor ends it the same way
    // but never lets memory that runs out there escape from it.
    void End();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

// Paints the document on A4 pages of `device` (a PDF writer or a printer), each
// calculation from a new page, tables continued on the next page under their header
// repeated. Needs a QGuiApplication for the fonts.
void PaintSheets(QPagedPaintDevice &device, const SheetDocument &document);

// The document as the bytes of a PDF file, its fonts embedded.
QByteArray SheetPdf(const SheetDocument &document);

} // namespace tormel
