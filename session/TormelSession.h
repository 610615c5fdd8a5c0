#pragma once

#include "calc/CalcTypes.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"
#include "report/AskNumberModel.h"
#include "report/ReportTable.h"
#include "session/DeviceDefenceFormModel.h"
#include "session/MainInputModel.h"
#include "session/MainStatus.h"
#include "session/MaxCurrentInputModel.h"
#include "session/ResultWindowModel.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

namespace tormel {

class IFileDialogService;
class IMessageService;

// What one command of the session did: whether it did what it was asked, and the
// message boxes it showed, in the order it showed them.
struct CommandOutcome
{
    bool Done = true;
    std::vector<std::string> Messages;
};

// A calculation's outcome. AskPointName: the calculation succeeded while the point-name
// dialog's check box is ticked, so the front end asks for the point's name now, with the
// new result already shown behind the dialog.
struct CalculationOutcome : CommandOutcome
{
    bool AskPointName = false;
};

// The state of one run of the program: the main window's inputs and status lines, the
// current calculation result, the result window's texts, the protection device and its
// window, the point-name dialog and the report. Both front ends call its commands, show
// the state they leave and, for the desktop program, the messages they give. A window
// that shows the report learns of its changes from reportChanged().
class TormelSession : public QObject
{
    Q_OBJECT

public:
    TormelSession(IMessageService &messages, NumberSeparators separators);
    TormelSession(const TormelSession &) = delete;
    TormelSession &operator=(const TormelSession &) = delete;

    // Calculates from the inputs as they stand now ("Расчет").
    CalculationOutcome Calculate();
    // The scheme box's text changed: refills the power list.
    CommandOutcome ChangeWindKind();
    // The kind box of line `line` (1..6) changed: refills that line's lists.
    CommandOutcome ChangeLineKind(int line);

    // Back to the program's start state: inputs, status lines, result, device, its window
    // and the point-name dialog. Only the report stays.
    void ResetToStart();

    MainInputModel &Input() { return m_input; }
    const MainInputModel &Input() const { return m_input; }
    MainStatus &Status() { return m_status; }
    const MainStatus &Status() const { return m_status; }
    TCalcResult &Result() { return m_result; }
    const TCalcResult &Result() const { return m_result; }
    ResultWindowModel &ResultWindow() { return m_resultWindow; }
    const ResultWindowModel &ResultWindow() const { return m_resultWindow; }
    // The texts the last successful calculation was made from; none before the first.
    const std::optional<TCalcInput> &CalculatedInput() const { return m_calculatedInput; }
    IMessageService &Messages() const { return m_messages; }
    const NumberSeparators &Separators() const { return m_separators; }

    // The protection device window. Accepting judges the device from the window's inputs
    // ("Да"; Done when the window closes on it); resetting forgets the device ("Сброс").
    CommandOutcome AcceptDevice();
    CommandOutcome ResetDevice();
    // The fuse type's text changed: refills the rated current list for it.
    CommandOutcome ChangeFuseType();
    TDeviceDefenceFormModel &DeviceForm() { return m_deviceForm; }
    const TDeviceDefenceFormModel &DeviceForm() const { return m_deviceForm; }
    const TDeviceDefenceState &Device() const { return m_device; }
    // The window's inputs as "Да" last accepted them; nothing after "Сброс" or before any
    // accepted device. The window's texts may have been edited and cancelled since.
    const std::optional<TDeviceDefenceFormModel> &AcceptedDeviceForm() const
    {
        return m_acceptedDeviceForm;
    }

    // The analysis of the last successful calculation with the device as it stands now;
    // none before the first. The result window's analysis page shows it.
    const std::optional<TFeedAnalysis> &Analysis() const { return m_analysis; }
    // Forgets it, as a program just started has none (a new feed).
    void ForgetAnalysis()
    {
        m_analysis.reset();
        forgetMaxCurrents();
    }

