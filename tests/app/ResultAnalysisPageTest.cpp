// The result window's analysis page driven as a user drives it: a calculation, the device
// window, the page and its views, the hints and F1.

#include "TestProgram.h"

#include "app/ResultForm.h"

#include <QLabel>
#include <QTabWidget>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

namespace {

using Topic = std::pair<std::string, int>;

// The shade of the band under the trip current and the two bar colours.
const QColor NoTripFill(255, 215, 215);
const QColor RColor(0, 90, 170);
const QColor XColor(230, 140, 20);

bool contains(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                return true;
        }
    }
    return false;
}

} // namespace

class ResultAnalysisPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fourthPageAfterTheThree();
    void showsTheAnalysisOfTheCalculationAndTheDevice();
    void chartsMarkTheNoTripBandAndSplitTheLoop();
    void hintsAndHelpOfThePage();

private:
    TResultForm &result() const { return m_program->Windows->ResultForm(); }
    template<class T>
    T *find(const QString &name) const
    {
        return m_program->find<T>(&result(), name);
    }
    QString text(const char *label) const
    {
        return find<QLabel>(QString::fromLatin1(label))->text();
    }
    // Section 1: 100 m of PVC copper cable 25 mm²; the breaker 16 A, "10 ("C")", 1.1.
    void calculateWithBreaker()
    {
        TLineInput &row = m_program->Session->Input().Lines[0];
        row.KindPerform = "Кабель с ПВХ изоляцией";
        m_program->Session->ChangeLineKind(1);
        row.Stuff = "Медь";
        row.Ff = "25";
        row.Fn = "25";
        row.Length = "100";
        m_program->main().showState();
        QVERIFY(m_program->Session->AcceptDevice().Done);
        m_program->calculate();
    }
    // Opens the window on the analysis page, as "Результаты" shows it, without a modal loop.
    void showAnalysis(int view)
    {
        result().showState();
        result().show();
        find<QTabWidget>(QStringLiteral("ResultPageControl"))->setCurrentIndex(3);
        find<QTabWidget>(QStringLiteral("AnalysisPageControl"))->setCurrentIndex(view);
    }
    QImage chart(const char *name) const
    {
        return find<QWidget>(QString::fromLatin1(name))->grab().toImage();
    }

    std::unique_ptr<TestProgram> m_program;
};

void ResultAnalysisPageTest::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    QVERIFY(QTest::qWaitForWindowActive(&m_program->main()));
}

void ResultAnalysisPageTest::cleanup()
{
    result().hide();
    const QStringList shownAtEnd = visibleTopLevels();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
}

void ResultAnalysisPageTest::fourthPageAfterTheThree()
{
    auto *pages = find<QTabWidget>(QStringLiteral("ResultPageControl"));
    QCOMPARE(pages->count(), 5);
    QCOMPARE(pages->tabText(0), QStringLiteral("Трансформатор"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Линия"));
    QCOMPARE(pages->tabText(2), QStringLiteral("Аппарат защиты"));
    QCOMPARE(pages->tabText(3), QStringLiteral("Анализ"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(result().size(), QSize(474, 452));

    auto *views = find<QTabWidget>(QStringLiteral("AnalysisPageControl"));
    QCOMPARE(views->count(), 3);
    QCOMPARE(views->tabText(0), QStringLiteral("Запас"));
    QCOMPARE(views->tabText(1), QStringLiteral("Ток вдоль линии"));
    QCOMPARE(views->tabText(2), QStringLiteral("Петля по элементам"));
    // Before a calculation every value is a placeholder.
    result().showState();
    QCOMPARE(text("MarginLabel"), QStringLiteral("---"));
    QCOMPARE(text("MaxLengthLine1Label"), QStringLiteral("---"));
}

void ResultAnalysisPageTest::showsTheAnalysisOfTheCalculationAndTheDevice()
{
    calculateWithBreaker();
    showAnalysis(0);
    QCOMPARE(text("MarginLabel"), QStringLiteral("Iокз/Iср=1,12"));
    QCOMPARE(text("LoopLimitLabel"), QStringLiteral("Zф-н≤1\u00A0312,50 мОм"));
    QCOMPARE(text("LargestDeviceLabel"), QStringLiteral("Iном=16 А"));
    QCOMPARE(text("LengthLine1Label"), QStringLiteral("100,00"));
    QCOMPARE(text("MaxLengthLine1Label"), QStringLiteral("211,21"));
    QCOMPARE(text("LengthLine2Label"), QStringLiteral("---"));
    // The first three pages still show what they showed.
    QCOMPARE(text("TokSRLabel"), QStringLiteral("Iср=176 А"));
    QCOMPARE(text("RLine1Label"), QStringLiteral("148,00"));

    // Resetting the device empties what depends on it, at the next opening.
    result().hide();
    m_program->Session->ResetDevice();
    showAnalysis(0);
    QCOMPARE(text("MarginLabel"), QStringLiteral("---"));
    QCOMPARE(text("LargestDeviceLabel"), QStringLiteral("---"));
    QCOMPARE(text("LengthLine1Label"), QStringLiteral("100,00"));
    QCOMPARE(text("MaxLengthLine1Label"), QStringLiteral("---"));
}

void ResultAnalysisPageTest::chartsMarkTheNoTripBandAndSplitTheLoop()
{
    calculateWithBreaker();
    showAnalysis(1);
    QVERIFY(contains(chart("FeedCurrentChart"), NoTripFill));
    showAnalysis(2);
    const QImage loop = chart("LoopShareChart");
    QVERIFY(contains(loop, RColor));
    QVERIFY(contains(loop, XColor));

    // Without a device there is no trip current and no band.
    result().hide();
    m_program->Session->ResetDevice();
    showAnalysis(1);
    QVERIFY(!contains(chart("FeedCurrentChart"), NoTripFill));
}

void ResultAnalysisPageTest::hintsAndHelpOfThePage()
{
    showAnalysis(0);
    QCOMPARE(find<QLabel>(QStringLiteral("MarginLabel"))->statusTip(),
             QStringLiteral("Отношение тока ОКЗ к току срабатывания аппарата"));
    QVERIFY(!find<QWidget>(QStringLiteral("FeedCurrentChart"))->statusTip().isEmpty());
    QVERIFY(!find<QWidget>(QStringLiteral("LoopShareChart"))->statusTip().isEmpty());

    result().activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &result());
    m_program->Help.Topics.clear();
    auto *views = find<QTabWidget>(QStringLiteral("AnalysisPageControl"));
    views->setFocus();
    QTest::keyClick(views, Qt::Key_F1);
    QCOMPARE(m_program->Help.Topics, std::vector<Topic>{Topic("help.hlp", 37)});

    // The other pages keep the window's topic.
    m_program->Help.Topics.clear();
    auto *pages = find<QTabWidget>(QStringLiteral("ResultPageControl"));
    pages->setCurrentIndex(1);
    pages->setFocus();
    QTest::keyClick(pages, Qt::Key_F1);
    QCOMPARE(m_program->Help.Topics, std::vector<Topic>{Topic("help.hlp", 36)});
}

QTEST_MAIN(ResultAnalysisPageTest)
#include "ResultAnalysisPageTest.moc"
