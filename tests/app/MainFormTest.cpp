// The main window and the result window driven as a user drives them: keystrokes, picks
// from lists, "Расчет", menus and F1, with the message boxes and the help viewer answered
// by fakes.

#include "FakeServices.h"
#include "GuiTestSupport.h"

#include "app/AboutProgramForm.h"
#include "app/MainForm.h"
#include "app/ResultForm.h"
#include "app/TormelWindows.h"
#include "report/export/SpreadsheetExport.h"
#include "session/TormelSession.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

namespace {

const QString Waiting = QStringLiteral("Введите исходные данные для расчета");
const QString MissingData = QStringLiteral("Не хватает данных для расчета!");
const QString CalculateFirst
        = QStringLiteral("Выполните расчет тока однофазного короткого замыкания");
const QString NoDevice = QStringLiteral("В расчете не определен");
const QString Current217 = QStringLiteral("Ток однофазного короткого замыкания равен 217 А");

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithOnlyTheMainWindowShown();
    void startingTextsGiveTheCurrent217();
    void dialogAfterACalculationSeesItsResult();
    void enterPressesCalculateFromAnyField();
    void commaInALengthIsRefusedAfterItsMessage();
    void refusedPowerSetsTheStatusLinesBeforeItsMessage();
    void schemeRefillsThePowerList();
    void typingASchemeRaisesTheRuleOnEveryKeystroke();
    void lineKindRefillsOnlyItsOwnRow();
    void typingAKindLetterByLetter();
    void deviceStatusLineShowsTheVerdictColour();
    void stayOnTopToggledTwiceReturnsToNormal();
    void hintsShowInTheStatusBarOnly();
    void helpTopicsOfMenuAndF1();
    void resultWindowKeepsItsTextsAndPage();

private:
    TMainForm &main() const { return m_windows->MainForm(); }
    template<class T>
    T *find(const QString &name) const
    {
        T *child = main().findChild<T *>(name);
        if (!child)
            qFatal("no control %s", qPrintable(name));
        return child;
    }
    QComboBox *combo(const QString &name) const { return find<QComboBox>(name); }
    QLabel *label(const QString &name) const { return find<QLabel>(name); }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    // The offscreen platform activates a window when asked, through the event queue.
    static void activate(QWidget *window)
    {
        window->activateWindow();
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), window);
    }
    void calculate()
    {
        QTest::mouseClick(find<QPushButton>(QStringLiteral("StartBitBtn")), Qt::LeftButton);
    }

    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<RecordingHelp> m_help;
    std::unique_ptr<RecordingFileDialogs> m_dialogs;
    SpreadsheetPrograms m_spreadsheets;
    std::unique_ptr<TormelSession> m_session;
    std::unique_ptr<TormelWindows> m_windows;
};

void MainFormTest::init()
{
    m_messages = std::make_unique<RecordingMessages>(Unscripted::Accept);
    m_help = std::make_unique<RecordingHelp>();
    m_dialogs = std::make_unique<RecordingFileDialogs>();
    m_session = std::make_unique<TormelSession>(*m_messages, NumberSeparators::russian());
    m_windows = std::make_unique<TormelWindows>(*m_session, *m_help, *m_dialogs, m_spreadsheets);
    // These tests calculate without naming points: the point-name dialog stays closed.
    m_session->AskNumber().SetNumberPointNoMoreChecked(false);
    m_windows->showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main()));
}

