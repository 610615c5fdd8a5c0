// Only the main window is built at start-up; each of the others is built when first
// opened. A window built late must show what it would have shown had it stood from the
// start, and once built it follows the session like every other window.

#include "FakeServices.h"
#include "GuiTestSupport.h"
#include "TestProgram.h"

#include "app/AskNumberForm.h"
#include "app/DeviceDefenceForm.h"
#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "report/ReportTable.h"
#include "session/DeviceDefenceFormModel.h"
#include "session/ResultWindowModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

namespace {

ReportRow pointRow(const std::string &name)
{
    ReportRow row;
    row[0] = name;
    for (std::size_t col = 1; col < row.size(); ++col)
        row[col] = name + "." + std::to_string(col);
    return row;
}

} // namespace

class LateWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void onlyTheMainWindowIsBuiltAtStartUp();
    void resultWindowBuiltLateShowsTheLastResult();
    void builtResultWindowFollowsLaterCalculations();
    void dialogsBuiltLateShowTheirModels();
    void reportBuiltLateShowsItsPointsAndConfirmsDeleteAll();

private:
    TMainForm &main() const { return m_program->main(); }
    QStringList builtDialogs() const
    {
        QStringList names;
        for (const QDialog *dialog : main().findChildren<QDialog *>())
            names << dialog->objectName();
        return names;
    }
    // Every label of the result window against the session's model.
    QStringList differingResultLabels(const TResultForm &result) const
    {
        QStringList differing;
        const ResultWindowModel &model = m_program->Session->ResultWindow();
        auto check = [&](const auto &labels) {
            for (const auto &[name, text] : labels) {
                const auto *label = result.findChild<QLabel *>(QString::fromStdString(name));
                if (!label || label->text() != QString::fromStdString(text))
                    differing << QString::fromStdString(name);
            }
        };
        check(model.Labels());
        check(model.Analysis.Labels());
        return differing;
    }
    void retypeArc(const QString &text) const
    {
        retype(m_program->find<QLineEdit>(&main(), QStringLiteral("RArcEdit")), text);
    }

    std::unique_ptr<TestProgram> m_program;
};

void LateWindowsTest::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    QVERIFY(QTest::qWaitForWindowActive(&main()));
}

