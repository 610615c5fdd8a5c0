#pragma once

class QWidget;

namespace tormel {

struct SheetDocument;

// Prints sheets: the desktop program shows the print dialog with its preview; the tests
// answer with a fake.
class ISheetPrinter
{
public:
    virtual ~ISheetPrinter() = default;
    // True when the document was sent to a printer, false when the user cancelled.
    virtual bool printSheets(const SheetDocument &document, QWidget *parent) = 0;
};

// The print preview with the printer's own dialog behind its print button.
class QtSheetPrinter : public ISheetPrinter
{
public:
    bool printSheets(const SheetDocument &document, QWidget *parent) override;
};

} // namespace tormel