void MainFormTest::cleanup()
{
    const QStringList shownAtEnd = visibleTopLevels();
    m_windows.reset();
    m_session.reset();
    // The main window was the only one left open, and it took every other window along.
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void MainFormTest::startsWithOnlyTheMainWindowShown()
{
    QCOMPARE(main().windowTitle(), QStringLiteral("Тормел 2.8.1"));
    QCOMPARE(main().width(), 706);
    QCOMPARE(main().height() - main().menuBar()->height(), 536);
    QVERIFY(!m_windows->ResultForm().isVisible());
    QVERIFY(!m_windows->AboutProgramForm().isVisible());
    QCOMPARE(m_windows->ResultForm().windowTitle(), QStringLiteral("Результаты расчета"));
    QCOMPARE(m_windows->AboutProgramForm().windowTitle(), QStringLiteral("О программе..."));

    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), Waiting);
    QCOMPARE(label(QStringLiteral("StatusDDLabel"))->text(), NoDevice);
    QVERIFY(!action(QStringLiteral("ResultMenu"))->isEnabled());
    QVERIFY(!action(QStringLiteral("AddReportMenu"))->isEnabled());
    QVERIFY(action(QStringLiteral("ViewReportMenu"))->isEnabled());
    QVERIFY(!action(QStringLiteral("OnTopMenu"))->isChecked());

    // The window shows the session's starting inputs; spot checks of each kind of control.
    QCOMPARE(combo(QStringLiteral("KindPerformLine1ComboBox"))->currentText(),
             QStringLiteral("Кабель с бумажной изоляцией"));
    QCOMPARE(combo(QStringLiteral("StuffLine1ComboBox"))->currentText(),
             QStringLiteral("Алюминий"));
    QCOMPARE(combo(QStringLiteral("KindPerformLine4ComboBox"))->currentText(),
             QStringLiteral("Кабель с ПВХ изоляцией"));
    QCOMPARE(combo(QStringLiteral("StuffLine4ComboBox"))->currentText(), QStringLiteral("Медь"));
    QCOMPARE(combo(QStringLiteral("KindPerformLine6ComboBox"))->count(), 15);
    QCOMPARE(combo(QStringLiteral("QuanParLine2ComboBox"))->currentText(), QStringLiteral("нет"));
    QCOMPARE(combo(QStringLiteral("FnLine3ComboBox"))->count(), 16);
    QCOMPARE(combo(QStringLiteral("Temperature6ComboBox"))->currentText(), QStringLiteral("20"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("LengthLine5Edit"))->text(), QStringLiteral("0"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("RArcEdit"))->text(), QStringLiteral("40"));
    QCOMPARE(combo(QStringLiteral("TransPowerComboBox"))->count(), 12);
    QCOMPARE(combo(QStringLiteral("TransPowerComboBox"))->currentText(), QStringLiteral("25"));

    // The main window's own boxes, not those of the dialogs it owns.
    QList<QComboBox *> boxes = main().findChildren<QComboBox *>();
    boxes.removeIf([this](const QComboBox *box) { return box->window() != &main(); });
    QCOMPARE(boxes.size(), 2 + 6 * 6);
    for (const QComboBox *box : boxes) {
        QVERIFY2(box->isEditable(), qPrintable(box->objectName()));
        QCOMPARE(box->insertPolicy(), QComboBox::NoInsert);
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    }

    // Tab order: the transformer, row by row, the arc, then the two buttons.
    QStringList order;
    combo(QStringLiteral("WindKindComboBox"))->setFocus();
    for (int i = 0; i < 2 + 6 * 7 + 3; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        order << (qobject_cast<QComboBox *>(focus->parentWidget()) ? focus->parentWidget() : focus)
                         ->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(order.mid(0, 4),
             (QStringList{QStringLiteral("WindKindComboBox"),
                          QStringLiteral("TransPowerComboBox"),
                          QStringLiteral("KindPerformLine1ComboBox"),
                          QStringLiteral("StuffLine1ComboBox")}));
    QCOMPARE(order.mid(8, 2),
             (QStringList{QStringLiteral("Temperature1ComboBox"),
                          QStringLiteral("KindPerformLine2ComboBox")}));
    QCOMPARE(order.mid(43),
             (QStringList{QStringLiteral("Temperature6ComboBox"),
                          QStringLiteral("RArcEdit"),
                          QStringLiteral("DDButton"),
                          QStringLiteral("StartBitBtn")}));
}

