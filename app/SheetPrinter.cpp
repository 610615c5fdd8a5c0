#include "app/SheetPrinter.h"

#include "sheet/SheetRenderer.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tormel {

bool QtSheetPrinter::printSheets(const SheetDocument &document, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    // The sheet lays itself out on the whole sheet of paper, margins included.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Печать"));
    QObject::connect(&preview,
                     &QPrintPreviewDialog::paintRequested,
                     &preview,
                     [&document](QPrinter *target) { PaintSheets(*target, document); });
    return preview.exec() == QDialog::Accepted;
}

} // namespace tormel
