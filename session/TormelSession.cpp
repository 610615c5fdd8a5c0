#include "session/TormelSession.h"

#include "calc/CalcDriver.h"
#include "calc/LineKindCatalogue.h"

#include <utility>

namespace tormel {

TormelSession::TormelSession(IMessageService &messages, NumberSeparators separators)
    : m_messages(messages)
    , m_separators(std::move(separators))
{}

void TormelSession::StartBitBtnClick()
{
    CalcDriverHooks hooks;
    hooks.DeviceVerdict
            = [this] { AlertDeviceDefence(m_device, m_result, m_status, m_resultWindow.Device); };
    hooks.FillResultWindow = [this](const TCalcInput &input, const TCalcResult &result) {
        m_resultWindow.Fill(input, result, m_separators);
        m_analysis.emplace();
        refreshAnalysis();
    };
    hooks.PointNameDialogChecked = [this] { return m_askNumber.NumberPointNoMoreChecked(); };
    hooks.ShowPointNameDialog = [this] {
        if (ShowPointNameDialog)
            ShowPointNameDialog();
    };
    CalculateShortCircuit(m_input.ToCalcInput(), m_result, m_status, m_messages, hooks);
}

void TormelSession::WindKindComboBoxChange()
{
    tormel::WindKindComboBoxChange(m_input, m_status, m_messages);
}

void TormelSession::KindPerformLineComboBoxChange(int line)
{
    ApplyLineKind(line, m_input, m_status, m_messages);
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
    const DDFormOutcome outcome = tormel::OKDDBitBtnClick(m_deviceForm,
                                                          m_device,
                                                          m_result,
                                                          m_status,
                                                          m_resultWindow.Device,
                                                          m_messages,
                                                          m_separators);
    // Even a refused press may have changed the trip current (an unknown fuse type).
    refreshAnalysis();
    return outcome;
}

DDFormOutcome TormelSession::BitBtn3Click()
{
    const DDFormOutcome outcome
            = tormel::BitBtn3Click(m_device, m_result, m_status, m_resultWindow.Device);
    refreshAnalysis();
    return outcome;
}

bool TormelSession::OKButtonClick()
{
    return m_askNumber.OKButtonClick(m_result, m_separators, m_report, m_messages);
}

} // namespace tormel
