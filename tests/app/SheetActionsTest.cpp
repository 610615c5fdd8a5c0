// "Печать..." and "Сохранить в PDF..." of the result window and of the report window's
// menu "Файл", driven as a user drives them, with the print dialog answered by a fake and
// the PDF read back with pdftotext.

#include "TestProgram.h"

#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "app/SheetPrinter.h"
#include "report/ReportTable.h"
#include "sheet/SheetRenderer.h"
#include "tests/support/PdfTools.h"
#include "tests/support/TempFolder.h"

#include <QMenu>
#include <QPrinter>

#include <memory>
#include <vector>

using namespace tormel;
using namespace tormel::testing;

namespace {

// The print dialog of the tests: keeps what it was asked to print and answers as told.
class RecordingPrinter : public ISheetPrinter
{
public:
    bool printSheets(const SheetDocument &document, QWidget *parent) override
    {
        Documents.push_back(document);
        Parents.push_back(parent);
        return Accept;
    }

    std::vector<SheetDocument> Documents;
    std::vector<QWidget *> Parents;
    bool Accept = true;
};

} // namespace

class SheetActionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void resultWindowPrintsTheCurrentCalculation();
    void resultWindowSavesTheSheetAsPdf();
    void refusedPointNameNamesNoPoint();
    void nothingToPrintBeforeACalculation();
    void reportMenuPrintsAndSavesTheReport();
    void printerPagesHoldTheSheet();
    void printPreviewShowsTheSheetAndCancels();

private:
    TResultForm &result() const { return m_program->Windows->ResultForm(); }
    TReportForm &report() const { return m_program->Windows->ReportForm(); }
    void click(const char *button) const
    {
        QTest::mouseClick(m_program->find<QPushButton>(&result(), QString::fromLatin1(button)),
                          Qt::LeftButton);
    }
    // One section of 100 m of PVC copper cable 25 mm², the point name "К-7" offered.
    void calculate()
    {
        TLineInput &row = m_program->Session->Input().Lines[0];
        row.KindPerform = "Кабель с ПВХ изоляцией";
        m_program->Session->ChangeLineKind(1);
        row.Stuff = "Медь";
        row.Ff = "25";
        row.Fn = "25";
        row.Length = "100";
        m_program->Session->AskNumber().SetNumberEditText("К-7");
        m_program->main().showState();
        m_program->calculate();
    }

    std::unique_ptr<TestProgram> m_program;
    RecordingPrinter m_printer;
    std::unique_ptr<TempFolder> m_folder;
};

void SheetActionsTest::init()
{
    m_printer = RecordingPrinter();
    m_folder = std::make_unique<TempFolder>();
    m_program = std::make_unique<TestProgram>();
    m_program->Windows->setSheetPrinter(m_printer);
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    QVERIFY(QTest::qWaitForWindowActive(&m_program->main()));
}

void SheetActionsTest::cleanup()
{
    result().hide();
    report().hide();
    const QStringList shownAtEnd = visibleTopLevels();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
}

void SheetActionsTest::resultWindowPrintsTheCurrentCalculation()
{
    calculate();
    result().show();
    auto *print = m_program->find<QPushButton>(&result(), QStringLiteral("PrintSheetBtn"));
    QCOMPARE(print->text(), QStringLiteral("Печать..."));
    QCOMPARE(m_program->find<QPushButton>(&result(), QStringLiteral("PdfSheetBtn"))->text(),
             QStringLiteral("Сохранить в PDF..."));
    // "Закрыть" stays the button that Enter presses.
    QVERIFY(m_program->find<QPushButton>(&result(), QStringLiteral("BitBtn1"))->isDefault());

    click("PrintSheetBtn");
    QCOMPARE(m_printer.Documents.size(), std::size_t(1));
    QCOMPARE(m_printer.Parents.front(), static_cast<QWidget *>(&result()));
    const SheetDocument &document = m_printer.Documents.front();
    QCOMPARE(document.Calculations.size(), std::size_t(1));
    QVERIFY(!document.Report);
    const CalculationSheet &sheet = document.Calculations.front();
    QCOMPARE(sheet.TitleLines.front(), std::string("Точка короткого замыкания: К-7"));
    QVERIFY(sheet.Current && sheet.Loop);
    // The sheet holds the very texts the window shows.
    const std::string current = m_program->Session->ResultWindow().IokzrezLabel;
    bool found = false;
    for (const SheetBlock &block : sheet.Blocks)
        for (const std::string &line : block.Lines)
            found = found || line == current;
    QVERIFY(found);
    QVERIFY(m_program->Messages.entries().empty());
}

// A name that the point-name check refuses is no point of the report: the sheet says
// that no point is named.
void SheetActionsTest::refusedPointNameNamesNoPoint()
{
    calculate();
    m_program->Session->AskNumber().SetNumberEditText("слишком длинное");
    result().show();
    click("PrintSheetBtn");
    QCOMPARE(m_printer.Documents.size(), std::size_t(1));
    QCOMPARE(m_printer.Documents.front().Calculations.front().TitleLines.front(),
             std::string("Точка короткого замыкания: не задана"));
}

