// The point-name dialog and the report window driven as a user drives them: points added
// after calculations and from the menu, rows selected with the mouse, moved and deleted,
// reports saved, reopened and exported, with the message boxes and file dialogs answered
// by fakes. The grid's item model runs under Qt's model tester throughout.

#include "TestProgram.h"

#include "app/AskNumberForm.h"
#include "app/DeleteAllReportForm.h"
#include "app/ReportForm.h"
#include "report/ReportTable.h"
#include "report/export/ToExcelUnit.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolButton>

using namespace tormel;
using namespace tormel::testing;

namespace {

const std::string EmptyNameMessage
        = "Вы не ввели название точки короткого замыкания или это название начинается с пустого "
          "символа (пробела)! Попробуйте ввести название еще раз. Первый символ не должен являться "
          "пустым.";
const std::string NameTooLongMessage = "Количество символов в названии не должно превышать 8.";
const std::string ReplaceQuestion = "Такое название в отчете уже есть. Заменить данные в отчете?";
const std::string NoRowMessage = "Укажите строку, которую необходимо удалить.";

// A row of a point whose every cell names the point and the column.
ReportRow pointRow(const std::string &name)
{
    ReportRow row;
    row[0] = name;
    for (std::size_t col = 1; col < row.size(); ++col)
        row[col] = name + "." + std::to_string(col);
    return row;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A spreadsheet program that keeps the export waiting until it is told to stop.
class WaitingSpreadsheet : public ISpreadsheetExport
{
public:
    bool isInstalled() override { return true; }
    bool exportGrid(const ExportGrid &, IExportProgress &progress) override
    {
        // At most some ten seconds, so that a missing progress window fails the test.
        for (Waits = 0; Waits < 1000; ++Waits) {
            if (!progress.keepWaiting("Запуск LibreOffice..."))
                return false;
            QThread::msleep(10);
        }
        return true;
    }
    int Waits = 0;
};

class RecordingOpener : public IFileOpener
{
public:
    bool openFile(const std::string &path) override
    {
        Opened.push_back(path);
        return true;
    }
    std::vector<std::string> Opened;
};

} // namespace

class ReportFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pointAddedAfterEachCalculation();
    void pointReplacedOrRefused();
    void reportWindowShowsTheTable();
    void rowsMovedAndDeleted();
    void deleteAllAsksFirst();
    void savedReopenedAndQuestionsAnswered();
    void okzAndDamagedFilesOpened();
    void fileErrorsAreShown();
    void exportMenusReachTheServers();
    void exportWaitShowsProgressAndStops();

private:
    ReportTable &table() const { return m_program->Session->Report(); }
    TAskNumberForm &askNumber() const { return m_program->Windows->AskNumberForm(); }
    TReportForm &report() const { return m_program->Windows->ReportForm(); }
    QTableView *grid() const
    {
        return m_program->find<QTableView>(&report(), QStringLiteral("ReportStringGrid"));
    }
    QAbstractButton *reportButton(const char *name) const
    {
        return m_program->find<QAbstractButton>(&report(), QString::fromLatin1(name));
    }
    QAction *reportMenu(const char *name) const
    {
        return m_program->find<QAction>(&report(), QString::fromLatin1(name));
    }
    QLineEdit *numberEdit() const
    {
        return m_program->find<QLineEdit>(&askNumber(), QStringLiteral("NumberEdit"));
    }
    QAbstractButton *askButton(const char *name) const
    {
        return m_program->find<QAbstractButton>(&askNumber(), QString::fromLatin1(name));
    }
    std::vector<std::string> shown() const { return m_program->Messages.texts(); }

