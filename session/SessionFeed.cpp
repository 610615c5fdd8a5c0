#include "session/SessionFeed.h"

#include "session/TormelSession.h"

namespace tormel {

namespace {

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
        TLineInput &row = session.Input().Lines[i];
        const int number = static_cast<int>(i) + 1;
        setText(row.KindPerform, line.KindPerform, [&] { session.ChangeLineKind(number); });
        applyText(row.Stuff, line.Stuff);
        applyText(row.Ff, line.Ff);
        applyText(row.Fn, line.Fn);
        applyText(row.Length, line.Length);
        applyText(row.QuanPar, line.QuanPar);
        applyText(row.Temperature, line.Temperature);
    }
}

// Describes the device in its window and presses "Да" once, unless it was not accepted.
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
    setText(form.TypePP.Text, device.TypePP, [&] { session.ChangeFuseType(); });
    applyText(form.TokPP.Text, device.TokPP);
    applyText(form.KZPP.Text, device.KZPP);
    applyText(form.TimePP.Text, device.TimePP);
    if (device.Accepted == false)
        return true;
    return session.AcceptDevice().Done;
}

DeviceRequest deviceFrom(const TDeviceDefenceFormModel &form, bool accepted)
{
    DeviceRequest device;
    device.Accepted = accepted;
    device.AV = form.AVChecked;
    device.TokAVnom = form.TokAVnom.Text;
    device.TokNR = form.TokNR.Text;
    device.TokNRChecked = form.TokNRChecked;
    device.KZAV = form.KZAV.Text;
    device.TypePP = form.TypePP.Text;
    device.TokPP = form.TokPP.Text;
    device.KZPP = form.KZPP.Text;
    device.TimePP = form.TimePP.Text;
    return device;
}

} // namespace

CalcRequest FeedFromSession(const TormelSession &session)
{
    const MainInputModel &input = session.Input();
    CalcRequest feed;
    if (!session.AskNumber().NumberEditText().empty())
        feed.Name = session.AskNumber().NumberEditText();
    feed.WindKind = input.WindKind.Text;
    feed.TransPower = input.TransPower.Text;
    feed.RArc = input.RArc;
    // The inputs of the largest currents are written only when given, so that a feed
    // without them is written as before.
    const TMaxCurrentInput &texts = session.MaxCurrentInput().Texts;
    const auto given = [](const std::string &text) {
        return text.empty() ? std::nullopt : std::optional<std::string>(text);
    };
    feed.Sk = given(texts.Sk);
    feed.Uk = given(texts.Uk);
    feed.Pk = given(texts.Pk);
    for (const TLineInput &line : input.Lines)
        feed.Lines.push_back(ConvertLineTexts<std::optional<std::string>>(line));
    // While a device is held, the file names the inputs it was accepted with: opened again,
    // it judges the same device. Texts edited and cancelled since are not the device.
    if (const auto &accepted = session.AcceptedDeviceForm())
        feed.Device = deviceFrom(*accepted, true);
    else
        feed.Device = deviceFrom(session.DeviceForm(), false);
    feed.Device->Icu = given(texts.Icu);
    return feed;
}

bool ApplyCalcRequest(TormelSession &session, const CalcRequest &request)
{
    setText(session.Input().WindKind.Text, request.WindKind, [&] { session.ChangeWindKind(); });
    applyText(session.Input().TransPower.Text, request.TransPower);
    applyText(session.Input().RArc, request.RArc);
    TMaxCurrentInput &texts = session.MaxCurrentInput().Texts;
    applyText(texts.Sk, request.Sk);
    applyText(texts.Uk, request.Uk);
    applyText(texts.Pk, request.Pk);
    if (request.Device)
        applyText(texts.Icu, request.Device->Icu);
    applyLines(session, request.Lines);
    return !request.Device || applyDevice(session, *request.Device);
}

void StartNewFeed(TormelSession &session)
{
    if (session.AcceptedDeviceForm() || session.Device().DeviceKind != ProtectionKind::None)
        session.ResetDevice();
    session.Input() = MainInputModel();
    session.MaxCurrentInput() = MaxCurrentInputModel();
    session.DeviceForm() = TDeviceDefenceFormModel();
    session.Result() = TCalcResult();
    session.ResultWindow().Reset();
    session.ForgetAnalysis();
    session.Status() = MainStatus();
}

void LoadFeed(TormelSession &session, const CalcRequest &feed)
{
    StartNewFeed(session);
    ApplyCalcRequest(session, feed);
    session.AskNumber().SetNumberEditText(feed.Name.value_or(std::string()));
}

} // namespace tormel
