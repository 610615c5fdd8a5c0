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
    hooks.DeviceVerdict = [this] {
        if (DeviceVerdict)
            DeviceVerdict();
    };
    hooks.FillResultWindow = [this](const TCalcInput &input, const TCalcResult &result) {
        m_resultWindow.Fill(input, result, m_separators);
    };
    hooks.PointNameDialogChecked
            = [this] { return PointNameDialogChecked && PointNameDialogChecked(); };
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

} // namespace tormel