    // The inputs of the largest fault currents (Sk, uk, Pk, Icu), as typed in their window.
    MaxCurrentInputModel &MaxCurrentInput() { return m_maxCurrentInput; }
    const MaxCurrentInputModel &MaxCurrentInput() const { return m_maxCurrentInput; }
    // The largest fault currents of the last successful calculation with the device as it
    // stands now; none before the first, and none when the calculation refused their
    // inputs. They are judged by each calculation, not when typed.
    const std::optional<TMaxCurrents> &MaxCurrents() const { return m_maxCurrents; }
    // The inputs the last calculation judged, and its refusal of one of them.
    const TMaxCurrentInput &JudgedMaxCurrentInput() const { return m_judgedMaxCurrentInput; }
    const std::optional<TMaxCurrentRefusal> &MaxCurrentRefusal() const
    {
        return m_maxCurrentRefusal;
    }
    // Shows the last calculation's refusal of an input of the largest currents, once. The
    // front ends call it when the calculation's own messages and dialogs are done, so that
    // it comes after them.
    CommandOutcome TellMaxCurrentRefusal();

    // Adds the current result to the report under the name that stands in the point-name
    // dialog ("Да" of the dialog). Done when the dialog closes.
    CommandOutcome AddPoint();
    // The same under the given name, which the dialog then shows.
    CommandOutcome AddPointNamed(const std::string &name);
    // The same with a result computed by another session (a batch computing objects side
    // by side adds their points in input order to the report of one session).
    CommandOutcome AddPointOf(const std::string &name, const TCalcResult &result);
    AskNumberModel &AskNumber() { return m_askNumber; }
    const AskNumberModel &AskNumber() const { return m_askNumber; }

    // Deletes the report's selected row ("Удалить"); refused without one.
    CommandOutcome DeleteReportRow();
    // Moves the selected row one place up or down (the arrows of the report window).
    void MoveReportRowUp();
    void MoveReportRowDown();
    // Empties the report ("Да" of the "Удалить все" confirmation).
    void ClearReport();
    // The report window's menu "Файл", with the file dialogs of the front end: "Новый",
    // "Сохранить", "Сохранить как..." and "Открыть...". The saves and the opening return
    // whether the report was written or read.
    // The saves never write over the open feed file `feedFile`.
    void NewReport(IFileDialogService &dialogs, const std::string &feedFile = {});
    bool SaveReport(IFileDialogService &dialogs, const std::string &feedFile = {});
    bool SaveReportAs(IFileDialogService &dialogs, const std::string &feedFile = {});
    bool OpenReport(IFileDialogService &dialogs);
    ReportTable &Report() { return m_report; }
    const ReportTable &Report() const { return m_report; }

signals:
    // A command that works on the report has finished, its messages shown: the report, its
    // selected row or its caption may have changed.
    void reportChanged();

private:
    // Judges the last successful calculation against the device again.
    void refreshAnalysis();
    void forgetMaxCurrents();
    CommandOutcome addPoint(const TCalcResult &result);
    // Shows one message box and keeps its text in the outcome.
    void show(CommandOutcome &outcome, std::string text);
    // Shows a refusal, if there is one, and gives the outcome of the command.
    CommandOutcome refusedWith(const std::optional<std::string> &refusal);

    IMessageService &m_messages;
    NumberSeparators m_separators;
    MainInputModel m_input;
    MainStatus m_status;
    TCalcResult m_result;
    TDeviceDefenceState m_device; // before the result window, which shows its texts
    ResultWindowModel m_resultWindow{m_device};
    TDeviceDefenceFormModel m_deviceForm;
    std::optional<TDeviceDefenceFormModel> m_acceptedDeviceForm;
    AskNumberModel m_askNumber;
    ReportTable m_report;
    std::optional<TFeedAnalysis> m_analysis;
    MaxCurrentInputModel m_maxCurrentInput;
    TMaxCurrentInput m_judgedMaxCurrentInput;
    std::optional<TMaxCurrentSettings> m_maxCurrentSettings; // as the calculation read them
    std::optional<TMaxCurrents> m_maxCurrents;
    std::optional<TMaxCurrentRefusal> m_maxCurrentRefusal;
    bool m_maxCurrentRefusalTold = false;
    std::optional<TCalcInput> m_calculatedInput;
};

} // namespace tormel
