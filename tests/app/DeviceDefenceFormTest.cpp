// The protection device window driven as a user drives it: opened with "...", the device
// described with clicks, picks and keystrokes, then "Да", "Сброс", "Отмена" or the close
// box, and the verdict read in the main window's status line.

#include "TestProgram.h"

#include "app/DeviceDefenceForm.h"
#include "app/ResultForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>

using namespace tormel;
using namespace tormel::testing;

namespace {

const QString NoDevice = QStringLiteral("В расчете не определен");

} // namespace

class DeviceDefenceFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithTheBreakerChosen();
    void breakerAcceptedJudgedAndReset();
    void refusedBreakerKeepsTheWindowOpen();
    void fuseTypeTypedLetterByLetter();
    void fuseAcceptedAndJudged();
    void cancelAndCloseBoxKeepTheTextsButNotTheDevice();

private:
    TDeviceDefenceForm &form() const { return m_program->Windows->DeviceDefenceForm(); }
    QComboBox *combo(const char *name) const
    {
        return m_program->find<QComboBox>(&form(), QString::fromLatin1(name));
    }
    QAbstractButton *button(const char *name) const
    {
        return m_program->find<QAbstractButton>(&form(), QString::fromLatin1(name));
    }
    QLabel *status() const
    {
        return m_program->find<QLabel>(&m_program->main(), QStringLiteral("StatusDDLabel"));
    }
    QColor statusColour() const { return status()->palette().color(QPalette::WindowText); }
    // Opens the window with "..." and runs `body` while it is open; true when it opened.
    bool whileOpen(const std::function<void()> &body)
    {
        bool opened = false;
        whenModal([&](QWidget *modal) {
            opened = modal == &form();
            if (opened) {
                // The offscreen platform activates a window when asked.
                modal->activateWindow();
                QCoreApplication::processEvents();
                opened = QApplication::activeWindow() == modal;
            }
            if (opened)
                body();
        });
        QTest::mouseClick(
                m_program->find<QPushButton>(&m_program->main(), QStringLiteral("DDButton")),
                Qt::LeftButton);
        return opened;
    }
    std::vector<std::string> shown() const { return m_program->Messages.texts(); }

    std::unique_ptr<TestProgram> m_program;
};

void DeviceDefenceFormTest::init()
{
    m_program = std::make_unique<TestProgram>();
    // The calculations here are about the device: no point names are asked for.
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    QVERIFY(QTest::qWaitForWindowActive(&m_program->main()));
}

