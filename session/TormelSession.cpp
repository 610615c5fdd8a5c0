#include "session/TormelSession.h"

#include "calc/CalcDriver.h"
#include "core/MessageService.h"
#include "core/NumberFormat.h"
#include "core/NumberReading.h"
#include "session/ReportMenu.h"

#include <utility>

namespace tormel {

TormelSession::TormelSession(IMessageService &messages, NumberSeparators separators)
    : m_messages(messages)
    , m_separators(std::move(separators))
{}

void TormelSession::show(CommandOutcome &outcome, std::string text)
{
    m_messages.showMessage(text);
    outcome.Messages.push_back(std::move(text));
}

CommandOutcome TormelSession::refusedWith(const std::optional<std::string> &refusal)
{
    CommandOutcome outcome;
    if (refusal) {
        outcome.Done = false;
        show(outcome, *refusal);
    }
    return outcome;
}

CalculationOutcome TormelSession::Calculate()
{
    m_status.ResultMenuEnabled = false;
    m_status.AddReportMenuEnabled = false;

    CalculationOutcome done;
    const TCalcInput input = m_input.ToCalcInput();
    CalcOutcome outcome = CalculateShortCircuit(input);
    if (!outcome.Result) {
        done.Done = false;
        // A refused power text is told after the main window's failure texts are set,
        // every other refusal before them.
        if (outcome.RefusedAt == CalcStep::Power) {
            m_status.setMissingData();
            show(done, std::move(outcome.Refusal));
        } else {
            show(done, std::move(outcome.Refusal));
            m_status.setMissingData();
        }
        return done;
    }

    // Every field but the device's two is replaced.
    TCalcResult &next = *outcome.Result;
    next.Isr = m_result.Isr;
    next.TimeSR = std::move(m_result.TimeSR);
    m_result = std::move(next);

    m_status.IokzLabel
            = "Ток однофазного короткого замыкания равен " + FormatCurrent(m_result.Iokz) + " А";
    m_status.setDeviceLine(AlertDeviceDefence(m_device, m_result));
    m_resultWindow.Fill(input, m_result, m_separators);
    m_calculatedInput = input;
    // The inputs of the largest currents are read only now that the transformer and the
    // feed are accepted; a refused one leaves the calculation as it is.
    forgetMaxCurrents();
    m_judgedMaxCurrentInput = m_maxCurrentInput.Texts;
    TMaxCurrentReading reading = ReadMaxCurrentInput(
            m_judgedMaxCurrentInput, input.WindKind, ReadReal(input.TransPower).value_or(0));
    m_maxCurrentSettings = std::move(reading.Settings);
    m_maxCurrentRefusal = std::move(reading.Refusal);
    m_analysis.emplace();
    refreshAnalysis();
    m_status.ResultMenuEnabled = true;
    m_status.AddReportMenuEnabled = true;
    done.AskPointName = m_askNumber.NumberPointNoMoreChecked();
    return done;
}

CommandOutcome TormelSession::ChangeWindKind()
{
    CommandOutcome outcome = refusedWith(m_input.WindKindComboBoxChange());
    if (!outcome.Done)
        m_status.setMissingData();
    return outcome;
}

CommandOutcome TormelSession::ChangeLineKind(int line)
{
    CommandOutcome outcome = refusedWith(m_input.ApplyLineKind(line));
    if (!outcome.Done)
        m_status.setMissingData();
    return outcome;
}

void TormelSession::ResetToStart()
{
    m_input = MainInputModel();
    m_status = MainStatus();
    m_result = TCalcResult();
    m_device = TDeviceDefenceState();
    m_resultWindow.Reset();
    m_deviceForm = TDeviceDefenceFormModel();
    m_acceptedDeviceForm.reset();
    m_askNumber = AskNumberModel();
    m_analysis.reset();
    m_calculatedInput.reset();
    m_maxCurrentInput = MaxCurrentInputModel();
    m_judgedMaxCurrentInput = TMaxCurrentInput();
    forgetMaxCurrents();
}

void TormelSession::refreshAnalysis()
{
    if (!m_analysis)
        return;
    m_analysis = AnalyseFeed(m_result, m_device);
    m_resultWindow.Analysis.Fill(m_result, *m_analysis, m_separators);
    if (m_maxCurrentSettings) {
        m_maxCurrents = ComputeMaxCurrents(m_result, *m_analysis, m_device, *m_maxCurrentSettings);
        m_resultWindow.MaxCurrents.Fill(*m_analysis, *m_maxCurrents, m_separators);
    }
}

void TormelSession::forgetMaxCurrents()
{
    m_maxCurrentSettings.reset();
    m_maxCurrents.reset();
    m_maxCurrentRefusal.reset();
    m_maxCurrentRefusalTold = false;
    m_resultWindow.MaxCurrents.Clear();
}

CommandOutcome TormelSession::TellMaxCurrentRefusal()
{
    CommandOutcome outcome;
    if (m_maxCurrentRefusal && !m_maxCurrentRefusalTold) {
        m_maxCurrentRefusalTold = true;
        outcome.Done = false;
        show(outcome, m_maxCurrentRefusal->Message);
    }
    return outcome;
}

CommandOutcome TormelSession::AcceptDevice()
{
    // The window closes only on an accepted device. Even a refused press may have
    // changed the trip current (an unknown fuse type), so the analysis follows.
    const TDeviceJudgement judgement
            = ComputeDeviceDefence(m_deviceForm.ToInput(), m_device, m_result, m_separators);
    CommandOutcome outcome;
    if (!judgement.Line) {
        show(outcome, judgement.Refusal);
        refreshAnalysis();
        outcome.Done = false;
        return outcome;
    }
    refreshAnalysis();
    m_status.setDeviceLine(*judgement.Line);
    m_acceptedDeviceForm = m_deviceForm;
    return outcome;
}

CommandOutcome TormelSession::ResetDevice()
{
    m_acceptedDeviceForm.reset();
    m_status.setDeviceLine(ResetDeviceDefence(m_device, m_result));
    refreshAnalysis();
    return {};
}

CommandOutcome TormelSession::ChangeFuseType()
{
    return refusedWith(TypePPComboBoxChange(m_deviceForm));
}

CommandOutcome TormelSession::AddPoint()
{
    return addPoint(m_result);
}

CommandOutcome TormelSession::addPoint(const TCalcResult &result)
{
    CommandOutcome outcome;
    const PointPlace place = m_askNumber.PlacePoint(m_report);
    if (place.Refusal) {
        outcome.Done = false;
        show(outcome, std::string(*place.Refusal));
        return outcome;
    }
    if (place.ReplacedRow) {
        const std::string question(ask_number_texts::ReplaceQuestion);
        outcome.Messages.push_back(question);
        if (m_messages.askWarning(question) != MessageAnswer::Ok) {
            outcome.Done = false;
            return outcome;
        }
    }
    m_askNumber.WritePoint(result, m_separators, m_report, place.ReplacedRow);
    emit reportChanged();
    return outcome;
}

CommandOutcome TormelSession::AddPointNamed(const std::string &name)
{
    m_askNumber.SetNumberEditText(name);
    return AddPoint();
}

CommandOutcome TormelSession::AddPointOf(const std::string &name, const TCalcResult &result)
{
    m_askNumber.SetNumberEditText(name);
    return addPoint(result);
}

CommandOutcome TormelSession::DeleteReportRow()
{
    CommandOutcome outcome = refusedWith(m_report.DeleteSelectedRow());
    emit reportChanged();
    return outcome;
}

void TormelSession::MoveReportRowUp()
{
    m_report.UpSpeedButtonClick();
    emit reportChanged();
}

void TormelSession::MoveReportRowDown()
{
    m_report.DownSpeedButtonClick();
    emit reportChanged();
}

void TormelSession::ClearReport()
{
    DeleteAllReportOKBitBtnClick(m_report);
    emit reportChanged();
}

void TormelSession::NewReport(IFileDialogService &dialogs, const std::string &feedFile)
{
    NewReportMenuClick(m_report, m_messages, dialogs, feedFile);
    emit reportChanged();
}

bool TormelSession::SaveReport(IFileDialogService &dialogs, const std::string &feedFile)
{
    const bool saved = SaveReportMenuClick(m_report, m_messages, dialogs, feedFile);
    emit reportChanged();
    return saved;
}

bool TormelSession::SaveReportAs(IFileDialogService &dialogs, const std::string &feedFile)
{
    const bool saved = SaveAsReportMenuClick(m_report, m_messages, dialogs, feedFile);
    emit reportChanged();
    return saved;
}

bool TormelSession::OpenReport(IFileDialogService &dialogs)
{
    const bool opened = OpenReportMenuClick(m_report, m_messages, dialogs);
    emit reportChanged();
    return opened;
}

} // namespace tormel
