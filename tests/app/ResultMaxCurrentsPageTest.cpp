// The result window's page of the largest fault currents and the window of its inputs,
// driven as a user drives them: the inputs typed, a calculation, the page, its colours,
// hints and F1.

#include "TestProgram.h"

#include "app/MaxCurrentInputForm.h"
#include "app/ResultForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

namespace {

using Topic = std::pair<std::string, int>;

} // namespace

class ResultMaxCurrentsPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fifthPageAfterTheAnalysis();
    void typedInputsReachThePageWithTheirVerdicts();
    void emptyBoxesShowTheDefaultsOfTheTransformer();
    void hintsAndHelp();

private:
    TResultForm &result() const { return m_program->Windows->ResultForm(); }
    TMaxCurrentInputForm &inputs() const { return m_program->Windows->MaxCurrentInputForm(); }
    template<class T>
    T *find(QWidget *window, const QString &name) const
    {
        return m_program->find<T>(window, name);
    }
    QLabel *label(const char *name) const
    {
        return find<QLabel>(&result(), QString::fromLatin1(name));
    }
    // 400 kV*A "T/Y-0"; section 1: 5 m of PVC copper cable 4 mm²; the breaker 16 A.
    void prepareFeed()
    {
        MainInputModel &input = m_program->Session->Input();
        input.WindKind.Text = "T/Y-0";
        m_program->Session->ChangeWindKind();
        input.TransPower.Text = "400";
        TLineInput &row = input.Lines[0];
        row.KindPerform = "Кабель с ПВХ изоляцией";
        m_program->Session->ChangeLineKind(1);
        row.Stuff = "Медь";
        row.Ff = "4";
        row.Fn = "4";
        row.Length = "5";
        m_program->main().showState();
        QVERIFY(m_program->Session->AcceptDevice().Done);
    }
    void type(const char *edit, const QString &text)
    {
        auto *box = find<QLineEdit>(&inputs(), QString::fromLatin1(edit));
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void showPage()
    {
        result().showState();
        result().show();
        find<QTabWidget>(&result(), QStringLiteral("ResultPageControl"))->setCurrentIndex(4);
    }

    std::unique_ptr<TestProgram> m_program;
};

void ResultMaxCurrentsPageTest::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    QVERIFY(QTest::qWaitForWindowActive(&m_program->main()));
}

void ResultMaxCurrentsPageTest::cleanup()
{
    result().hide();
    inputs().hide();
    const QStringList shownAtEnd = visibleTopLevels();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
}

void ResultMaxCurrentsPageTest::fifthPageAfterTheAnalysis()
{
    auto *pages = find<QTabWidget>(&result(), QStringLiteral("ResultPageControl"));
    QCOMPARE(pages->count(), 5);
    QCOMPARE(pages->tabText(3), QStringLiteral("Анализ"));
    QCOMPARE(pages->tabText(4), QStringLiteral("Iмакс"));
    QCOMPARE(result().size(), QSize(474, 452));
    result().showState();
    QCOMPARE(label("Ik3Point0")->text(), QStringLiteral("---"));
    QCOMPARE(label("BreakingLabel")->text(), QStringLiteral("---"));
}

void ResultMaxCurrentsPageTest::typedInputsReachThePageWithTheirVerdicts()
{
    prepareFeed();
    inputs().showState();
    inputs().show();
    type("IcuEdit", QStringLiteral("6"));
    inputs().hide();
    m_program->calculate();
    showPage();
    QCOMPARE(label("Ik3Point0")->text(), QStringLiteral("12\u00A0833"));
    QCOMPARE(label("BreakingLabel")->text().left(13), QStringLiteral("недостаточна:"));
    QCOMPARE(label("BreakingLabel")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(label("VerdictLine1")->text(), QStringLiteral("не проходит"));
    QCOMPARE(label("VerdictLine1")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(label("KLine2")->text(), QStringLiteral("---"));

    // A refused text: one message naming the field, and the page is emptied.
    result().hide();
    inputs().show();
    type("SkEdit", QStringLiteral("0"));
    inputs().hide();
    m_program->Messages.clear();
    m_program->calculate();
    QCOMPARE(m_program->Messages.texts(),
             std::vector<std::string>{"Неверная мощность короткого замыкания питающей сети"});
    showPage();
    QCOMPARE(label("Ik3Point0")->text(), QStringLiteral("---"));
    // The calculation itself stands.
    QVERIFY(m_program->Session->Status().ResultMenuEnabled);
}

void ResultMaxCurrentsPageTest::emptyBoxesShowTheDefaultsOfTheTransformer()
{
    prepareFeed();
    inputs().showState();
    QCOMPARE(find<QLineEdit>(&inputs(), QStringLiteral("UkEdit"))->placeholderText(),
             QStringLiteral("4,50"));
    QCOMPARE(find<QLineEdit>(&inputs(), QStringLiteral("PkEdit"))->placeholderText(),
             QStringLiteral("5,90"));
    QVERIFY(find<QLineEdit>(&inputs(), QStringLiteral("UkEdit"))->text().isEmpty());
    m_program->Session->Input().TransPower.Text = "630";
    inputs().showState();
    QCOMPARE(find<QLineEdit>(&inputs(), QStringLiteral("UkEdit"))->placeholderText(),
             QStringLiteral("5,50"));
}

void ResultMaxCurrentsPageTest::hintsAndHelp()
{
    showPage();
    QVERIFY(!label("BreakingLabel")->statusTip().isEmpty());
    result().activateWindow();
    QCoreApplication::processEvents();
    m_program->Help.Topics.clear();
    auto *pages = find<QTabWidget>(&result(), QStringLiteral("ResultPageControl"));
    auto *page = find<QWidget>(&result(), QStringLiteral("MaxCurrentsTabSheet"));
    page->setFocus();
    QTest::keyClick(page, Qt::Key_F1);
    QCOMPARE(m_program->Help.Topics, std::vector<Topic>{Topic("help.hlp", 38)});
    Q_UNUSED(pages);
}

QTEST_MAIN(ResultMaxCurrentsPageTest)
#include "ResultMaxCurrentsPageTest.moc"