void DeviceDefenceFormTest::cleanup()
{
    const QStringList shownAtEnd = visibleTopLevels();
    m_program.reset();
    QCOMPARE(shownAtEnd, QStringList{QStringLiteral("MainForm")});
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void DeviceDefenceFormTest::opensWithTheBreakerChosen()
{
    QVERIFY(whileOpen([this] {
        QCOMPARE(form().windowTitle(), QStringLiteral("Аппарат защиты"));
        QCOMPARE(form().size(), QSize(481, 333));
        QVERIFY(static_cast<QRadioButton *>(button("AVRadioButton"))->isChecked());
        QVERIFY(!static_cast<QRadioButton *>(button("PPRadioButton"))->isChecked());
        QCOMPARE(combo("TokAVnomComboBox")->currentText(), QStringLiteral("16"));
        QCOMPARE(combo("TokNRComboBox")->currentText(), QStringLiteral("10 (\"C\")"));
        QCOMPARE(combo("TimePPComboBox")->currentText(), QStringLiteral("Тср < 5 с"));

        // The fuse group is greyed with its eight caption lines; the breaker's seven and
        // its check box are not.
        for (const char *name : {"TokAVnomComboBox", "TokNRComboBox", "KZAVComboBox"})
            QVERIFY2(combo(name)->isEnabled(), name);
        QVERIFY(button("TokNRCheckBox")->isEnabled());
        for (const char *name :
             {"TypePPComboBox", "TokPPComboBox", "KZPPComboBox", "TimePPComboBox"})
            QVERIFY2(!combo(name)->isEnabled(), name);
        QVERIFY(button("PPRadioButton")->isEnabled());
        const QList<QLabel *> captions = form().findChildren<QLabel *>();
        QCOMPARE(captions.size(), 15);
        QCOMPARE(std::count_if(captions.begin(),
                               captions.end(),
                               [](QLabel *l) { return !l->isEnabled(); }),
                 8);

        for (QComboBox *box : form().findChildren<QComboBox *>()) {
            QVERIFY(box->isEditable());
            QCOMPARE(box->insertPolicy(), QComboBox::NoInsert);
        }

        // Tab order: the breaker, the fuse, then "Да", "Сброс", "Отмена".
        QStringList order;
        button("AVRadioButton")->setFocus();
        for (int i = 0; i < 13; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            if (qobject_cast<QComboBox *>(focus->parentWidget()))
                focus = focus->parentWidget();
            order << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        // The greyed fuse controls are passed by.
        QCOMPARE(order,
                 (QStringList{QStringLiteral("AVRadioButton"),
                              QStringLiteral("TokAVnomComboBox"),
                              QStringLiteral("TokNRComboBox"),
                              QStringLiteral("TokNRCheckBox"),
                              QStringLiteral("KZAVComboBox"),
                              QStringLiteral("OKDDBitBtn"),
                              QStringLiteral("BitBtn3"),
                              QStringLiteral("BitBtn2"),
                              QStringLiteral("AVRadioButton"),
                              QStringLiteral("TokAVnomComboBox"),
                              QStringLiteral("TokNRComboBox"),
                              QStringLiteral("TokNRCheckBox"),
                              QStringLiteral("KZAVComboBox")}));

        // Hints go to the window's status bar, never into pop-up tips.
        auto *bar = m_program->find<QStatusBar>(&form(), QStringLiteral("StatusBar1"));
        hover(combo("KZAVComboBox"));
        QCOMPARE(bar->currentMessage(), QStringLiteral("Введите коэффициент запаса"));
        hover(button("BitBtn3"));
        QCOMPARE(bar->currentMessage(), QStringLiteral("Сброс ввода данных"));
        hover(bar);
        QCOMPARE(bar->currentMessage(), QStringLiteral("Строка состояния"));
        for (const QWidget *w : form().findChildren<QWidget *>())
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));

        // F1 opens topic 34 from the window and from its controls.
        combo("TokNRComboBox")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QTest::keyClick(&form(), Qt::Key_F1);
        using Topic = std::pair<std::string, int>;
        QCOMPARE(m_program->Help.Topics,
                 (std::vector<Topic>{Topic("help.hlp", 34), Topic("help.hlp", 34)}));
    }));
}

void DeviceDefenceFormTest::breakerAcceptedJudgedAndReset()
{
    // The initial breaker, accepted before any calculation: nothing to judge yet.
    QVERIFY(whileOpen([this] { QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton); }));
    QVERIFY(!form().isVisible());
    QVERIFY(shown().empty());
    QCOMPARE(status()->text(),
             QStringLiteral("Выполните расчет тока однофазного короткого замыкания"));

    // 217 A trips the 176 A of 16 A × 10 × 1.1, within 0.4 s.
    m_program->calculate();
    QCOMPARE(status()->text(),
             QStringLiteral("Автоматический выключатель, Iном=16 А, Iср=176 А, Тср < 0,4 с, "
                            "срабатывает"));
    QCOMPARE(statusColour(), QColor(Qt::black));
    // The result window's device page follows the verdict.
    QCOMPARE(m_program->Windows->ResultForm()
                     .findChild<QLabel *>(QStringLiteral("TokSRLabel"))
                     ->text(),
             QStringLiteral("Iср=176 А"));

    // 20 A gives 220 A, which the same current no longer trips: red.
    QVERIFY(whileOpen([this] {
        QVERIFY(pickItem(combo("TokAVnomComboBox"), QStringLiteral("20")));
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
    }));
    QCOMPARE(status()->text(),
             QStringLiteral("Автоматический выключатель, Iном=20 А, Iср=220 А, Тср > 0,4 с, "
                            "не срабатывает"));
    QCOMPARE(statusColour(), QColor(Qt::red));
    // The device is judged again after every calculation without being entered again.
    m_program->calculate();
    QCOMPARE(statusColour(), QColor(Qt::red));

    // "Сброс" forgets the device and closes the window; the line keeps its colour until
    // the next verdict.
    QVERIFY(whileOpen([this] { QTest::mouseClick(button("BitBtn3"), Qt::LeftButton); }));
    QVERIFY(!form().isVisible());
    QCOMPARE(status()->text(), NoDevice);
    QCOMPARE(statusColour(), QColor(Qt::red));
    m_program->calculate();
    QCOMPARE(status()->text(), NoDevice);
    QCOMPARE(statusColour(), QColor(Qt::black));
    QVERIFY(shown().empty());
}