void MainFormTest::startingTextsGiveTheCurrent217()
{
    calculate();
    QVERIFY(m_messages->texts().empty());
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), Current217);
    QVERIFY(action(QStringLiteral("ResultMenu"))->isEnabled());
    QVERIFY(action(QStringLiteral("AddReportMenu"))->isEnabled());

    // The result window got its texts although it was not opened.
    TResultForm &result = m_windows->ResultForm();
    QVERIFY(!result.isVisible());
    auto text = [&result](const char *name) {
        return result.findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(text("StLabel"), QStringLiteral("Sном=25 кВ*А"));
    QCOMPARE(text("WindKindLabel"), QStringLiteral("Y/Y-0"));
    QCOMPARE(text("RtLabel"), QStringLiteral("Rт=1957,2 мОм"));
    QCOMPARE(text("XtLabel"), QStringLiteral("Xт=2417,24 мОм"));
    QCOMPARE(text("RLine4Label"), QStringLiteral("0,00"));
    QCOMPARE(text("RotherLabel"), QStringLiteral("Rпр=40 мОм"));
    QCOMPARE(text("RsumLabel"), QStringLiteral("Rф-н=692,40 мОм"));
    QCOMPARE(text("XsumLabel"), QStringLiteral("Xф-н=805,75 мОм"));
    QCOMPARE(text("IokzrezLabel"), Current217);
}

void MainFormTest::dialogAfterACalculationSeesItsResult()
{
    // The point-name dialog opens as the last step of a calculation; the windows behind it
    // already show the new result and the enabled menus.
    QStringList behindDialog;
    m_session->AskNumber().SetNumberPointNoMoreChecked(true);
    whenModal([&](QWidget *modal) {
        behindDialog << modal->objectName() << label(QStringLiteral("IokzLabel"))->text()
                     << QString::number(action(QStringLiteral("AddReportMenu"))->isEnabled())
                     << m_windows->ResultForm()
                                .findChild<QLabel *>(QStringLiteral("IokzrezLabel"))
                                ->text();
    });
    calculate();
    QCOMPARE(
            behindDialog,
            (QStringList{
                    QStringLiteral("AskNumberForm"), Current217, QStringLiteral("1"), Current217}));
}

void MainFormTest::enterPressesCalculateFromAnyField()
{
    // 40 kVA typed into the power box, then Enter in it: the text is not added to the list.
    QComboBox *power = combo(QStringLiteral("TransPowerComboBox"));
    retype(power->lineEdit(), QStringLiteral("40"));
    QTest::keyClick(power, Qt::Key_Return);
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(),
             QStringLiteral("Ток однофазного короткого замыкания равен 344 А"));
    QCOMPARE(power->count(), 12);

    // Enter in a length field after typing a valid length.
    QLineEdit *length = find<QLineEdit>(QStringLiteral("LengthLine2Edit"));
    retype(length, QStringLiteral("1.5"));
    QTest::keyClick(length, Qt::Key_Enter);
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(),
             QStringLiteral("Ток однофазного короткого замыкания равен 344 А"));
    QVERIFY(m_messages->texts().empty());
    QCOMPARE(m_session->Input().Lines[1].Length, std::string("1.5"));
}

void MainFormTest::commaInALengthIsRefusedAfterItsMessage()
{
    calculate();
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), Current217);

    // What the window shows while the message box is up.
    QStringList atMessage;
    m_messages->onShow = [this, &atMessage](const RecordingMessages::Entry &) {
        main().showState();
        atMessage << label(QStringLiteral("IokzLabel"))->text()
                  << QString::number(action(QStringLiteral("ResultMenu"))->isEnabled());
    };

    QLineEdit *length = find<QLineEdit>(QStringLiteral("LengthLine3Edit"));
    retype(length, QStringLiteral("1,5"));
    QCOMPARE(m_session->Input().Lines[2].Length, std::string("1,5"));
    QTest::keyClick(length, Qt::Key_Return);

    QCOMPARE(m_messages->texts(), std::vector<std::string>{"Неверная длина линии 3"});
    // The menus are greyed when the calculation begins; the status lines follow the box.
    QCOMPARE(atMessage, (QStringList{Current217, QStringLiteral("0")}));
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), MissingData);
    QCOMPARE(label(QStringLiteral("StatusDDLabel"))->text(), CalculateFirst);
    QVERIFY(!action(QStringLiteral("ResultMenu"))->isEnabled());
    QVERIFY(!action(QStringLiteral("AddReportMenu"))->isEnabled());
    // The result window still holds the last successful result.
    QCOMPARE(m_windows->ResultForm().findChild<QLabel *>(QStringLiteral("IokzrezLabel"))->text(),
             Current217);
}

