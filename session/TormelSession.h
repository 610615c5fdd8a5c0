#pragma once

#include "calc/CalcTypes.h"
#include "calc/MainInputModel.h"
#include "core/MainStatus.h"
#include "core/NumberFormat.h"
#include "session/ResultWindowModel.h"

#include <functional>

namespace tormel {

class IMessageService;

// The state of one run of the program: the main window's inputs and status lines, the
// current calculation result and the result window's texts. The front ends forward the
// main window's events here and show what it holds.
class TormelSession
{
public:
    TormelSession(IMessageService &messages, NumberSeparators separators);
    TormelSession(const TormelSession &) = delete;
    TormelSession &operator=(const TormelSession &) = delete;

    // "Расчет": calculates from the inputs as they stand now.
    void StartBitBtnClick();
    // The scheme box's text changed: refills the power list.
    void WindKindComboBoxChange();
    // The kind box of line `line` (1..6) changed: refills that line's lists.
    void KindPerformLineComboBoxChange(int line);

    MainInputModel &Input() { return m_input; }
    const MainInputModel &Input() const { return m_input; }
    MainStatus &Status() { return m_status; }
    const MainStatus &Status() const { return m_status; }
    TCalcResult &Result() { return m_result; }
    const TCalcResult &Result() const { return m_result; }
    ResultWindowModel &ResultWindow() { return m_resultWindow; }
    const ResultWindowModel &ResultWindow() const { return m_resultWindow; }
    IMessageService &Messages() const { return m_messages; }
    const NumberSeparators &Separators() const { return m_separators; }

    // Steps after a successful calculation that other parts of the program provide; each
    // is skipped while empty. The verdict runs after the result line is written and
    // before the result window is filled; the point-name dialog opens last, when its
    // check box is ticked.
    std::function<void()> DeviceVerdict;
    std::function<bool()> PointNameDialogChecked;
    std::function<void()> ShowPointNameDialog;

private:
    IMessageService &m_messages;
    NumberSeparators m_separators;
    MainInputModel m_input;
    MainStatus m_status;
    TCalcResult m_result;
    ResultWindowModel m_resultWindow;
};

} // namespace tormel