void DeviceDefenceFormTest::refusedBreakerKeepsTheWindowOpen()
{
    m_program->calculate();
    QVERIFY(whileOpen([this] {
        QComboBox *multiple = combo("TokNRComboBox");
        // The release current is typed instead of a multiple: the list and text go.
        QTest::mouseClick(button("TokNRCheckBox"), Qt::LeftButton);
        QCOMPARE(multiple->count(), 0);
        QCOMPARE(multiple->currentText(), QString());

        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
        QCOMPARE(shown(),
                 std::vector<std::string>{"Неверная величина тока независимого расцепителя"});
        QVERIFY(form().isVisible());

        // A current typed in its place is taken as it stands.
        retype(multiple->lineEdit(), QStringLiteral("100"));
        QVERIFY(static_cast<QCheckBox *>(button("TokNRCheckBox"))->isChecked());
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
        QVERIFY(!form().isVisible());
    }));
    QCOMPARE(status()->text(),
             QStringLiteral("Автоматический выключатель, Iном=16 А, Iср=110 А, Тср < 0,4 с, "
                            "срабатывает"));

    // A safety factor with a comma is refused; the texts stay as typed.
    QVERIFY(whileOpen([this] {
        QComboBox *multiple = combo("TokNRComboBox");
        QCOMPARE(multiple->currentText(), QStringLiteral("100"));
        QTest::mouseClick(button("TokNRCheckBox"), Qt::LeftButton);
        QCOMPARE(multiple->currentText(), QStringLiteral("10 (\"C\")"));
        QCOMPARE(multiple->count(), 5);

        m_program->Messages.clear();
        retype(combo("KZAVComboBox")->lineEdit(), QStringLiteral("1,1"));
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
        QCOMPARE(shown(),
                 std::vector<std::string>{
                         "Неверная величина коэффициента запаса автоматического выключателя"});
        QVERIFY(form().isVisible());
        QCOMPARE(combo("KZAVComboBox")->currentText(), QStringLiteral("1,1"));
        // Enter presses "Да" again, with the same answer.
        QTest::keyClick(combo("KZAVComboBox")->lineEdit(), Qt::Key_Return);
        QCOMPARE(shown().size(), std::size_t(2));
        QVERIFY(form().isVisible());
    }));
    // The refused device changed nothing: the 110 A breaker still stands.
    QVERIFY(status()->text().contains(QStringLiteral("Iср=110 А")));
}

void DeviceDefenceFormTest::fuseTypeTypedLetterByLetter()
{
    QVERIFY(whileOpen([this] {
        QTest::mouseClick(button("PPRadioButton"), Qt::LeftButton);
        QVERIFY(!combo("TokAVnomComboBox")->isEnabled());
        QVERIFY(!button("TokNRCheckBox")->isEnabled());
        QVERIFY(combo("TypePPComboBox")->isEnabled());
        QVERIFY(combo("TimePPComboBox")->isEnabled());

        // Every keystroke that leaves no known type is reported and empties the list.
        QComboBox *type = combo("TypePPComboBox");
        QComboBox *current = combo("TokPPComboBox");
        retype(type->lineEdit(), QStringLiteral("ПН"));
        QCOMPARE(shown(), std::vector<std::string>(2, "Неизвестный тип предохранителя"));
        QCOMPARE(current->count(), 0);
        QCOMPARE(current->currentText(), QStringLiteral("0"));
        QCOMPARE(type->currentText(), QStringLiteral("ПН"));

        typeText(type->lineEdit(), QStringLiteral("2"));
        QCOMPARE(shown().size(), std::size_t(2));
        QCOMPARE(current->count(), 15);
        QCOMPARE(current->itemText(0), QStringLiteral("31.5"));
        QCOMPARE(current->currentText(), QStringLiteral("63"));

        // A pick refills the list as well; the typed rated current is not kept.
        retype(current->lineEdit(), QStringLiteral("100"));
        QVERIFY(pickItem(type, QStringLiteral("НПН")));
        QCOMPARE(itemsOf(current),
                 (QStringList{QStringLiteral("6.3"),
                              QStringLiteral("10"),
                              QStringLiteral("16"),
                              QStringLiteral("20"),
                              QStringLiteral("25"),
                              QStringLiteral("31.5"),
                              QStringLiteral("40"),
                              QStringLiteral("63")}));
        QCOMPARE(current->currentText(), QStringLiteral("63"));
        QCOMPARE(shown().size(), std::size_t(2));

        // Enter in the type box changes no text and raises nothing.
        QTest::keyClick(type->lineEdit(), Qt::Key_Return);
        QCOMPARE(shown().size(), std::size_t(2));
    }));
}