void MainFormTest::refusedPowerSetsTheStatusLinesBeforeItsMessage()
{
    QStringList atMessage;
    m_messages->onShow = [this, &atMessage](const RecordingMessages::Entry &) {
        main().showState();
        atMessage << label(QStringLiteral("IokzLabel"))->text();
    };
    retype(combo(QStringLiteral("TransPowerComboBox"))->lineEdit(), QStringLiteral("мощность"));
    calculate();
    QCOMPARE(m_messages->texts(), std::vector<std::string>{"Неверная мощность трансформатора"});
    QCOMPARE(atMessage, QStringList{MissingData});
}

void MainFormTest::schemeRefillsThePowerList()
{
    QComboBox *scheme = combo(QStringLiteral("WindKindComboBox"));
    QComboBox *power = combo(QStringLiteral("TransPowerComboBox"));
    retype(power->lineEdit(), QStringLiteral("40"));

    QVERIFY(pickItem(scheme, QStringLiteral("1/1-0")));
    QCOMPARE(power->currentText(), QStringLiteral("10"));
    QCOMPARE(itemsOf(power),
             (QStringList{QStringLiteral("1.25"),
                          QStringLiteral("2.5"),
                          QStringLiteral("4"),
                          QStringLiteral("10")}));

    QVERIFY(pickItem(scheme, QStringLiteral("T/Y-0")));
    QCOMPARE(power->currentText(), QStringLiteral("25"));
    QCOMPARE(power->count(), 13);
    QCOMPARE(power->itemText(12), QStringLiteral("2500"));

    // Enter in the scheme box and leaving it change no text, so the power stays.
    QVERIFY(pickItem(power, QStringLiteral("2500")));
    scheme->setFocus();
    QTest::keyClick(scheme, Qt::Key_Return);
    power->setFocus();
    QCOMPARE(power->currentText(), QStringLiteral("2500"));

    QVERIFY(m_messages->texts().empty());
    QCOMPARE(m_session->Input().TransPower.Text, std::string("2500"));
}

void MainFormTest::typingASchemeRaisesTheRuleOnEveryKeystroke()
{
    QComboBox *scheme = combo(QStringLiteral("WindKindComboBox"));
    QComboBox *power = combo(QStringLiteral("TransPowerComboBox"));
    QVERIFY(pickItem(power, QStringLiteral("630")));

    retype(scheme->lineEdit(), QStringLiteral("1/1-0"));
    // "1", "1/", "1/1" and "1/1-" are no scheme; the complete text acts as a pick.
    QCOMPARE(m_messages->texts(),
             std::vector<std::string>(4, "Неизвестная схема обмоток трансформатора"));
    QCOMPARE(power->currentText(), QStringLiteral("10"));
    QCOMPARE(power->count(), 4);
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), MissingData);
    QCOMPARE(label(QStringLiteral("StatusDDLabel"))->text(), CalculateFirst);

    // An unknown scheme leaves the power list as it was.
    m_messages->clear();
    typeText(scheme->lineEdit(), QStringLiteral("x"));
    QCOMPARE(m_messages->texts().size(), std::size_t(1));
    QCOMPARE(power->currentText(), QStringLiteral("10"));
    QCOMPARE(power->count(), 4);
}

void MainFormTest::lineKindRefillsOnlyItsOwnRow()
{
    QComboBox *kind = combo(QStringLiteral("KindPerformLine3ComboBox"));
    QComboBox *stuff = combo(QStringLiteral("StuffLine3ComboBox"));
    QComboBox *ff = combo(QStringLiteral("FfLine3ComboBox"));
    QComboBox *fn = combo(QStringLiteral("FnLine3ComboBox"));
    QVERIFY(pickItem(ff, QStringLiteral("25")));
    QVERIFY(pickItem(fn, QStringLiteral("16")));

    QVERIFY(pickItem(kind, QStringLiteral("Шинопровод Naxso")));
    QCOMPARE(stuff->count(), 29);
    QCOMPARE(stuff->itemText(0), QStringLiteral("LUX, 25A"));
    QCOMPARE(stuff->itemText(28), QStringLiteral("NXW, 6300A"));
    QCOMPARE(stuff->currentText(), QStringLiteral("LUX, 25A"));
    QVERIFY(!ff->isEnabled());
    QVERIFY(!fn->isEnabled());
    // Rows do not affect each other.
    QCOMPARE(combo(QStringLiteral("StuffLine2ComboBox"))->count(), 2);
    QVERIFY(combo(QStringLiteral("FfLine4ComboBox"))->isEnabled());

    QVERIFY(pickItem(kind, QStringLiteral("Кабель с ПВХ изоляцией")));
    QCOMPARE(itemsOf(stuff), (QStringList{QStringLiteral("Алюминий"), QStringLiteral("Медь")}));
    QCOMPARE(stuff->currentText(), QStringLiteral("Медь"));
    QVERIFY(ff->isEnabled());
    QVERIFY(fn->isEnabled());
    QCOMPARE(ff->currentText(), QStringLiteral("25"));
    QCOMPARE(fn->currentText(), QStringLiteral("16"));
    QVERIFY(m_messages->texts().empty());

    // A copper cable of 25 mm² and 100 m in row 3, the rest as at start.
    retype(find<QLineEdit>(QStringLiteral("LengthLine3Edit")), QStringLiteral("100"));
    QVERIFY(pickItem(fn, QStringLiteral("25")));
    calculate();
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(),
             QStringLiteral("Ток однофазного короткого замыкания равен 196 А"));
}