    // Runs `body` while `window` is the open modal window; true when it was.
    static void whileModal(QWidget *window, bool &opened, const std::function<void()> &body)
    {
        whenModal([window, &opened, body](QWidget *modal) {
            opened = modal == window;
            if (!opened)
                return;
            modal->activateWindow();
            QCoreApplication::processEvents();
            body();
        });
    }
    bool whileReportOpen(const std::function<void()> &body)
    {
        bool opened = false;
        whileModal(&report(), opened, body);
        m_program->action(QStringLiteral("ViewReportMenu"))->trigger();
        return opened;
    }
    bool whileAskNumberOpen(const std::function<void()> &body, const std::function<void()> &open)
    {
        bool opened = false;
        whileModal(&askNumber(), opened, body);
        open();
        return opened;
    }
    // Names a point in the open point-name dialog and presses "Да".
    void namePoint(const QString &name)
    {
        retype(numberEdit(), name);
        QTest::mouseClick(askButton("OKButton"), Qt::LeftButton);
    }
    void addPointsToTable(int count)
    {
        if (table().RowCount() < count)
            table().SetRowCount(count);
        for (int row = 0; row < count; ++row)
            table().SetRow(row, pointRow("P" + std::to_string(row + 1)));
    }
    void clickCell(int row, int col)
    {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, col));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Mouse button released where the grid has no cell: right of the last column.
    void clickBesideTheCells()
    {
        QWidget *viewport = grid()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() - 2, 5));
    }
    int selectedRow() const
    {
        const QModelIndexList rows = grid()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    }

    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<QAbstractItemModelTester> m_modelTester;
    QTemporaryDir m_folder;
};

