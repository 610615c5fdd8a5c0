// Renders every window of the program to PNG files, for the README and for looking at
// the layout without a display: tormel-screenshots [folder] (default: the current one)
// [cases-folder] (the analysis page at several sizes of data, when given).
// Run it on the offscreen platform: QT_QPA_PLATFORM=offscreen tormel-screenshots docs/screenshots

#include "app/AboutProgramForm.h"
#include "app/AppInfo.h"
#include "app/AskNumberForm.h"
#include "app/DeleteAllReportForm.h"
#include "app/DeviceDefenceForm.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "app/MaxCurrentInputForm.h"
#include "app/ReportForm.h"
#include "app/ResultForm.h"
#include "app/TormelWindows.h"
#include "core/FileAccess.h"
#include "core/FileDialogService.h"
#include "core/MessageService.h"
#include "feed/FeedFile.h"
#include "report/export/SpreadsheetExport.h"
#include "session/FeedDocument.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

namespace {

// Messages go to the console; every question is answered with yes.
class ConsoleMessages : public tormel::IMessageService
{
public:
    void showMessage(const std::string &text) override { print(text); }
    tormel::MessageAnswer askWarning(const std::string &text) override
    {
        print(text);
        return tormel::MessageAnswer::Ok;
    }
    tormel::MessageAnswer askQuestion(const std::string &text, bool) override
    {
        print(text);
        return tormel::MessageAnswer::Yes;
    }
    void showError(const std::string &text) override { print(text); }

private:
    static void print(const std::string &text) { std::fprintf(stderr, "%s\n", text.c_str()); }
};

// No file is chosen: the pictures never need one.
class NoFileDialogs : public tormel::IFileDialogService
{
public:
    std::optional<std::string> askSaveFileName(const tormel::FileFilter &,
                                               const std::string &) override
    {
        return std::nullopt;
    }
    std::optional<std::string> askOpenFileName(const std::vector<tormel::FileFilter> &,
                                               const std::string &) override
    {
        return std::nullopt;
    }
};

// Recent files of an engineer's earlier runs; nothing is kept.
class ExampleRecentFeeds : public tormel::IRecentFeedStore
{
public:
    std::vector<std::string> loadRecentFeeds() override
    {
        return {"/home/engineer/Проекты/ТП-7/ф.2.tormel.json"};
    }
    void saveRecentFeeds(const std::vector<std::string> &) override {}
};

bool save(QWidget *window, const QDir &folder, const QString &name)
{
    window->show();
    const QString path = folder.filePath(name);
    const bool saved = window->grab().save(path);
    QTextStream(stdout) << (saved ? "saved " : "could not save ") << path << Qt::endl;
    return saved;
}

// The analysis page, one picture per view: <prefix>-values.png, -current.png, -loop.png.
bool saveAnalysis(tormel::TResultForm &result, const QDir &folder, const QString &prefix)
{
    auto *pages = result.findChild<QTabWidget *>(QStringLiteral("ResultPageControl"));
    auto *views = result.findChild<QTabWidget *>(QStringLiteral("AnalysisPageControl"));
    pages->setCurrentIndex(3);
    bool ok = true;
    const char *const suffixes[] = {"-values.png", "-current.png", "-loop.png"};
    for (int view = 0; view < views->count(); ++view) {
        views->setCurrentIndex(view);
        ok = save(&result, folder, prefix + QString::fromUtf8(suffixes[view])) && ok;
    }
    views->setCurrentIndex(0);
    pages->setCurrentIndex(0);
    return ok;
}

// The analysis page at several sizes of data, each from a fresh start state.
bool saveAnalysisCases(tormel::TormelSession &session,
                       tormel::TormelWindows &windows,
                       const QDir &folder)
{
    session.AskNumber().SetNumberPointNoMoreChecked(false); // the shots above ticked it
    tormel::MainInputModel &input = session.Input();
    const auto cable = [&](int line, const char *length) {
        tormel::TLineInput &row = input.Lines[line - 1];
        row.KindPerform = "Кабель с ПВХ изоляцией";
        session.ChangeLineKind(line);
        row.Stuff = "Медь";
        row.Ff = "25";
        row.Fn = "25";
        row.Length = length;
    };
    const auto clear = [&] {
        for (int line = 1; line <= tormel::LineCount; ++line) {
            cable(line, "0");
            input.Lines[line - 1].Ff = "0";
            input.Lines[line - 1].Fn = "0";
            input.Lines[line - 1].Length = "0";
        }
    };
    const auto breaker = [&](const char *rated) {
        tormel::AVRadioButtonClick(session.DeviceForm());
        session.DeviceForm().TokAVnom.Text = rated;
        session.AcceptDevice();
    };
    const auto shoot = [&](const QString &name) {
        session.Calculate();
        windows.ResultForm().showState();
        const bool saved = saveAnalysis(windows.ResultForm(), folder, name);
        windows.ResultForm().hide();
        return saved;
    };

    clear();
    cable(1, "100");
    breaker("16");
    bool ok = shoot(QStringLiteral("one-section"));
    const char *const lengths[] = {"20", "35", "50", "15", "60", "25"};
    for (int line = 1; line <= tormel::LineCount; ++line)
        cable(line, lengths[line - 1]);
    breaker("6");
    ok = shoot(QStringLiteral("six-sections")) && ok;
    session.ResetDevice();
    ok = shoot(QStringLiteral("no-device")) && ok;
    clear();
    cable(1, "100");
    breaker("63");
    ok = shoot(QStringLiteral("no-trip")) && ok;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tormel::ApplicationTitle));
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    if (!folder.exists()) {
        std::fprintf(stderr, "no such folder: %s\n", qPrintable(folder.path()));
        return 2;
    }

    ConsoleMessages messages;
    tormel::TormelSession session(messages, tormel::NumberSeparators::russian());
    tormel::THelpWindow help;
    NoFileDialogs dialogs;
    tormel::SpreadsheetPrograms spreadsheets;
    ExampleRecentFeeds recentFeeds;
    tormel::FeedDocument feed(session, dialogs, recentFeeds, tormel::ApplicationTitle);
    tormel::TormelWindows windows(session, help, dialogs, spreadsheets);
    windows.MainForm().setFeedDocument(feed);
    windows.showMainWindow();

    // The pictures are taken one window at a time: no dialog opens by itself.
    session.AskNumber().SetNumberPointNoMoreChecked(false);

    // A feeder worth looking at: a copper PVC cable, then a SIP line.
    tormel::MainInputModel &input = session.Input();
    input.Lines[0].KindPerform = "Кабель с ПВХ изоляцией";
    session.ChangeLineKind(1);
    input.Lines[0].Stuff = "Медь";
    input.Lines[0].Ff = "25";
    input.Lines[0].Fn = "25";
    input.Lines[0].Length = "100";
    input.Lines[1].KindPerform = "СИП-2";
    session.ChangeLineKind(2);
    input.Lines[1].Stuff = "3*70+1*54.6";
    input.Lines[1].Length = "50";
    input.Lines[1].Temperature = "70";
    windows.MainForm().showState();
    // A breaker of 63 A, which this feeder's current does not trip.
    tormel::TDeviceDefenceFormModel &device = session.DeviceForm();
    device.TokAVnom.Text = "63";
    session.AcceptDevice();
    // Kept in a feed file and opened again, so that the caption names it.
    const std::string feedPath
            = QDir::temp().filePath(QStringLiteral("ТП-12 ф.3.tormel.json")).toStdString();
    if (!tormel::WriteFileReplacing(feedPath,
                                    tormel::WriteFeedDocument(tormel::FeedFromSession(session)))
                 .Ok)
        return 1;
    windows.MainForm().openFeedFile(feedPath);
    if (feed.FileName() != feedPath)
        return 1;
    windows.MainForm().showState();
    auto *start = windows.MainForm().findChild<QPushButton *>(QStringLiteral("StartBitBtn"));
    start->click();

    bool ok = save(&windows.MainForm(), folder, QStringLiteral("main-window.png"));

    // The menu "Схема" drawn open under its title.
    {
        tormel::TMainForm &main = windows.MainForm();
        auto *feedMenu = main.findChild<QMenu *>(QStringLiteral("FeedMenu"));
        QCoreApplication::processEvents(); // the recent entries are added after each command
        QMenuBar *bar = main.menuBar();
        const QRect title = bar->actionGeometry(feedMenu->menuAction());
        bar->setActiveAction(feedMenu->menuAction());
        feedMenu->popup(bar->mapToGlobal(title.bottomLeft()));
        QPixmap picture = main.grab();
        QPainter painter(&picture);
        painter.drawPixmap(bar->mapTo(&main, title.bottomLeft()), feedMenu->grab());
        painter.end();
        feedMenu->hide();
        const QString path = folder.filePath(QStringLiteral("feed-menu.png"));
        const bool saved = picture.save(path);
        QTextStream(stdout) << (saved ? "saved " : "could not save ") << path << Qt::endl;
        ok = saved && ok;
        std::remove(feedPath.c_str());
    }

    tormel::TResultForm &result = windows.ResultForm();
    auto *pages = result.findChild<QTabWidget *>(QStringLiteral("ResultPageControl"));
    const char *const pageFiles[]
            = {"result-transformer.png", "result-line.png", "result-defence.png"};
    for (int page = 0; page < 3; ++page) {
        pages->setCurrentIndex(page);
        ok = save(&result, folder, QString::fromUtf8(pageFiles[page])) && ok;
    }
    ok = saveAnalysis(result, folder, QStringLiteral("result-analysis")) && ok;
    result.hide();

    // The largest fault currents: a 200 MV*A supply and a breaker of 10 kA, typed in their
    // window, judged by the next calculation.
    {
        tormel::TMaxCurrentInputForm &inputs = windows.MaxCurrentInputForm();
        tormel::TMaxCurrentInput &texts = session.MaxCurrentInput().Texts;
        texts.Sk = "200";
        texts.Icu = "10";
        inputs.showState();
        ok = save(&inputs, folder, QStringLiteral("max-current-input.png")) && ok;
        inputs.hide();
        start->click();
        result.showState();
        pages->setCurrentIndex(4);
        ok = save(&result, folder, QStringLiteral("result-max-currents.png")) && ok;
        pages->setCurrentIndex(0);
        result.hide();
    }

    // Three points in the report, the last one at the end of a longer line.
    session.AskNumber().SetNumberEditText("К-1");
    session.AddPoint();
    input.Lines[1].Length = "120";
    start->click();
    session.AskNumber().SetNumberEditText("К-2");
    session.AddPoint();
    input.Lines[1].Length = "250";
    start->click();
    session.AskNumber().SetNumberEditText("ЩР-3");
    session.AddPoint();

    tormel::TDeviceDefenceForm &deviceForm = windows.DeviceDefenceForm();
    deviceForm.showState();
    ok = save(&deviceForm, folder, QStringLiteral("device-breaker.png")) && ok;
    tormel::PPRadioButtonClick(device);
    device.TypePP.Text = "НПН";
    session.ChangeFuseType();
    deviceForm.showState();
    ok = save(&deviceForm, folder, QStringLiteral("device-fuse.png")) && ok;
    deviceForm.hide();

    session.AskNumber().SetNumberPointNoMoreChecked(true);
    tormel::TAskNumberForm &askNumber = windows.AskNumberForm();
    askNumber.showState();
    ok = save(&askNumber, folder, QStringLiteral("ask-number.png")) && ok;
    askNumber.hide();

    tormel::TReportForm &report = windows.ReportForm();
    session.Report().ReportStringGridSelectCell(0, 1);
    report.showState();
    ok = save(&report, folder, QStringLiteral("report.png")) && ok;
    report.hide();

    ok = save(&windows.DeleteAllReportForm(), folder, QStringLiteral("delete-all.png")) && ok;
    windows.DeleteAllReportForm().hide();

    ok = save(&windows.AboutProgramForm(), folder, QStringLiteral("about.png")) && ok;
    windows.AboutProgramForm().hide();

    help.showHelpTopic(tormel::HelpFileName, 1);
    ok = save(&help, folder, QStringLiteral("help.png")) && ok;
    help.hide();

    if (argc > 2) {
        const QDir cases(QString::fromLocal8Bit(argv[2]));
        ok = cases.exists() && saveAnalysisCases(session, windows, cases) && ok;
    }
    return ok ? 0 : 1;
}