void MainFormTest::typingAKindLetterByLetter()
{
    calculate();
    QComboBox *kind = combo(QStringLiteral("KindPerformLine1ComboBox"));
    QComboBox *stuff = combo(QStringLiteral("StuffLine1ComboBox"));
    QVERIFY(pickItem(stuff, QStringLiteral("Медь")));

    retype(kind->lineEdit(), QStringLiteral("Воздушная"));
    // Eight incomplete texts, each reported; the ninth letter completes the kind.
    QCOMPARE(m_messages->texts(), std::vector<std::string>(8, "Неизвестный тип линии"));
    QCOMPARE(kind->currentText(), QStringLiteral("Воздушная"));
    QCOMPARE(stuff->currentText(), QStringLiteral("Алюминий"));
    QCOMPARE(label(QStringLiteral("IokzLabel"))->text(), MissingData);
    QCOMPARE(label(QStringLiteral("StatusDDLabel"))->text(), CalculateFirst);
    // The last successful result stays on offer until the next "Расчет".
    QVERIFY(action(QStringLiteral("ResultMenu"))->isEnabled());
    QVERIFY(action(QStringLiteral("AddReportMenu"))->isEnabled());
    // The program's own texts raised no change rule: the kind box kept its fifteen items.
    QCOMPARE(kind->count(), 15);
}

void MainFormTest::deviceStatusLineShowsTheVerdictColour()
{
    // A stand-in for the protection device window: it judges the device and closes.
    const std::string refused = "Автоматический выключатель, Iном=16 А, Iср=176 А, Тср > 0,4 с, "
                                "не срабатывает";
    StatusColor colour = StatusColor::Red;
    QObject::disconnect(&main(), &TMainForm::deviceWindowRequested, nullptr, nullptr);
    connect(&main(), &TMainForm::deviceWindowRequested, this, [&] {
        m_session->Status().StatusDDLabel = refused;
        m_session->Status().StatusDDColor = colour;
    });
    QLabel *status = label(QStringLiteral("StatusDDLabel"));
    QTest::mouseClick(find<QPushButton>(QStringLiteral("DDButton")), Qt::LeftButton);
    QCOMPARE(status->text(), QString::fromStdString(refused));
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(Qt::red));

    colour = StatusColor::Black;
    QTest::mouseClick(find<QPushButton>(QStringLiteral("DDButton")), Qt::LeftButton);
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void MainFormTest::stayOnTopToggledTwiceReturnsToNormal()
{
    QAction *onTop = action(QStringLiteral("OnTopMenu"));
    onTop->trigger();
    QVERIFY(main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main().isVisible());
    QVERIFY(onTop->isChecked());

    onTop->trigger();
    QVERIFY(!main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main().isVisible());
    QVERIFY(!onTop->isChecked());
}