void ReportFormTest::init()
{
    QVERIFY(m_folder.isValid());
    m_program = std::make_unique<TestProgram>();
    m_modelTester = std::make_unique<QAbstractItemModelTester>(
            grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(QTest::qWaitForWindowActive(&m_program->main()));
}

void ReportFormTest::cleanup()
{
    const QStringList shownAtEnd = visibleTopLevels();
    m_modelTester.reset();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void ReportFormTest::pointAddedAfterEachCalculation()
{
    // The dialog opens by itself after a calculation while its check box is ticked.
    QVERIFY(whileAskNumberOpen(
            [this] {
                QCOMPARE(askNumber().windowTitle(),
                         QStringLiteral("Добавление результатов в отчет"));
                QCOMPARE(askNumber().size(), QSize(334, 186));
                QVERIFY(numberEdit()->hasFocus());
                QCOMPARE(numberEdit()->text(), QString());
                QVERIFY(m_program
                                ->find<QCheckBox>(&askNumber(),
                                                  QStringLiteral("NumberPointNoMoreCheckBox"))
                                ->isChecked());
                QTest::keyClick(numberEdit(), Qt::Key_F1);
                // "Да" is not the default button: Enter adds nothing.
                typeText(numberEdit(), QStringLiteral("К-1"));
                QTest::keyClick(numberEdit(), Qt::Key_Return);
                QVERIFY(askNumber().isVisible());
                QVERIFY(!table().IsRowInUse(0));
                QTest::mouseClick(askButton("OKButton"), Qt::LeftButton);
                QVERIFY(!askNumber().isVisible());
            },
            [this] { m_program->calculate(); }));
    using Topic = std::pair<std::string, int>;
    QCOMPARE(m_program->Help.Topics, std::vector<Topic>{Topic("help.hlp", 35)});
    QVERIFY(shown().empty());
    // The values as the result window shows them; no device has been chosen.
    QCOMPARE(table().Row(0),
             (ReportRow{"К-1",
                        "652,40",
                        "805,75",
                        "0,00",
                        "0,00",
                        "40",
                        "692,40",
                        "805,75",
                        "1\u00A0062,38",
                        "217",
                        "---",
                        "---"}));
    QCOMPARE(table().RowCount(), 14);

    // The next calculation offers the last name again; a new one goes below.
    retype(m_program->find<QLineEdit>(&m_program->main(), QStringLiteral("RArcEdit")),
           QStringLiteral("20"));
    QVERIFY(whileAskNumberOpen(
            [this] {
                QCOMPARE(numberEdit()->text(), QStringLiteral("К-1"));
                QCOMPARE(numberEdit()->selectedText(), QStringLiteral("К-1"));
                namePoint(QStringLiteral("К-2"));
                QVERIFY(!askNumber().isVisible());
            },
            [this] { m_program->calculate(); }));
    QCOMPARE(table().Cell(0, 1), std::string("К-2"));
    QCOMPARE(table().Cell(5, 1), std::string("20"));

    // Unticked, the dialog no longer follows a calculation; the menu still opens it.
    QVERIFY(whileAskNumberOpen(
            [this] {
                QTest::mouseClick(
                        m_program->find<QCheckBox>(&askNumber(),
                                                   QStringLiteral("NumberPointNoMoreCheckBox")),
                        Qt::LeftButton);
                QTest::keyClick(&askNumber(), Qt::Key_Escape);
                QVERIFY(!askNumber().isVisible());
            },
            [this] { m_program->action(QStringLiteral("AddReportMenu"))->trigger(); }));
    QVERIFY(!m_program->Session->AskNumber().NumberPointNoMoreChecked());
    QWidget *opened = &m_program->main();
    whenModal([&opened](QWidget *modal) { opened = modal; });
    m_program->calculate();
    QCoreApplication::processEvents();
    QCOMPARE(opened, nullptr);
    QCOMPARE(table().RowsInUseCount(), 2);
}

void ReportFormTest::pointReplacedOrRefused()
{
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    m_program->calculate();
    QAction *add = m_program->action(QStringLiteral("AddReportMenu"));
    QVERIFY(whileAskNumberOpen([this] { namePoint(QStringLiteral("К-1")); },
                               [add] { add->trigger(); }));
    QCOMPARE(table().Cell(9, 0), std::string("217"));

    // A point of the same name: "Cancel" leaves everything and the dialog open, "OK"
    // replaces the row in place.
    retype(m_program->find<QLineEdit>(&m_program->main(), QStringLiteral("RArcEdit")),
           QStringLiteral("0"));
    m_program->calculate();
    m_program->Messages.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    QVERIFY(whileAskNumberOpen(
            [this] {
                QTest::mouseClick(askButton("OKButton"), Qt::LeftButton);
                QCOMPARE(shown(), std::vector<std::string>{ReplaceQuestion});
                QVERIFY(askNumber().isVisible());
                QCOMPARE(table().Cell(9, 0), std::string("217"));
                QTest::mouseClick(askButton("OKButton"), Qt::LeftButton);
                QVERIFY(!askNumber().isVisible());
            },
            [add] { add->trigger(); }));
    QCOMPARE(table().RowsInUseCount(), 1);
    QCOMPARE(table().Cell(5, 0), std::string("0"));
    QVERIFY(table().Cell(9, 0) != "217");

    // Refused names leave the dialog open with the name as typed.
    m_program->Messages.clear();
    QVERIFY(whileAskNumberOpen(
            [this] {
                namePoint(QString());
                namePoint(QStringLiteral(" К-2"));
                namePoint(QStringLiteral("Щит-1234"));
                QCOMPARE(shown(), (std::vector<std::string>{EmptyNameMessage, EmptyNameMessage}));
                // Eight letters are accepted.
                QVERIFY(!askNumber().isVisible());
            },
            [add] { add->trigger(); }));
    QCOMPARE(table().Cell(0, 1), std::string("Щит-1234"));

    m_program->Messages.clear();
    QVERIFY(whileAskNumberOpen(
            [this] {
                namePoint(QStringLiteral("Щит-12345"));
                QCOMPARE(shown(), std::vector<std::string>{NameTooLongMessage});
                QVERIFY(askNumber().isVisible());
                QCOMPARE(numberEdit()->text(), QStringLiteral("Щит-12345"));
                // "Отмена" closes without a change; the name stays for the next time.
                QTest::mouseClick(askButton("CancelBitBtn"), Qt::LeftButton);
            },
            [add] { add->trigger(); }));
    QCOMPARE(table().RowsInUseCount(), 2);
    QVERIFY(whileAskNumberOpen(
            [this] { QCOMPARE(numberEdit()->text(), QStringLiteral("Щит-12345")); },
            [add] { add->trigger(); }));

    // A full table grows by one row for the next point.
    addPointsToTable(14);
    QVERIFY(whileAskNumberOpen([this] { namePoint(QStringLiteral("К-15")); },
                               [add] { add->trigger(); }));
    QCOMPARE(table().RowCount(), 15);
    QCOMPARE(table().Cell(0, 14), std::string("К-15"));
}

void ReportFormTest::reportWindowShowsTheTable()
{
    QVERIFY(whileReportOpen([this] {
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет - *Новый*"));
        auto *menuBar = m_program->find<QMenuBar>(&report(), QStringLiteral("ReportFormMenu"));
        QCOMPARE(report().size(), QSize(667, 373 + menuBar->sizeHint().height()));

        QTableView *view = grid();
        QCOMPARE(view->model()->columnCount(), 12);
        QCOMPARE(view->model()->rowCount(), 14);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->columnWidth(3), 50);
        QCOMPARE(view->rowHeight(0), 18);
        // At first the first row is the selected one.
        QCOMPARE(selectedRow(), 0);
        // Cells are not edited in place.
        addPointsToTable(1);
        report().showState();
        const QModelIndex cell = view->model()->index(0, 2);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
        QTest::keyClick(view, Qt::Key_F2);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(view->viewport()->findChildren<QLineEdit *>().isEmpty());
        QCOMPARE(view->model()->data(cell).toString(), QStringLiteral("P1.2"));

        // Headings and units above the columns; each shows its column's hint.
        auto labelText = [this](int number) {
            return m_program->find<QLabel>(&report(), QStringLiteral("Label%1").arg(number))
                    ->text();
        };
        QCOMPARE(labelText(1), QStringLiteral("№ точки"));
        QCOMPARE(labelText(9), QStringLiteral("| Zф-н |"));
        QCOMPARE(labelText(12), QStringLiteral("Tср"));
        QCOMPARE(labelText(13), QStringLiteral("мОм"));
        QCOMPARE(labelText(23), QStringLiteral("с"));
        auto *bar = m_program->find<QStatusBar>(&report(), QStringLiteral("StatusBar1"));
        hover(m_program->find<QLabel>(&report(), QStringLiteral("Label7")));
        QCOMPARE(bar->currentMessage(),
                 QStringLiteral("Активное сопротивление петли \"фаза-ноль\""));
        hover(m_program->find<QLabel>(&report(), QStringLiteral("Label22")));
        QCOMPARE(bar->currentMessage(), QStringLiteral("Ток срабатывания аппарата защиты"));
        hover(reportButton("UpSpeedButton"));
        QCOMPARE(bar->currentMessage(),
                 QStringLiteral("Перемещение строки в списке на одну позицию вверх"));
        for (const QWidget *w : report().findChildren<QWidget *>())
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));

        // The menu "Файл" in its order, without shortcuts.
        QMenu *file = m_program->find<QMenu>(&report(), QStringLiteral("FileReportMenu"));
        QStringList items;
        for (const QAction *item : file->actions()) {
            items << item->text();
            QVERIFY(item->shortcut().isEmpty());
        }
        QCOMPARE(items,
                 (QStringList{QStringLiteral("Новый"),
                              QStringLiteral("Сохранить"),
                              QStringLiteral("Сохранить как..."),
                              QStringLiteral("Открыть..."),
                              QStringLiteral("Экспорт"),
                              // The report's sheet, after the items above and a separator.
                              QString(),
                              QStringLiteral("Печать..."),
                              QStringLiteral("Сохранить в PDF...")}));
        QVERIFY(file->actions().at(5)->isSeparator());
        QCOMPARE(reportMenu("ExportToExcelReportMenu")->text(), QStringLiteral("в Excel"));
        QCOMPARE(reportMenu("ExportToCalcReportMenu")->text(), QStringLiteral("в Calc"));

        // Tab passes the grid and the arrows by; F1 opens the report's topic.
        QStringList order;
        reportButton("DeleteReportButton")->setFocus();
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QStringList{QStringLiteral("DeleteReportButton"),
                              QStringLiteral("DeleteAllButton"),
                              QStringLiteral("CloseReportBitBtn"),
                              QStringLiteral("DeleteReportButton")}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        using Topic = std::pair<std::string, int>;
        QCOMPARE(m_program->Help.Topics, std::vector<Topic>{Topic("help.hlp", 35)});

        QTest::mouseClick(reportButton("CloseReportBitBtn"), Qt::LeftButton);
        QVERIFY(!report().isVisible());
    }));
    QCOMPARE(report().result(), int(QDialog::Accepted));
}

