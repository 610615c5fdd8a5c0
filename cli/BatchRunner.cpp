#include "cli/BatchRunner.h"

#include "core/MessageService.h"
#include "session/TormelSession.h"

#include <utility>
#include <vector>

namespace tormel::cli {

namespace {

using Json = nlohmann::ordered_json;

// The message boxes of a run without windows: every text is kept in order. The
// replacement question is answered "OK", so a point of an existing name replaces it.
class CollectedMessages : public IMessageService
{
public:
    void showMessage(const std::string &text) override { m_texts.push_back(text); }
    MessageAnswer askWarning(const std::string &text) override
    {
        m_texts.push_back(text);
        return MessageAnswer::Ok;
    }
    MessageAnswer askQuestion(const std::string &text, bool) override
    {
        m_texts.push_back(text);
        return MessageAnswer::Yes;
    }
    void showError(const std::string &text) override { m_texts.push_back(text); }

    const std::vector<std::string> &texts() const { return m_texts; }

private:
    std::vector<std::string> m_texts;
};

// Sets a combo box's text as a user picking or typing it at once would, so that its
// change rule runs once; an unchanged text raises no change.
template<typename Change>
void setText(std::string &target, const std::optional<std::string> &text, Change change)
{
    if (!text || *text == target)
        return;
    target = *text;
    change();
}

void applyText(std::string &target, const std::optional<std::string> &text)
{
    if (text)
        target = *text;
}

void applyLines(TormelSession &session, const std::vector<LineRequest> &lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineRequest &line = lines[i];
        LineRowState &row = session.Input().Lines[i];
        const int number = static_cast<int>(i) + 1;
        setText(row.KindPerform.Text, line.KindPerform, [&] {
            session.KindPerformLineComboBoxChange(number);
        });
        applyText(row.Stuff.Text, line.Stuff);
        applyText(row.Ff.Text, line.Ff);
        applyText(row.Fn.Text, line.Fn);
        applyText(row.Length, line.Length);
        applyText(row.QuanPar.Text, line.QuanPar);
        applyText(row.Temperature.Text, line.Temperature);
    }
}

// Describes the device in its window and presses "Да" once; true when it was accepted.
bool applyDevice(TormelSession &session, const DeviceRequest &device)
{
    TDeviceDefenceFormModel &form = session.DeviceForm();
    if (device.AV) {
        if (*device.AV)
            AVRadioButtonClick(form);
        else
            PPRadioButtonClick(form);
    }
    if (device.TokNRChecked && *device.TokNRChecked != form.TokNRChecked)
        TokNRCheckBoxClick(form, *device.TokNRChecked);
    applyText(form.TokAVnom.Text, device.TokAVnom);
    applyText(form.TokNR.Text, device.TokNR);
    applyText(form.KZAV.Text, device.KZAV);
    setText(form.TypePP.Text, device.TypePP, [&] {
        TypePPComboBoxChange(form, session.Messages());
    });
    applyText(form.TokPP.Text, device.TokPP);
    applyText(form.KZPP.Text, device.KZPP);
    applyText(form.TimePP.Text, device.TimePP);
    return session.OKDDBitBtnClick() == DDFormOutcome::Close;
}

Json resultJson(const TCalcResult &result)
{
    const auto array = [](const std::array<double, LineCount> &values) {
        Json list = Json::array();
        for (double value : values)
            list.push_back(value);
        return list;
    };
    return Json{{"Rt", result.Rt},
                {"Xt", result.Xt},
                {"Zt", result.Zt},
                {"RLine", array(result.RLine)},
                {"XLine", array(result.XLine)},
                {"ZLine", array(result.ZLine)},
                {"RLineSum", result.RLineSum},
                {"XLineSum", result.XLineSum},
                {"ZLineSum", result.ZLineSum},
                {"Rother", result.Rother},
                {"Rsum", result.Rsum},
                {"Xsum", result.Xsum},
                {"Zsum", result.Zsum},
                {"Iokz", result.Iokz},
                {"Isr", result.Isr},
                {"TimeSR", result.TimeSR}};
}

Json analysisJson(const TFeedAnalysis &analysis)
{
    const auto optional = [](const auto &value) { return value ? Json(*value) : Json(nullptr); };
    Json points = Json::array();
    for (double current : analysis.PointCurrents)
        points.push_back(current);
    Json lengths = Json::array();
    for (const std::optional<double> &length : analysis.MaxLength)
        lengths.push_back(optional(length));
    return Json{{"PointCurrents", points},
                {"Margin", optional(analysis.Margin)},
                {"LoopLimit", optional(analysis.LoopLimit)},
                {"MaxLength", lengths},
                {"LargestDevice", optional(analysis.LargestDevice)}};
}

Json resultWindowJson(const ResultWindowModel &window)
{
    Json labels = Json::object();
    for (const auto &[name, text] : window.Labels())
        labels[name] = text;
    return labels;
}

Json reportRowJson(const ReportTable &report, const std::string &name)
{
    for (int row = 0; row < report.RowCount(); ++row) {
        if (report.Cell(0, row) != name)
            continue;
        Json cells = Json::array();
        for (int col = 0; col < ReportTable::ColCount; ++col)
            cells.push_back(report.Cell(col, row));
        return cells;
    }
    return nullptr;
}

struct RequestOutcome
{
    Json Output;
    bool Ok = false;
};

RequestOutcome
runRequest(const CalcRequest &request, const NumberSeparators &separators, ReportTable &report)
{
    CollectedMessages messages;
    TormelSession session(messages, separators);
    session.Report() = std::move(report);

    bool pointAdded = false;
    session.ShowPointNameDialog = [&] {
        // Without a name the dialog is closed with "Отмена".
        if (!request.Name)
            return;
        session.AskNumber().SetNumberEditText(*request.Name);
        pointAdded = session.OKButtonClick();
    };

    setText(session.Input().WindKind.Text, request.WindKind, [&] {
        session.WindKindComboBoxChange();
    });
    applyText(session.Input().TransPower.Text, request.TransPower);
    applyText(session.Input().RArc, request.RArc);
    applyLines(session, request.Lines);

    const bool deviceAccepted = !request.Device || applyDevice(session, *request.Device);
    session.StartBitBtnClick();
    const bool calculated = session.Status().ResultMenuEnabled;

    RequestOutcome outcome;
    outcome.Ok = deviceAccepted && calculated && (!request.Name || pointAdded);
    Json &out = outcome.Output;
    out["Name"] = request.Name ? Json(*request.Name) : Json(nullptr);
    out["Ok"] = outcome.Ok;
    out["Messages"] = messages.texts();
    out["IokzLabel"] = session.Status().IokzLabel;
    out["StatusDDLabel"] = session.Status().StatusDDLabel;
    out["StatusDDColor"] = session.Status().StatusDDColor == StatusColor::Red ? "red" : "black";
    out["Result"] = calculated ? resultJson(session.Result()) : Json(nullptr);
    out["ResultWindow"] = calculated ? resultWindowJson(session.ResultWindow()) : Json(nullptr);
    out["Analysis"]
            = calculated && session.Analysis() ? analysisJson(*session.Analysis()) : Json(nullptr);
    out["ReportRow"] = pointAdded ? reportRowJson(session.Report(), *request.Name) : Json(nullptr);
    out["Analysis"]
            = calculated && session.Analysis() ? analysisJson(*session.Analysis()) : Json(nullptr);

    report = std::move(session.Report());
    return outcome;
}

} // namespace

BatchOutcome RunBatch(const BatchInput &input, const NumberSeparators &separators)
{
    BatchOutcome outcome;
    Json results = Json::array();
    for (const CalcRequest &request : input.Requests) {
        RequestOutcome one = runRequest(request, separators, outcome.Report);
        outcome.AllOk = outcome.AllOk && one.Ok;
        results.push_back(std::move(one.Output));
    }
    outcome.Output = input.IsArray ? std::move(results) : std::move(results.at(0));
    return outcome;
}

} // namespace tormel::cli