void LateWindowsTest::cleanup()
{
    const QStringList shownAtEnd = visibleTopLevels();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void LateWindowsTest::onlyTheMainWindowIsBuiltAtStartUp()
{
    QCOMPARE(builtDialogs(), QStringList());
    // A calculation brings the windows that exist up to date; it builds none.
    m_program->calculate();
    QCOMPARE(builtDialogs(), QStringList());
    // Opening a window builds that one only, once.
    TResultForm *result = nullptr;
    for (int time = 0; time < 2; ++time) {
        whenModal([&result](QWidget *modal) { result = qobject_cast<TResultForm *>(modal); });
        m_program->action(QStringLiteral("ResultMenu"))->trigger();
        QVERIFY(result);
        QCOMPARE(builtDialogs(), QStringList{QStringLiteral("ResultForm")});
    }
}

void LateWindowsTest::resultWindowBuiltLateShowsTheLastResult()
{
    // A refused calculation and two successful ones before the window is first opened:
    // it shows the last result, on its first page, centred like every dialog.
    retypeArc(QStringLiteral("-1"));
    m_program->calculate();
    retypeArc(QStringLiteral("40"));
    m_program->calculate();
    retypeArc(QStringLiteral("12.6"));
    m_program->calculate();
    QCOMPARE(m_program->Messages.texts().size(), std::size_t(1));
    QCOMPARE(builtDialogs(), QStringList());

    QStringList differing{QStringLiteral("not opened")};
    QString rother;
    int page = -1;
    QPoint centreOffset;
    whenModal([&](QWidget *modal) {
        auto *result = qobject_cast<TResultForm *>(modal);
        QVERIFY(result);
        differing = differingResultLabels(*result);
        rother = result->findChild<QLabel *>(QStringLiteral("RotherLabel"))->text();
        page = result->findChild<QTabWidget *>(QStringLiteral("ResultPageControl"))->currentIndex();
        centreOffset
                = result->frameGeometry().center() - result->screen()->availableGeometry().center();
    });
    m_program->action(QStringLiteral("ResultMenu"))->trigger();
    QCOMPARE(differing, QStringList());
    QCOMPARE(rother, QStringLiteral("Rпр=13 мОм"));
    QCOMPARE(page, 0);
    // (within the rounding of the platform's frame)
    QVERIFY2(qAbs(centreOffset.x()) <= 3 && qAbs(centreOffset.y()) <= 3,
             qPrintable(QStringLiteral("%1,%2").arg(centreOffset.x()).arg(centreOffset.y())));
}

void LateWindowsTest::builtResultWindowFollowsLaterCalculations()
{
    m_program->calculate();
    TResultForm &result = m_program->Windows->ResultForm();
    QCOMPARE(differingResultLabels(result), QStringList());

    // Hidden, it still takes each new result and keeps it through a refused calculation.
    retypeArc(QStringLiteral("12.6"));
    m_program->calculate();
    QCOMPARE(result.findChild<QLabel *>(QStringLiteral("RotherLabel"))->text(),
             QStringLiteral("Rпр=13 мОм"));
    QCOMPARE(differingResultLabels(result), QStringList());
    retypeArc(QStringLiteral("-1"));
    m_program->calculate();
    QCOMPARE(result.findChild<QLabel *>(QStringLiteral("RotherLabel"))->text(),
             QStringLiteral("Rпр=13 мОм"));
    QCOMPARE(differingResultLabels(result), QStringList());
}

void LateWindowsTest::dialogsBuiltLateShowTheirModels()
{
    // A fuse chosen before the device window exists, as opening a feed file does.
    TDeviceDefenceFormModel &device = m_program->Session->DeviceForm();
    PPRadioButtonClick(device);
    device.KZPP.Text = "1,5";

    QStringList deviceShown;
    whenModal([&](QWidget *modal) {
        QVERIFY(qobject_cast<TDeviceDefenceForm *>(modal));
        const auto *fuse = modal->findChild<QRadioButton *>(QStringLiteral("PPRadioButton"));
        const auto *kz = modal->findChild<QComboBox *>(QStringLiteral("KZPPComboBox"));
        const auto *breakerKz = modal->findChild<QComboBox *>(QStringLiteral("KZAVComboBox"));
        deviceShown << QString::number(fuse->isChecked()) << kz->currentText()
                    << QString::number(kz->isEnabled()) << QString::number(breakerKz->isEnabled());
    });
    QTest::mouseClick(m_program->find<QPushButton>(&main(), QStringLiteral("DDButton")),
                      Qt::LeftButton);
    QCOMPARE(deviceShown,
             (QStringList{QStringLiteral("1"),
                          QStringLiteral("1,5"),
                          QStringLiteral("1"),
                          QStringLiteral("0")}));

    // A point name and the check box set before the point-name dialog exists.
    m_program->calculate();
    m_program->Session->AskNumber().SetNumberEditText("ТП-4");
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(true);
    QStringList nameShown;
    whenModal([&](QWidget *modal) {
        QVERIFY(qobject_cast<TAskNumberForm *>(modal));
        const auto *name = modal->findChild<QLineEdit *>(QStringLiteral("NumberEdit"));
        nameShown << name->text() << name->selectedText()
                  << QString::number(modal->findChild<QCheckBox *>(
                                                  QStringLiteral("NumberPointNoMoreCheckBox"))
                                             ->isChecked());
    });
    m_program->action(QStringLiteral("AddReportMenu"))->trigger();
    QCOMPARE(nameShown,
             (QStringList{QStringLiteral("ТП-4"), QStringLiteral("ТП-4"), QStringLiteral("1")}));
}

void LateWindowsTest::reportBuiltLateShowsItsPointsAndConfirmsDeleteAll()
{
    ReportTable &table = m_program->Session->Report();
    table.SetRowCount(3);
    for (int row = 0; row < 3; ++row)
        table.SetRow(row, pointRow("P" + std::to_string(row + 1)));
    QCOMPARE(builtDialogs(), QStringList());

    QStringList reportShown;
    bool confirmed = false;
    whenModal([&](QWidget *modal) {
        auto *report = qobject_cast<TReportForm *>(modal);
        QVERIFY(report);
        reportShown << report->windowTitle();
        const auto *grid = report->findChild<QTableView *>(QStringLiteral("ReportStringGrid"));
        for (int row = 0; row < 3; ++row)
            reportShown << grid->model()->index(row, 0).data().toString();
        // "Удалить все" opens its confirmation, itself built now; "Да" empties the table.
        whenModal([&confirmed](QWidget *confirmation) {
            confirmed = confirmation
                        && confirmation->objectName() == QLatin1String("DeleteAllReportForm");
            if (confirmed)
                QTest::mouseClick(
                        confirmation->findChild<QPushButton *>(QStringLiteral("OKBitBtn")),
                        Qt::LeftButton);
        });
        QTest::mouseClick(report->findChild<QPushButton *>(QStringLiteral("DeleteAllButton")),
                          Qt::LeftButton);
    });
    m_program->action(QStringLiteral("ViewReportMenu"))->trigger();
    QCOMPARE(reportShown,
             (QStringList{QString::fromStdString(table.Caption()),
                          QStringLiteral("P1"),
                          QStringLiteral("P2"),
                          QStringLiteral("P3")}));
    QVERIFY(confirmed);
    QCOMPARE(table.RowsInUseCount(), 0);
}

QTEST_MAIN(LateWindowsTest)
#include "LateWindowsTest.moc"
