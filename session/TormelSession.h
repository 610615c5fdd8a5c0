#pragma once

#include "calc/CalcTypes.h"
#include "calc/MainInputModel.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceFormModel.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"
#include "report/AskNumberModel.h"
#include "report/ReportTable.h"
#include "session/MainStatus.h"
#include "session/ResultWindowModel.h"

#include <functional>
#include <optional>

namespace tormel {

class IMessageService;

// The state of one run of the program: the main window's inputs and status lines, the
// current calculation result, the result window's texts, the protection device and its
// window, the point-name dialog and the report. The front ends forward the windows'
// events here and show what it holds.
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
    // The texts the last successful calculation was made from; none before the first.
    const std::optional<TCalcInput> &CalculatedInput() const { return m_calculatedInput; }
    IMessageService &Messages() const { return m_messages; }
    const NumberSeparators &Separators() const { return m_separators; }

    // The protection device window: "Да" judges the device and closes the window when it
    // is accepted; "Сброс" forgets the device.
    DDFormOutcome OKDDBitBtnClick();
    DDFormOutcome BitBtn3Click();
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
    void ForgetAnalysis() { m_analysis.reset(); }

    // The point-name dialog's "Да": adds the current result to the report. True when the
    // dialog closes.
    bool OKButtonClick();
    AskNumberModel &AskNumber() { return m_askNumber; }
    const AskNumberModel &AskNumber() const { return m_askNumber; }

    ReportTable &Report() { return m_report; }
    const ReportTable &Report() const { return m_report; }

    // Shows the point-name dialog after a successful calculation while its check box is
    // ticked; the front end opens its window here. Skipped while empty.
    std::function<void()> ShowPointNameDialog;

private:
    // Judges the last successful calculation against the device again.
    void refreshAnalysis();

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
    std::optional<TCalcInput> m_calculatedInput;
};

} // namespace tormel