void SheetActionsTest::resultWindowSavesTheSheetAsPdf()
{
    calculate();
    result().show();
    const std::string path = m_folder->filePath("лист.pdf");
    m_program->Dialogs.paths.push_back(path);
    click("PdfSheetBtn");
    QCOMPARE(m_program->Dialogs.last().filterTexts(),
             std::vector<std::string>{"PDF (*.pdf)|*.pdf"});
    QVERIFY(m_printer.Documents.empty());
    const QString text = QString::fromStdString(PdfText(path));
    QVERIFY2(text.contains(QStringLiteral("Точка короткого замыкания: К-7")), qPrintable(text));
    QVERIFY(text.contains(QString::fromStdString(m_program->Session->ResultWindow().IokzrezLabel)));
    QVERIFY(text.contains(QStringLiteral("Аппарат защиты не выбран.")));

    // Cancelled: no file and no message.
    m_program->Dialogs.paths.push_back(std::nullopt);
    click("PdfSheetBtn");
    QCOMPARE(m_folder->entries().size(), std::size_t(1));
    QVERIFY(m_program->Messages.entries().empty());
}

void SheetActionsTest::nothingToPrintBeforeACalculation()
{
    result().show();
    click("PrintSheetBtn");
    click("PdfSheetBtn");
    QVERIFY(m_printer.Documents.empty());
    QCOMPARE(m_program->Dialogs.saveDialogs(), 0);
}

void SheetActionsTest::reportMenuPrintsAndSavesTheReport()
{
    ReportTable &table = m_program->Session->Report();
    table.SetCell(0, 0, "К-1");
    table.SetCell(9, 0, "217");
    report().show();
    QMenu *file = m_program->find<QMenu>(&report(), QStringLiteral("FileReportMenu"));
    QAction *print = m_program->find<QAction>(&report(), QStringLiteral("PrintReportMenu"));
    QAction *pdf = m_program->find<QAction>(&report(), QStringLiteral("PdfReportMenu"));
    QCOMPARE(file->actions().mid(file->actions().size() - 2), (QList<QAction *>{print, pdf}));

    print->trigger();
    QCOMPARE(m_printer.Documents.size(), std::size_t(1));
    QCOMPARE(m_printer.Parents.front(), static_cast<QWidget *>(&report()));
    const SheetDocument &document = m_printer.Documents.front();
    QVERIFY(document.Calculations.empty());
    QVERIFY(document.Report);
    QCOMPARE(document.Report->Table.Rows.size(), std::size_t(1));
    QCOMPARE(document.Report->Table.Rows.front()[9], std::string("217"));

    const std::string path = m_folder->filePath("отчет.pdf");
    m_program->Dialogs.paths.push_back(path);
    pdf->trigger();
    const QString text = QString::fromStdString(PdfText(path));
    QVERIFY2(text.contains(QStringLiteral("Отчет о расчете")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("К-1")));
    QVERIFY(text.contains(QStringLiteral("№ точки")));
}

// What the print dialog sends to a printer, here a printer writing PDF: the same sheet
// on A4, however large the printer's resolution.
void SheetActionsTest::printerPagesHoldTheSheet()
{
    calculate();
    const std::string path = m_folder->filePath("печать.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    ReportTable &table = m_program->Session->Report();
    table.SetCell(0, 0, "К-1");
    SheetDocument document;
    document.Calculations.push_back(*BuildCalculationSheet(*m_program->Session, {"К-7", {}, "d"}));
    document.Report = BuildReportSheet(table, "d");
    PaintSheets(printer, document);
    // The calculation's sheet (with the largest currents it runs on to a second page), then
    // the report's.
    const int pages = PdfPageCount(path);
    QCOMPARE(pages, 3);
    const QString first = QString::fromStdString(PdfText(path, 1));
    // The same glyph draws a space and a no-break space, and the text read back may give
    // either.
    const QString zsum = QString::fromStdString(m_program->Session->ResultWindow().ZsumLabel)
                                 .mid(5)
                                 .replace(QChar(0xA0), QLatin1Char(' '));
    QVERIFY2(QString(first)
                     .replace(QChar(0xA0), QLatin1Char(' '))
                     .contains(QStringLiteral("= ") + zsum),
             qPrintable(zsum));
    QVERIFY(first.contains(QStringLiteral("Лист 1")));
    QVERIFY(QString::fromStdString(PdfText(path, pages)).contains(QStringLiteral("№ точки")));
    const QString size = QString::fromStdString(CommandOutput("pdfinfo '" + path + "'"));
    QVERIFY2(size.contains(QStringLiteral("(A4)")), qPrintable(size));
}

// The real print dialog: its preview opens modally over the window, and closing it
// prints nothing.
void SheetActionsTest::printPreviewShowsTheSheetAndCancels()
{
    calculate();
    SheetDocument document;
    document.Calculations.push_back(*BuildCalculationSheet(*m_program->Session, {"К-7", {}, "d"}));
    QString shown;
    whenModal([&shown](QWidget *modal) {
        shown = modal ? QString::fromLatin1(modal->metaObject()->className()) : QString();
    });
    QtSheetPrinter printer;
    QVERIFY(!printer.printSheets(document, &m_program->main()));
    QCOMPARE(shown, QStringLiteral("QPrintPreviewDialog"));
}

QTEST_MAIN(SheetActionsTest)
#include "SheetActionsTest.moc"