void ReportFormTest::rowsMovedAndDeleted()
{
    addPointsToTable(8);
    QVERIFY(whileReportOpen([this] {
        // The point of row 5, three times up: it stands in row 2, which is selected.
        clickCell(5, 3);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(reportButton("UpSpeedButton"), Qt::LeftButton);
        QCOMPARE(table().Cell(0, 2), std::string("P6"));
        QCOMPARE(table().Cell(0, 3), std::string("P3"));
        QCOMPARE(selectedRow(), 2);
        QCOMPARE(grid()->model()->index(2, 0).data().toString(), QStringLiteral("P6"));

        // Down from the last point does nothing; neither does up from the first.
        clickCell(7, 0);
        QTest::mouseClick(reportButton("DownSpeedButton"), Qt::LeftButton);
        QCOMPARE(table().Cell(0, 7), std::string("P8"));
        QCOMPARE(selectedRow(), 7);
        clickCell(0, 11);
        QTest::mouseClick(reportButton("UpSpeedButton"), Qt::LeftButton);
        QCOMPARE(table().Cell(0, 0), std::string("P1"));

        // "Удалить" takes the selected point out; the points below move up.
        clickCell(2, 6);
        QTest::mouseClick(reportButton("DeleteReportButton"), Qt::LeftButton);
        QCOMPARE(table().RowsInUseCount(), 7);
        QCOMPARE(table().Cell(0, 2), std::string("P3"));
        QCOMPARE(table().RowCount(), 14);
        QCOMPARE(selectedRow(), 2);
        QVERIFY(shown().empty());

        // After a release where the grid has no cell, there is no row to delete.
        clickBesideTheCells();
        QTest::mouseClick(reportButton("DeleteReportButton"), Qt::LeftButton);
        QCOMPARE(shown(), std::vector<std::string>{NoRowMessage});
        QCOMPARE(table().RowsInUseCount(), 7);
        QTest::mouseClick(reportButton("UpSpeedButton"), Qt::LeftButton);
        QCOMPARE(table().Cell(0, 2), std::string("P3"));
    }));

    // Twenty points in twenty rows: deleting the last leaves nineteen rows, the new last
    // one selected.
    addPointsToTable(20);
    QVERIFY(whileReportOpen([this] {
        QCOMPARE(grid()->model()->rowCount(), 20);
        grid()->scrollToBottom();
        clickCell(19, 0);
        QTest::mouseClick(reportButton("DeleteReportButton"), Qt::LeftButton);
        QCOMPARE(table().RowCount(), 19);
        QCOMPARE(grid()->model()->rowCount(), 19);
        QCOMPARE(table().CurrentRow(), 18);
        QCOMPARE(selectedRow(), 18);
        QCOMPARE(table().RowsInUseCount(), 19);
    }));
}

