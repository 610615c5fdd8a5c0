// What "Расчет" costs in the desktop program, beside one repaint of the main window: the
// click runs the calculation, the device's verdict and the analysis and brings the shown
// main and result windows up to date, and the event queue then repaints what changed.
// Both run on the offscreen platform in the same process; the ratio is printed last.
#include "app/HelpService.h"
#include "app/MainForm.h"
#include "app/QtFileDialogService.h"
#include "app/ResultForm.h"
#include "app/TormelWindows.h"
#include "core/MessageService.h"
#include "core/NumberFormat.h"
#include "report/export/SpreadsheetExport.h"
#include "session/DeviceDefenceFormModel.h"
#include "session/TormelSession.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace tormel;

class SilentMessages : public IMessageService
{
public:
    void showMessage(const std::string &) override {}
    MessageAnswer askWarning(const std::string &) override { return MessageAnswer::Ok; }
    MessageAnswer askQuestion(const std::string &, bool) override { return MessageAnswer::Yes; }
    void showError(const std::string &) override {}
};

class NoHelp : public IHelpService
{
public:
    void showHelpTopic(const std::string &, int) override {}
};

// Counts the widgets painted, so that each benchmark shows that its repaints happened
// inside the iterations and were not put off past them.
class PaintCounter : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Painted;
        return false;
    }

public:
    long Painted = 0;
};

// The program with six cable sections behind a 400 kVA transformer and an accepted
// breaker, the main window and the result window shown, this one at the chart of the
// current along the feed.
struct Program
{
    Program()
    {
        MainInputModel &input = Session.Input();
        input.WindKind.Text = "T/Y-0";
        Session.ChangeWindKind();
        input.TransPower.Text = "400";
        for (int line = 1; line <= LineCount; ++line) {
            TLineInput &row = input.Lines[static_cast<std::size_t>(line - 1)];
            row.KindPerform = "Кабель с ПВХ изоляцией";
            Session.ChangeLineKind(line);
            row.Stuff = line % 2 ? "Медь" : "Алюминий";
            row.Ff = "50";
            row.Fn = "25";
            row.Length = std::to_string(10 + 7 * line);
        }
        Session.AskNumber().SetNumberPointNoMoreChecked(false);
        Session.DeviceForm().TokAVnom.Text = "100";
        Session.AcceptDevice();

        Windows.showMainWindow();
        Windows.MainForm().findChild<QPushButton *>(QStringLiteral("StartBitBtn"))->click();
        // The result window at its costliest page: the analysis with the current's chart.
        TResultForm &result = Windows.ResultForm();
        result.findChild<QTabWidget *>(QStringLiteral("ResultPageControl"))->setCurrentIndex(3);
        result.findChild<QTabWidget *>(QStringLiteral("AnalysisPageControl"))->setCurrentIndex(1);
        result.show();
        QCoreApplication::processEvents();
        std::fprintf(stderr,
                     "%s\n%s\n",
                     Session.Status().IokzLabel.c_str(),
                     Session.Status().StatusDDLabel.c_str());
    }

    SilentMessages Messages;
    NoHelp Help;
    QtFileDialogService Dialogs;
    SpreadsheetPrograms Spreadsheets;
    TormelSession Session{Messages, NumberSeparators::russian()};
    TormelWindows Windows{Session, Help, Dialogs, Spreadsheets};
};

// Made in main(), after the application and gone before it.
Program *shownProgram = nullptr;

Program &program()
{
    return *shownProgram;
}

// Each click follows a changed length, so that every text of the result changes.
void BM_CalculateClick(benchmark::State &state)
{
    Program &p = program();
    auto *button = p.Windows.MainForm().findChild<QPushButton *>(QStringLiteral("StartBitBtn"));
    std::string &length = p.Session.Input().Lines[5].Length;
    int step = 0;
    PaintCounter painted;
    qApp->installEventFilter(&painted);
    for (auto _ : state) {
        length = ++step % 2 ? "60" : "61";
        button->click();
        QCoreApplication::processEvents();
    }
    qApp->removeEventFilter(&painted);
    state.counters["painted"]
            = benchmark::Counter(double(painted.Painted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CalculateClick)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MainWindowRepaint(benchmark::State &state)
{
    Program &p = program();
    PaintCounter painted;
    qApp->installEventFilter(&painted);
    for (auto _ : state) {
        p.Windows.MainForm().repaint();
        QCoreApplication::processEvents();
    }
    qApp->removeEventFilter(&painted);
    state.counters["painted"]
            = benchmark::Counter(double(painted.Painted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MainWindowRepaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Prints as usual and keeps each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                Times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Times;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto shown = std::make_unique<Program>();
    shownProgram = shown.get();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double click = reporter.Times["BM_CalculateClick"];
    const double repaint = reporter.Times["BM_MainWindowRepaint"];
    if (click > 0 && repaint > 0)
        std::printf("\"Расчет\" / repaint of the main window: %.2f\n", click / repaint);
    shownProgram = nullptr;
    shown.reset();
    benchmark::Shutdown();
    return 0;
}
