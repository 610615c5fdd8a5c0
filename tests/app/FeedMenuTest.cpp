// The menu "Схема" of the main window: its place and items, the caption, opening and saving
// feed files through the menu and the keyboard, the question on closing, the recent files
// and the file named at start-up; message boxes and file dialogs answered by fakes.

#include "TestProgram.h"

#include "session/FeedDocument.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tormel;
using namespace tormel::testing;

namespace {

const QString Title = QStringLiteral("Тормел 2.8.1");

class MemoryRecentFeeds : public IRecentFeedStore
{
public:
    std::vector<std::string> loadRecentFeeds() override { return Stored; }
    void saveRecentFeeds(const std::vector<std::string> &paths) override { Stored = paths; }
    std::vector<std::string> Stored;
};

} // namespace

class FeedMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuComesFirstWithItsItemsAndKeys();
    void typingMarksTheCaptionAndCtrlSSavesIt();
    void openingShowsTheFileAsTheUserWouldHaveSetIt();
    void refusedFileChangesNothingInTheWindow();
    void closingWithChangesAsksAndCancelKeepsTheWindow();
    void recentFileOpensFromTheMenu();
    void fileNamedAtStartUpOpens();

private:
    TMainForm &main() const { return m_program->main(); }
    template<class T>
    T *find(const QString &name) const
    {
        return m_program->find<T>(&main(), name);
    }
    QString file(const QString &name) const { return m_folder->filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile out(file(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestProgram> m_program;
    MemoryRecentFeeds m_recent;
    std::unique_ptr<FeedDocument> m_feed;
};

void FeedMenuTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_recent.Stored.clear();
    m_program = std::make_unique<TestProgram>();
    m_program->Session->AskNumber().SetNumberPointNoMoreChecked(false);
    m_feed = std::make_unique<FeedDocument>(
            *m_program->Session, m_program->Dialogs, m_recent, Title.toStdString());
    main().setFeedDocument(*m_feed);
    connect(&main(), &TMainForm::feedLoaded, this, [this] { m_program->Windows->showState(); });
    QVERIFY(QTest::qWaitForWindowActive(&main()));
}

void FeedMenuTest::cleanup()
{
    m_program.reset();
    m_feed.reset();
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void FeedMenuTest::menuComesFirstWithItsItemsAndKeys()
{
    QStringList bar;
    for (const QAction *action : main().menuBar()->actions())
        bar << action->text();
    QCOMPARE(bar,
             (QStringList{QStringLiteral("Схема"),
                          QStringLiteral("Результаты"),
                          QStringLiteral("Отчет"),
                          QStringLiteral("Настройки"),
                          QStringLiteral("?"),
                          QStringLiteral("Выход")}));
    auto *menu = find<QMenu>(QStringLiteral("FeedMenu"));
    QStringList items;
    for (const QAction *action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items,
             (QStringList{QStringLiteral("Новая"),
                          QStringLiteral("Открыть..."),
                          QStringLiteral("Сохранить"),
                          QStringLiteral("Сохранить как..."),
                          QStringLiteral("-"),
                          QStringLiteral("Максимальные токи КЗ..."),
                          QStringLiteral("-")}));
    QCOMPARE(find<QAction>(QStringLiteral("NewFeedMenu"))->shortcut(), QKeySequence::New);
    QCOMPARE(find<QAction>(QStringLiteral("OpenFeedMenu"))->shortcut(), QKeySequence::Open);
    QCOMPARE(find<QAction>(QStringLiteral("SaveFeedMenu"))->shortcut(), QKeySequence::Save);
    QCOMPARE(main().windowTitle(), Title);
}

void FeedMenuTest::typingMarksTheCaptionAndCtrlSSavesIt()
{
    auto *length = find<QLineEdit>(QStringLiteral("LengthLine2Edit"));
    retype(length, QStringLiteral("35"));
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - Новая схема*"));

    m_program->Dialogs.paths = {file(QStringLiteral("ТП-1.tormel.json")).toStdString()};
    QTest::keyClick(length, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_program->Dialogs.dialogs().size(), std::size_t(1));
    QVERIFY(m_program->Dialogs.dialogs()[0].save);
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - ТП-1.tormel.json"));
    QFile saved(file(QStringLiteral("ТП-1.tormel.json")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("\"Length\": \"35\""));
    QVERIFY(m_program->Messages.texts().empty());

    // A pick from a list marks it too.
    QVERIFY(pickItem(find<QComboBox>(QStringLiteral("WindKindComboBox")), QStringLiteral("Y/Z-0")));
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - ТП-1.tormel.json*"));
}

void FeedMenuTest::openingShowsTheFileAsTheUserWouldHaveSetIt()
{
    write(QStringLiteral("feed.tormel.json"),
          R"({"WindKind": "T/Y-0", "TransPower": "40",
              "Lines": [{"Length": "12"}, {"KindPerform": "СИП-2", "Stuff": "3*70+1*54.6"}],
              "Device": {"AV": false, "TypePP": "НПН", "TokPP": "40"}})");
    m_program->Dialogs.paths = {file(QStringLiteral("feed.tormel.json")).toStdString()};
    find<QAction>(QStringLiteral("OpenFeedMenu"))->trigger();

    QVERIFY(m_program->Messages.texts().empty());
    QCOMPARE(m_program->Dialogs.dialogs().at(0).filters.size(), std::size_t(2));
    auto *power = find<QComboBox>(QStringLiteral("TransPowerComboBox"));
    QCOMPARE(power->currentText(), QStringLiteral("40"));
    QCOMPARE(power->count(), 13); // the "T/Y-0" list
    QCOMPARE(find<QLineEdit>(QStringLiteral("LengthLine1Edit"))->text(), QStringLiteral("12"));
    QCOMPARE(find<QComboBox>(QStringLiteral("StuffLine2ComboBox"))->currentText(),
             QStringLiteral("3*70+1*54.6"));
    QVERIFY(!find<QComboBox>(QStringLiteral("FfLine2ComboBox"))->isEnabled());
    // The device was accepted, before any calculation.
    QVERIFY(m_program->Session->AcceptedDeviceForm());
    QCOMPARE(find<QLabel>(QStringLiteral("StatusDDLabel"))->text(),
             QString::fromStdString(m_program->Session->Status().StatusDDLabel));
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - feed.tormel.json"));

    m_program->calculate();
    QCOMPARE(find<QLabel>(QStringLiteral("StatusDDLabel"))->text(),
             QStringLiteral("Плавкий предохранитель (НПН), Iном=40 А, Iср=143 А, Тср < 5 с, "
                            "срабатывает"));
}

void FeedMenuTest::refusedFileChangesNothingInTheWindow()
{
    retype(find<QLineEdit>(QStringLiteral("RArcEdit")), QStringLiteral("10"));
    write(QStringLiteral("bad.json"), R"({"WindKind": "T/Y-0", "Lines": [{"Lenght": "5"}]})");
    m_program->Messages.answers = {MessageAnswer::No}; // do not save the changes
    m_program->Dialogs.paths = {file(QStringLiteral("bad.json")).toStdString()};
    QTest::keyClick(&main(), Qt::Key_O, Qt::ControlModifier);

    QCOMPARE(m_program->Messages.texts().size(), std::size_t(2));
    QCOMPARE(QString::fromStdString(m_program->Messages.texts()[0]),
             QStringLiteral("Исходные данные схемы изменены. Сохранить изменения?"));
    QVERIFY(QString::fromStdString(m_program->Messages.texts()[1])
                    .contains(QStringLiteral("поле \"Lines[1].Lenght\": неизвестное поле")));
    QCOMPARE(find<QComboBox>(QStringLiteral("WindKindComboBox"))->currentText(),
             QStringLiteral("Y/Y-0"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("RArcEdit"))->text(), QStringLiteral("10"));
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - Новая схема*"));
}

void FeedMenuTest::closingWithChangesAsksAndCancelKeepsTheWindow()
{
    retype(find<QLineEdit>(QStringLiteral("LengthLine1Edit")), QStringLiteral("5"));
    m_program->Messages.answers = {MessageAnswer::Cancel};
    find<QAction>(QStringLiteral("ExitMenu"))->trigger();
    QVERIFY(main().isVisible());
    QCOMPARE(m_program->Messages.texts().size(), std::size_t(1));

    m_program->Messages.answers = {MessageAnswer::No};
    QVERIFY(main().close());
    QVERIFY(!main().isVisible());
}

void FeedMenuTest::recentFileOpensFromTheMenu()
{
    write(QStringLiteral("a.tormel.json"), R"({"RArc": "11"})");
    write(QStringLiteral("b&c.tormel.json"), R"({"RArc": "22"})");
    main().openFeedFile(file(QStringLiteral("a.tormel.json")).toStdString());
    main().openFeedFile(file(QStringLiteral("b&c.tormel.json")).toStdString());
    QCoreApplication::processEvents();

    QVERIFY(find<QAction>(QStringLiteral("RecentFeed1Menu"))
                    ->text()
                    .endsWith(QStringLiteral("/b&&c.tormel.json")));
    auto *second = find<QAction>(QStringLiteral("RecentFeed2Menu"));
    QVERIFY(second->text().endsWith(QStringLiteral("a.tormel.json")));
    second->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(find<QLineEdit>(QStringLiteral("RArcEdit"))->text(), QStringLiteral("11"));
    QVERIFY(find<QAction>(QStringLiteral("RecentFeed1Menu"))
                    ->text()
                    .endsWith(QStringLiteral("a.tormel.json")));
    QCOMPARE(m_recent.Stored.size(), std::size_t(2));
}

void FeedMenuTest::fileNamedAtStartUpOpens()
{
    write(QStringLiteral("start.tormel.json"), R"({"Name": "К-3", "WindKind": "T/Y-0"})");
    const std::string path = file(QStringLiteral("start.tormel.json")).toStdString();
    main().openFeedFile(StartupFeedFile({"tormel", path}));
    QCOMPARE(find<QComboBox>(QStringLiteral("TransPowerComboBox"))->count(), 13);
    QCOMPARE(m_program->Session->AskNumber().NumberEditText(), "К-3");
    QCOMPARE(main().windowTitle(), Title + QStringLiteral(" - start.tormel.json"));
}

QTEST_MAIN(FeedMenuTest)
#include "FeedMenuTest.moc"
