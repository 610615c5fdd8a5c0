// The desktop program: creates the windows and runs until the main window is closed.

#include "app/AppInfo.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "app/QtFileDialogService.h"
#include "app/QtMessageService.h"
#include "app/SettingsRecentFeeds.h"
#include "app/TormelWindows.h"
#include "core/LocaleSeparators.h"
#include "core/Version.h"
#include "report/export/DesktopFileOpener.h"
#include "report/export/ToCalcUnit.h"
#include "report/export/ToExcelUnit.h"
#include "session/FeedDocument.h"
#include "session/TormelSession.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <chrono>
#include <cstdio>

namespace {

// With TORMEL_EXIT_AFTER_SHOW set, the program ends as soon as the main window has been
// painted once: the start-up benchmark measures the time to the first shown window. The
// quit is queued behind the paint of the whole window; it first prints the wall clock in
// nanoseconds since the epoch ("first-frame NS"), the moment the first frame was done.
class ExitAfterFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                    qApp,
                    [] {
                        const auto now = std::chrono::system_clock::now().time_since_epoch();
                        std::printf("first-frame %lld\n",
                                    static_cast<long long>(std::chrono::nanoseconds(now).count()));
                        std::fflush(stdout);
                        QCoreApplication::quit();
                    },
                    Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The application title is the name the desktop shows for the running program. It is
    // not set as Qt's display name, which would be appended to every window's caption.
    QApplication::setApplicationName(QString::fromUtf8(tormel::ApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(tormel::ProgramVersion));

    // Russian texts on the standard buttons of the question boxes.
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Russian, QLocale::Russia),
                    QStringLiteral("qtbase"),
                    QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);

    tormel::QtMessageService messages;
    tormel::TormelSession session(messages, tormel::SystemNumberSeparators());

    // The help window is the platform's help viewer, not one of the program's windows:
    // it does not keep the program running once the main window is closed.
    tormel::THelpWindow help;
    help.setAttribute(Qt::WA_QuitOnClose, false);

    // The spreadsheet programs of the report's export live for the run and go before
    // the message boxes and the application they may still use.
    tormel::DesktopFileOpener opener;
    tormel::XlsxExport excel(opener, tormel::DesktopOpensXlsxFiles);
    tormel::CalcExport calc;
    tormel::SpreadsheetPrograms spreadsheets{&excel, &calc};
    tormel::QtFileDialogService dialogs;
    tormel::SettingsRecentFeeds recentFeeds;
    tormel::FeedDocument feed(session, dialogs, recentFeeds, tormel::ApplicationTitle);

    tormel::TormelWindows windows(session, help, dialogs, spreadsheets);
    windows.MainForm().setFeedDocument(feed);
    QObject::connect(&windows.MainForm(),
                     &tormel::TMainForm::feedLoaded,
                     &windows.MainForm(),
                     [&windows] { windows.showState(); });
    messages.setBeforeShow([&windows] { windows.MainForm().showState(); });

    ExitAfterFirstPaint exitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("TORMEL_EXIT_AFTER_SHOW"))
        windows.MainForm().installEventFilter(&exitAfterFirstPaint);

    windows.showMainWindow();
    // `tormel FILE` opens a feed file once the window stands.
    std::vector<std::string> arguments;
    for (const QString &argument : QCoreApplication::arguments())
        arguments.push_back(argument.toStdString());
    if (const std::string file = tormel::StartupFeedFile(arguments); !file.empty())
        windows.MainForm().openFeedFile(file);
    return QApplication::exec();
}