void ReportFormTest::deleteAllAsksFirst()
{
    addPointsToTable(16);
    const std::string path = m_folder.filePath(QStringLiteral("points.csv")).toStdString();
    table().SetReportFile(path);
    QVERIFY(whileReportOpen([this, &path] {
        QCOMPARE(report().windowTitle(), QString::fromStdString("Отчет-" + path));
        TDeleteAllReportForm *confirmation = &m_program->Windows->DeleteAllReportForm();

        bool asked = false;
        whileModal(confirmation, asked, [this, confirmation] {
            QCOMPARE(confirmation->windowTitle(), QStringLiteral("Удаление отчета"));
            QCOMPARE(confirmation->size(), QSize(294, 114));
            QCOMPARE(m_program->find<QLabel>(confirmation, QStringLiteral("Label1"))->text(),
                     QStringLiteral("Вы действительно хотите удалить весь отчет?"));
            QCOMPARE(m_program->find<QAbstractButton>(confirmation, QStringLiteral("OKBitBtn"))
                             ->text(),
                     QStringLiteral("Да"));
            QTest::mouseClick(
                    m_program->find<QAbstractButton>(confirmation, QStringLiteral("CancelBitBtn")),
                    Qt::LeftButton);
        });
        QTest::mouseClick(reportButton("DeleteAllButton"), Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(table().RowsInUseCount(), 16);

        whileModal(confirmation, asked, [this, confirmation] {
            QTest::mouseClick(
                    m_program->find<QAbstractButton>(confirmation, QStringLiteral("OKBitBtn")),
                    Qt::LeftButton);
        });
        QTest::mouseClick(reportButton("DeleteAllButton"), Qt::LeftButton);
        QVERIFY(asked);
        QCOMPARE(confirmation->result(), int(QDialog::Accepted));
        QCOMPARE(table().RowsInUseCount(), 0);
        QCOMPARE(grid()->model()->rowCount(), 14);
        // The report still belongs to its file.
        QCOMPARE(report().windowTitle(), QString::fromStdString("Отчет-" + path));
    }));
}

void ReportFormTest::savedReopenedAndQuestionsAnswered()
{
    addPointsToTable(2);
    const QString path = m_folder.filePath(QStringLiteral("two.csv"));
    RecordingFileDialogs &dialogs = m_program->Dialogs;
    RecordingMessages &messages = m_program->Messages;
    QVERIFY(whileReportOpen([&] {
        // "Сохранить" of a new report asks for the name first.
        dialogs.paths = {path.toStdString()};
        reportMenu("SaveReportMenu")->trigger();
        QCOMPARE(dialogs.dialogs().size(), std::size_t(1));
        QVERIFY(dialogs.dialogs()[0].save);
        QCOMPARE(dialogs.dialogs()[0].filterTexts(),
                 std::vector<std::string>{"Таблица (*.csv)|*.csv"});
        QCOMPARE(dialogs.dialogs()[0].defaultExtension, std::string("csv"));
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет-") + path);
        const QByteArray written = fileBytes(path);
        QCOMPARE(written.count("\r\n"), 4);
        QVERIFY(written.endsWith("P2.11\r\n"));
        QVERIFY(shown().empty());

        // "Сохранить как..." over the same file: "Cancel" shows the dialog again.
        clickCell(0, 0);
        QTest::mouseClick(reportButton("DeleteReportButton"), Qt::LeftButton);
        dialogs.paths = {path.toStdString(), std::nullopt};
        messages.answers = {MessageAnswer::Cancel};
        reportMenu("SaveAsReportMenu")->trigger();
        QCOMPARE(shown(), std::vector<std::string>{"Такой файл уже существует. Переписать файл?"});
        QCOMPARE(dialogs.dialogs().size(), std::size_t(3));
        QCOMPARE(fileBytes(path), written);
        dialogs.paths = {path.toStdString()};
        messages.answers = {MessageAnswer::Ok};
        reportMenu("SaveAsReportMenu")->trigger();
        QCOMPARE(fileBytes(path).count("\r\n"), 3);

        // "Новый" offers to save a report with points: "Cancel" keeps everything, "No"
        // starts an empty report.
        m_program->Messages.clear();
        messages.answers = {MessageAnswer::Cancel};
        reportMenu("NewReportMenu")->trigger();
        QCOMPARE(shown(), std::vector<std::string>{"Сохранить предыдущий отчет?"});
        QCOMPARE(table().RowsInUseCount(), 1);
        messages.answers = {MessageAnswer::No};
        reportMenu("NewReportMenu")->trigger();
        QCOMPARE(table().RowsInUseCount(), 0);
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет- *Новый*"));
        QCOMPARE(fileBytes(path).count("\r\n"), 3);

        // "Открыть..." brings the saved point back under the file's name.
        dialogs.paths = {path.toStdString()};
        reportMenu("OpenReportMenu")->trigger();
        QCOMPARE(dialogs.dialogs().back().filterTexts(),
                 (std::vector<std::string>{"Таблица (*.csv)|*.csv", "Таблица (*.okz)|*.okz"}));
        QCOMPARE(dialogs.dialogs().back().defaultExtension, std::string("okz"));
        QCOMPARE(table().Row(0), pointRow("P2"));
        QCOMPARE(grid()->model()->index(0, 11).data().toString(), QStringLiteral("P2.11"));
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет-") + path);

        // "Новый", answered "Yes", saves to the report's file without a dialog first.
        addPointsToTable(3);
        const std::size_t dialogsBefore = dialogs.dialogs().size();
        m_program->Messages.clear();
        messages.answers = {MessageAnswer::Yes};
        reportMenu("NewReportMenu")->trigger();
        QCOMPARE(dialogs.dialogs().size(), dialogsBefore);
        QCOMPARE(fileBytes(path).count("\r\n"), 5);
        QCOMPARE(table().RowsInUseCount(), 0);
        QCOMPARE(grid()->model()->rowCount(), 14);
    }));
}

void ReportFormTest::okzAndDamagedFilesOpened()
{
    QByteArray okz;
    for (const char *name : {"A", "B", "C"}) {
        okz += '|';
        for (int col = 0; col < 12; ++col)
            okz += QByteArray(name) + QByteArray::number(col) + '|';
        okz += "\r\n";
    }
    const QString okzPath = m_folder.filePath(QStringLiteral("old.okz"));
    QVERIFY(writeFile(okzPath, okz));
    // A line of ten fields marks the file as damaged.
    const QString damagedPath = m_folder.filePath(QStringLiteral("damaged.csv"));
    QVERIFY(writeFile(damagedPath, "h\r\nu\r\nK1;1;2;3;4;5;6;7;8;9\r\n"));

    RecordingFileDialogs &dialogs = m_program->Dialogs;
    QVERIFY(whileReportOpen([&] {
        dialogs.paths = {okzPath.toStdString()};
        reportMenu("OpenReportMenu")->trigger();
        QCOMPARE(table().RowsInUseCount(), 3);
        QCOMPARE(table().Cell(11, 2), std::string("C11"));
        QCOMPARE(grid()->model()->index(2, 0).data().toString(), QStringLiteral("C0"));
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет-") + okzPath);

        // "No" to the damaged file shows the dialog again and loads nothing.
        m_program->Messages.answers = {MessageAnswer::No};
        dialogs.paths = {damagedPath.toStdString(), std::nullopt};
        reportMenu("OpenReportMenu")->trigger();
        QCOMPARE(shown(),
                 std::vector<std::string>{"Формат файла поврежден. Продолжить загрузку данных?"});
        QCOMPARE(dialogs.paths.size(), std::size_t(0));
        QCOMPARE(table().RowsInUseCount(), 3);

        m_program->Messages.answers = {MessageAnswer::Yes};
        dialogs.paths = {damagedPath.toStdString()};
        reportMenu("OpenReportMenu")->trigger();
        QCOMPARE(table().RowsInUseCount(), 1);
        QCOMPARE(table().Cell(0, 0), std::string("K1"));
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет-") + damagedPath);
    }));
}

void ReportFormTest::fileErrorsAreShown()
{
    addPointsToTable(1);
    const QString missingFolder = m_folder.filePath(QStringLiteral("no-such-folder/x.csv"));
    RecordingFileDialogs &dialogs = m_program->Dialogs;
    QVERIFY(whileReportOpen([&] {
        dialogs.paths = {missingFolder.toStdString()};
        reportMenu("SaveAsReportMenu")->trigger();
        QCOMPARE(shown().size(), std::size_t(1));
        QVERIFY(QString::fromStdString(shown()[0])
                        .startsWith(QStringLiteral("Не удалось записать файл")));
        QVERIFY(QString::fromStdString(shown()[0]).contains(missingFolder));
        // The report did not go to that file.
        QCOMPARE(report().windowTitle(), QStringLiteral("Отчет - *Новый*"));

        dialogs.paths = {m_folder.filePath(QStringLiteral("missing.csv")).toStdString()};
        reportMenu("OpenReportMenu")->trigger();
        QCOMPARE(shown().size(), std::size_t(2));
        QVERIFY(QString::fromStdString(shown()[1])
                        .startsWith(QStringLiteral("Не удалось прочитать файл")));
        QCOMPARE(table().Row(0), pointRow("P1"));
    }));
}

void ReportFormTest::exportMenusReachTheServers()
{
    addPointsToTable(3);
    RecordingOpener opener;
    QVERIFY(whileReportOpen([&] {
        // Without the spreadsheet programs each export says what is missing.
        reportMenu("ExportToExcelReportMenu")->trigger();
        reportMenu("ExportToCalcReportMenu")->trigger();
        QCOMPARE(shown(),
                 (std::vector<std::string>{"Требуется установить MS Excel на компьютер",
                                           "Требуется установить OpenOffice.org на компьютер"}));

        // With one, the workbook is written and handed to the desktop to open.
        XlsxExport excel(
                opener, [] { return true; }, m_folder.path().toStdString());
        m_program->Spreadsheets.excel = &excel;
        reportMenu("ExportToExcelReportMenu")->trigger();
        QCOMPARE(shown().size(), std::size_t(2));
        QCOMPARE(opener.Opened.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(opener.Opened[0]).endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFile::exists(QString::fromStdString(opener.Opened[0])));
        QCOMPARE(table().RowsInUseCount(), 3);
        m_program->Spreadsheets.excel = nullptr;
    }));
}

void ReportFormTest::exportWaitShowsProgressAndStops()
{
    addPointsToTable(2);
    WaitingSpreadsheet calc;
    m_program->Spreadsheets.calc = &calc;
    bool seen = false;
    QVERIFY(whileReportOpen([&] {
        // While the export waits, its progress window is up and the program busy.
        QTimer::singleShot(300, [&] {
            auto *dialog = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("ExportProgressDialog"));
            QCOMPARE(dialog->labelText(), QStringLiteral("Запуск LibreOffice..."));
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
            auto *cancel = dialog->findChild<QPushButton *>();
            QVERIFY(cancel);
            QCOMPARE(cancel->text(), QStringLiteral("Отмена"));
            if (qEnvironmentVariableIsSet("TORMEL_GRAB_DIR"))
                dialog->grab().save(qEnvironmentVariable("TORMEL_GRAB_DIR")
                                    + QStringLiteral("/export-progress.png"));
            seen = true;
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        reportMenu("ExportToCalcReportMenu")->trigger();
        QVERIFY(seen);
        QVERIFY(calc.Waits < 1000);
        QCOMPARE(shown(), std::vector<std::string>{"Экспорт отменен: документ в Calc не создан."});
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(table().RowsInUseCount(), 2);
    }));
    m_program->Spreadsheets.calc = nullptr;
}

QTEST_MAIN(ReportFormTest)
#include "ReportFormTest.moc"
