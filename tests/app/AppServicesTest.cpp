// The desktop program's platform services: the three kinds of message box, the file
// dialogs, and the help viewer with the help file that ships with the program.

#include "GuiTestSupport.h"

#include "app/HelpWindow.h"
#include "app/QtFileDialogService.h"
#include "app/QtMessageService.h"

#include "core/Version.h"

#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <QtTest>

using namespace tormel;
using namespace tormel::testing;

namespace {

QStringList buttonTexts(const QMessageBox *box)
{
    QStringList texts;
    for (const QAbstractButton *button : box->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

QAbstractButton *buttonWithText(const QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

// What a message box looked like when it was answered.
struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    int hookRuns = -1; // runs of the before-show hook when the box was up
};

} // namespace

class AppServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void plainBoxIsCaptionedWithTheTitle();
    void warningBoxKeepsItsEnglishButtons();
    void questionBoxHasRussianButtons_data();
    void questionBoxHasRussianButtons();

    void saveDialogLeavesTheOverwriteQuestionToTheReport();
    void openDialogOffersBothReportFormats();

    void helpFileIsSplitIntoTopics();
    void shippedHelpFileHasEveryTopic();
    void helpWindowShowsTopicsAndLinks();
    void helpWindowReportsMissingFileAndTopic();

private:
    QTranslator m_qtbase;
    bool m_russian = false;
    QtMessageService m_messages;
    int m_hookRuns = 0;
};

void AppServicesTest::initTestCase()
{
    m_russian = m_qtbase.load(QLocale(QLocale::Russian, QLocale::Russia),
                              QStringLiteral("qtbase"),
                              QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (m_russian)
        QApplication::installTranslator(&m_qtbase);
    m_messages.setBeforeShow([this] { ++m_hookRuns; });
}

void AppServicesTest::cleanup()
{
    QCOMPARE(visibleTopLevels(), QStringList());
}

void AppServicesTest::plainBoxIsCaptionedWithTheTitle()
{
    SeenBox seen;
    whenModal([&seen, this](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), buttonTexts(box), m_hookRuns};
        box->buttons().constFirst()->click();
    });
    m_hookRuns = 0;
    m_messages.showMessage("Неверная длина линии 1");
    QCOMPARE(seen.title, QStringLiteral("Тормел 2.8.1"));
    QCOMPARE(seen.text, QStringLiteral("Неверная длина линии 1"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons.size(), 1);
    // The windows were brought up to date before the box appeared.
    QCOMPARE(seen.hookRuns, 1);

    whenModal([&seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    m_messages.showError("Отказано в доступе");
    QCOMPARE(seen.title, QStringLiteral("Тормел 2.8.1"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
}

void AppServicesTest::warningBoxKeepsItsEnglishButtons()
{
    struct Case
    {
        QString press; // empty: Escape
        MessageAnswer expected;
    };
    for (const Case &c : {Case{QStringLiteral("OK"), MessageAnswer::Ok},
                          Case{QStringLiteral("Cancel"), MessageAnswer::Cancel},
                          Case{QString(), MessageAnswer::Cancel}}) {
        SeenBox seen;
        whenModal([&seen, &c](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            seen = {box->windowTitle(), box->text(), box->icon(), buttonTexts(box), 0};
            if (c.press.isEmpty())
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QAbstractButton *button = buttonWithText(box, c.press))
                button->click();
        });
        const MessageAnswer answer = m_messages.askWarning(
                "Такое название в отчете уже есть. Заменить данные в отчете?");
        QCOMPARE(answer, c.expected);
        QCOMPARE(seen.title, QStringLiteral("Warning"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("OK")}));
    }
}

void AppServicesTest::questionBoxHasRussianButtons_data()
{
    QTest::addColumn<bool>("withCancel");
    QTest::addColumn<int>("press"); // a standard button, or 0 for Escape
    QTest::addColumn<int>("expected");
    QTest::newRow("yes") << true << int(QMessageBox::Yes) << int(MessageAnswer::Yes);
    QTest::newRow("no") << true << int(QMessageBox::No) << int(MessageAnswer::No);
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << int(MessageAnswer::Cancel);
    QTest::newRow("escape with cancel") << true << 0 << int(MessageAnswer::Cancel);
    QTest::newRow("escape without cancel") << false << 0 << int(MessageAnswer::No);
}

void AppServicesTest::questionBoxHasRussianButtons()
{
    QFETCH(bool, withCancel);
    QFETCH(int, press);
    QFETCH(int, expected);

    SeenBox seen;
    whenModal([&seen, press](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), buttonTexts(box), 0};
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (QAbstractButton *button = box->button(QMessageBox::StandardButton(press)))
            button->click();
    });
    const MessageAnswer answer = m_messages.askQuestion("Сохранить отчет?", withCancel);
    QCOMPARE(int(answer), expected);
    QCOMPARE(seen.title, QStringLiteral("Внимание!"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons.size(), withCancel ? 3 : 2);
    if (!m_russian)
        QSKIP("qtbase_ru is not installed (qt6-translations-l10n)");
    QStringList russian{QStringLiteral("&Да"), QStringLiteral("&Нет")};
    if (withCancel)
        russian << QStringLiteral("Отмена");
    russian.sort();
    QCOMPARE(seen.buttons, russian);
}

void AppServicesTest::saveDialogLeavesTheOverwriteQuestionToTheReport()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QtFileDialogService dialogs;
    const FileFilter csv{"Таблица (*.csv)", "*.csv"};

    // A name typed without an extension gets the report's.
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool asksNothing = false;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        mode = dialog->acceptMode();
        asksNothing = dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(folder.path());
        dialog->selectFile(QStringLiteral("отчет"));
        static_cast<QDialog *>(dialog)->accept(); // as "Save" or "Open" does
    });
    QCOMPARE(dialogs.askSaveFileName(csv, "csv"),
             std::optional(folder.filePath(QStringLiteral("отчет.csv")).toStdString()));
    QCOMPARE(filters, QStringList{QStringLiteral("Таблица (*.csv)")});
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(asksNothing);

    // An existing file is chosen without a question of the dialog's own.
    const QString existing = folder.filePath(QStringLiteral("old.csv"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QString questionAsked;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        dialog->setDirectory(folder.path());
        dialog->selectFile(QStringLiteral("old.csv"));
        whenModal([&](QWidget *box) {
            if (box && box != dialog)
                questionAsked = box->metaObject()->className();
        });
        static_cast<QDialog *>(dialog)->accept(); // as "Save" or "Open" does
    });
    QCOMPARE(dialogs.askSaveFileName(csv, "csv"), std::optional(existing.toStdString()));
    QCoreApplication::processEvents();
    QCOMPARE(questionAsked, QString());

    whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(dialogs.askSaveFileName(csv, "csv"), std::nullopt);
}

