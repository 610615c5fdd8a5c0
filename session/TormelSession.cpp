#include "session/TormelSession.h"

#include "calc/CalcDriver.h"
#include "core/MessageService.h"
#include "core/NumberFormat.h"

#include <utility>

namespace tormel {

TormelSession::TormelSession(IMessageService &messages, NumberSeparators separators)
    : m_messages(messages)
    , m_separators(std::move(separators))
{}

void TormelSession::StartBitBtnClick()
{
    m_status.ResultMenuEnabled = false;
    m_status.AddReportMenuEnabled = false;

    const TCalcInput input = m_input.ToCalcInput();
    CalcOutcome outcome = CalculateShortCircuit(input, m_messages);
    if (!outcome.Result) {
        m_status.setMissingData();
        if (!outcome.MessageAfterFailureTexts.empty())
            m_messages.showMessage(outcome.MessageAfterFailureTexts);
        return;
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
    m_analysis.emplace();
    refreshAnalysis();
    m_status.ResultMenuEnabled = true;
    m_status.AddReportMenuEnabled = true;
    if (m_askNumber.NumberPointNoMoreChecked() && ShowPointNameDialog)
        ShowPointNameDialog();
}

void TormelSession::WindKindComboBoxChange()
{
    if (!m_input.WindKindComboBoxChange(m_messages))
        m_status.setMissingData();
}

void TormelSession::KindPerformLineComboBoxChange(int line)
{
    if (!m_input.ApplyLineKind(line, m_messages))
        m_status.setMissingData();
}

void TormelSession::refreshAnalysis()
{
    if (!m_analysis)
        return;
    m_analysis = AnalyseFeed(m_result, m_device);
    m_resultWindow.Analysis.Fill(m_result, *m_analysis, m_separators);
}

DDFormOutcome TormelSession::OKDDBitBtnClick()
{
    // The window closes only on an accepted device. Even a refused press may have
    // changed the trip current (an unknown fuse type), so the analysis follows.
    const std::optional<TDeviceStatusLine> line = ComputeDeviceDefence(
            m_deviceForm.ToInput(), m_device, m_result, m_messages, m_separators);
    refreshAnalysis();
    if (!line)
        return DDFormOutcome::StayOpen;
    m_status.setDeviceLine(*line);
    m_acceptedDeviceForm = m_deviceForm;
    return DDFormOutcome::Close;
}

DDFormOutcome TormelSession::BitBtn3Click()
{
    m_acceptedDeviceForm.reset();
    m_status.setDeviceLine(ResetDeviceDefence(m_device, m_result));
    refreshAnalysis();
    return DDFormOutcome::Close;
}

bool TormelSession::OKButtonClick()
{
    return m_askNumber.OKButtonClick(m_result, m_separators, m_report, m_messages);
}

} // namespace tormel
