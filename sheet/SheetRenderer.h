#pragma once

#include "session/CalculationSheet.h"

#include <QByteArray>

#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace tormel {

// What one document of sheets holds: calculation sheets in order, then the report's.
struct SheetDocument
{
    std::vector<CalculationSheet> Calculations;
    std::optional<ReportSheet> Report;
};

// Paints the document on A4 pages of `device` (a PDF writer or a printer), each
// calculation from a new page, tables continued on the next page under their header
// repeated. Needs a QGuiApplication for the fonts.
void PaintSheets(QPagedPaintDevice &device, const SheetDocument &document);

// The document as the bytes of a PDF file, its fonts embedded.
QByteArray SheetPdf(const SheetDocument &document);

} // namespace tormel