void DeviceDefenceFormTest::fuseAcceptedAndJudged()
{
    m_program->calculate();
    QVERIFY(whileOpen([this] {
        QTest::mouseClick(button("PPRadioButton"), Qt::LeftButton);
        QVERIFY(pickItem(combo("TypePPComboBox"), QStringLiteral("НПН")));
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
    }));
    QVERIFY(shown().empty());
    QCOMPARE(status()->text(),
             QStringLiteral("Плавкий предохранитель (НПН), Iном=63 А, Iср=198 А, Тср < 5 с, "
                            "срабатывает"));
    QCOMPARE(statusColour(), QColor(Qt::black));

    // A rated current outside the type's table is refused.
    QVERIFY(whileOpen([this] {
        retype(combo("TokPPComboBox")->lineEdit(), QStringLiteral("64"));
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
        QVERIFY(form().isVisible());
    }));
    QCOMPARE(shown(),
             std::vector<std::string>{
                     "Неизвестный номинальный ток плавкой вставки предохранителя."});

    // Back to the breaker: the fuse's texts stay for later, the breaker is judged.
    QVERIFY(whileOpen([this] {
        QCOMPARE(combo("TokPPComboBox")->currentText(), QStringLiteral("64"));
        QTest::mouseClick(button("AVRadioButton"), Qt::LeftButton);
        QVERIFY(!combo("TokPPComboBox")->isEnabled());
        QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton);
    }));
    QVERIFY(status()->text().startsWith(QStringLiteral("Автоматический выключатель, ")));
}

void DeviceDefenceFormTest::cancelAndCloseBoxKeepTheTextsButNotTheDevice()
{
    m_program->calculate();
    QVERIFY(whileOpen([this] { QTest::mouseClick(button("OKDDBitBtn"), Qt::LeftButton); }));
    const QString accepted = status()->text();

    QVERIFY(whileOpen([this] {
        retype(combo("TokAVnomComboBox")->lineEdit(), QStringLiteral("250"));
        QTest::mouseClick(button("PPRadioButton"), Qt::LeftButton);
        QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    }));
    QCOMPARE(status()->text(), accepted);

    QVERIFY(whileOpen([this] {
        QCOMPARE(combo("TokAVnomComboBox")->currentText(), QStringLiteral("250"));
        QVERIFY(static_cast<QRadioButton *>(button("PPRadioButton"))->isChecked());
        QVERIFY(combo("TypePPComboBox")->isEnabled());
        retype(combo("KZPPComboBox")->lineEdit(), QStringLiteral("1.3"));
        // The close box acts like "Отмена"; so does Escape.
        form().close();
        QVERIFY(!form().isVisible());
    }));
    QVERIFY(whileOpen([this] {
        QCOMPARE(combo("KZPPComboBox")->currentText(), QStringLiteral("1.3"));
        QTest::keyClick(&form(), Qt::Key_Escape);
        QVERIFY(!form().isVisible());
    }));
    m_program->calculate();
    QCOMPARE(status()->text(), accepted);
    QVERIFY(shown().empty());
}

QTEST_MAIN(DeviceDefenceFormTest)
#include "DeviceDefenceFormTest.moc"