void AppServicesTest::openDialogOffersBothReportFormats()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString okz = folder.filePath(QStringLiteral("старый.okz"));
    QFile file(okz);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QtFileDialogService dialogs;
    QStringList filters;
    QString selectedFilter;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        selectedFilter = dialog->selectedNameFilter();
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->setDirectory(folder.path());
        // Typed without its extension: the dialog looks for the okz file.
        dialog->selectFile(QStringLiteral("старый"));
        static_cast<QDialog *>(dialog)->accept(); // as "Save" or "Open" does
    });
    // A description that does not name its pattern gets it appended.
    QCOMPARE(dialogs.askOpenFileName({{"Таблица (*.csv)", "*.csv"}, {"Таблица", "*.okz"}}, "okz"),
             std::optional(okz.toStdString()));
    QCOMPARE(filters,
             (QStringList{QStringLiteral("Таблица (*.csv)"), QStringLiteral("Таблица (*.okz)")}));
    QCOMPARE(selectedFilter, QStringLiteral("Таблица (*.csv)"));
}

void AppServicesTest::helpFileIsSplitIntoTopics()
{
    const QMap<int, HelpTopic> topics
            = parseHelpTopics(QStringLiteral("Preamble that belongs to no topic\r\n"
                                             "@topic 31 Трансформатор\r\n"
                                             "<p>Схема</p>\r\n"
                                             "@topic 0 not a context\r\n"
                                             "dropped\r\n"
                                             "@topic x not a number\r\n"
                                             "@topic 32   Линии  \n"
                                             "first\n"
                                             "second\n"
                                             "@topic 31 Replaced\n"
                                             "again\n"));
    QCOMPARE(topics.keys(), (QList<int>{31, 32}));
    QCOMPARE(topics[31].Title, QStringLiteral("Replaced"));
    QCOMPARE(topics[31].Body, QStringLiteral("again\n\n"));
    QCOMPARE(topics[32].Title, QStringLiteral("Линии"));
    // A line that only looks like a header stays in the text of the topic before it.
    QCOMPARE(topics[32].Body, QStringLiteral("first\nsecond\n"));
    QVERIFY(parseHelpTopics(QString()).isEmpty());
}