void MainFormTest::hintsShowInTheStatusBarOnly()
{
    QStatusBar *bar = main().statusBar();
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(bar->currentMessage(), QString());

    QLineEdit *length = find<QLineEdit>(QStringLiteral("LengthLine2Edit"));
    QTest::mouseMove(length, length->rect().center());
    QCOMPARE(bar->currentMessage(), QStringLiteral("Введите длину линии в метрах"));

    QComboBox *temperature = combo(QStringLiteral("Temperature5ComboBox"));
    QTest::mouseMove(temperature, temperature->rect().center());
    QCOMPARE(bar->currentMessage(),
             QStringLiteral("Введите температуру нагрева жилы кабеля (провода) или шины в "
                            "диапазоне -70...+500 град.С"));

    // A control without a hint clears the line.
    QLabel *caption = find<QLabel>(QStringLiteral("Line1Label"));
    QTest::mouseMove(caption, caption->rect().center());
    QCOMPARE(bar->currentMessage(), QString());

    // No pop-up tips, except the status bar's own.
    for (const QWidget *w : main().findChildren<QWidget *>())
        if (w != bar && w->window() == &main())
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
    QCOMPARE(bar->toolTip(), QStringLiteral("Строка помощи"));
}

void MainFormTest::helpTopicsOfMenuAndF1()
{
    using Topic = std::pair<std::string, int>;
    action(QStringLiteral("HelpMenu"))->trigger();
    QCOMPARE(m_help->Topics, std::vector<Topic>{Topic("help.hlp", 1)});

    const std::pair<const char *, int> controls[] = {
            {"Temperature3ComboBox", 32},
            {"LengthLine6Edit", 32},
            {"TransPowerComboBox", 31},
            {"RArcEdit", 33},
            {"StartBitBtn", 1},
    };
    for (const auto &[name, context] : controls) {
        m_help->Topics.clear();
        QWidget *control = find<QWidget>(QString::fromLatin1(name));
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
        QCOMPARE(m_help->Topics, std::vector<Topic>{Topic("help.hlp", context)});
    }

    // The result window and its pages have their own topic; the About window has none.
    TResultForm &result = m_windows->ResultForm();
    result.show();
    activate(&result);
    m_help->Topics.clear();
    auto *pages = result.findChild<QTabWidget *>(QStringLiteral("ResultPageControl"));
    pages->setFocus();
    QTest::keyClick(pages, Qt::Key_F1);
    QCOMPARE(m_help->Topics, std::vector<Topic>{Topic("help.hlp", 36)});
    result.hide();

    TAboutProgramForm &about = m_windows->AboutProgramForm();
    about.show();
    activate(&about);
    m_help->Topics.clear();
    QTest::keyClick(&about, Qt::Key_F1);
    QVERIFY(m_help->Topics.empty());
    about.hide();
}

void MainFormTest::resultWindowKeepsItsTextsAndPage()
{
    QAction *results = action(QStringLiteral("ResultMenu"));
    calculate();

    QString shownTitle;
    QString shownCurrent;
    whenModal([&](QWidget *modal) {
        QVERIFY(modal == &m_windows->ResultForm());
        shownTitle = modal->windowTitle();
        shownCurrent = modal->findChild<QLabel *>(QStringLiteral("IokzrezLabel"))->text();
        auto *pages = modal->findChild<QTabWidget *>(QStringLiteral("ResultPageControl"));
        QCOMPARE(pages->currentIndex(), 0);
        pages->setCurrentIndex(1);
        QTest::keyClick(modal, Qt::Key_Return); // "Закрыть" is the default button
    });
    results->trigger();
    QCOMPARE(shownTitle, QStringLiteral("Результаты расчета"));
    QCOMPARE(shownCurrent, Current217);
    QVERIFY(!m_windows->ResultForm().isVisible());

    // A failed calculation leaves the window's texts; the next success replaces them.
    retype(find<QLineEdit>(QStringLiteral("RArcEdit")), QStringLiteral("-1"));
    calculate();
    QVERIFY(!results->isEnabled());
    retype(find<QLineEdit>(QStringLiteral("RArcEdit")), QStringLiteral("12.6"));
    calculate();
    QVERIFY(results->isEnabled());

    int reopenedPage = -1;
    QString rother;
    whenModal([&](QWidget *modal) {
        reopenedPage = modal->findChild<QTabWidget *>(QStringLiteral("ResultPageControl"))
                               ->currentIndex();
        rother = modal->findChild<QLabel *>(QStringLiteral("RotherLabel"))->text();
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
    });
    results->trigger();
    QCOMPARE(reopenedPage, 1);
    QCOMPARE(rother, QStringLiteral("Rпр=13 мОм"));
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