void AppServicesTest::shippedHelpFileHasEveryTopic()
{
    QFile shipped(QStringLiteral(TORMEL_SHIPPED_HELP_FILE));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    const QByteArray content = shipped.readAll();
    const QMap<int, HelpTopic> topics = parseHelpTopics(QString::fromUtf8(content));
    QCOMPARE(topics.keys(), (QList<int>{1, 31, 32, 33, 34, 35, 36, 37, 38, 39}));
    for (const HelpTopic &topic : topics) {
        QVERIFY(!topic.Title.isEmpty());
        QVERIFY2(topic.Body.size() > 200, qPrintable(topic.Title));
    }

    // The build puts a copy next to the program, where the help viewer looks for it,
    // with the program's version written in.
    QFile copied(QStringLiteral(TORMEL_COPIED_HELP_FILE));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QByteArray expected = content;
    expected.replace("@PROJECT_VERSION@", ProgramVersion);
    QCOMPARE(copied.readAll(), expected);
    QVERIFY(expected.startsWith("Справка программы «Тормел 2.8.1»."));
}

void AppServicesTest::helpWindowShowsTopicsAndLinks()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("help.hlp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("@topic 1 Общие сведения\n<p>Первый раздел</p>\n"
               "@topic 32 Участки линии\n<p>Длина в метрах</p>\n");
    file.close();

    THelpWindow help;
    help.showHelpTopic(path.toStdString(), 32);
    QVERIFY(help.isVisible());
    QCOMPARE(help.currentTopic(), 32);
    QVERIFY(help.text().contains(QStringLiteral("Участки линии")));
    QVERIFY(help.text().contains(QStringLiteral("Длина в метрах")));
    QVERIFY(!help.text().contains(QStringLiteral("Первый раздел")));

    // The list of topics links to the others.
    auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    emit browser->anchorClicked(QUrl(QStringLiteral("topic:1")));
    QCOMPARE(help.currentTopic(), 1);
    QVERIFY(help.text().contains(QStringLiteral("Первый раздел")));
    help.close();
}

void AppServicesTest::helpWindowReportsMissingFileAndTopic()
{
    THelpWindow help;
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("help.hlp"));
    help.showHelpTopic(missing.toStdString(), 1);
    QVERIFY(help.isVisible());
    QCOMPARE(help.currentTopic(), 0);
    QVERIFY(help.text().contains(QStringLiteral("Не удается открыть файл справки")));

    // A relative name is looked up next to the program, here the test's own folder.
    help.showHelpTopic("no-such-help.hlp", 1);
    QVERIFY(help.text().contains(QDir::toNativeSeparators(
            QDir(QCoreApplication::applicationDirPath()).filePath("no-such-help.hlp"))));

    QFile file(missing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("@topic 1 Общие сведения\n<p>Текст</p>\n");
    file.close();
    help.showHelpTopic(missing.toStdString(), 99);
    QCOMPARE(help.currentTopic(), 0);
    QVERIFY(help.text().contains(QStringLiteral("Раздел 99 не найден")));
    help.close();
}

QTEST_MAIN(AppServicesTest)
#include "AppServicesTest.moc"
