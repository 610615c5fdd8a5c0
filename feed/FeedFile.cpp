#include "feed/FeedFile.h"

#include "core/MessageService.h"
#include "session/TormelSession.h"

#include <QStringDecoder>

#include <nlohmann/json.hpp>

namespace tormel {

namespace {

using Json = nlohmann::ordered_json;

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
    setText(form.TypePP.Text, device.TypePP, [&] {
        TypePPComboBoxChange(form, session.Messages());
    });
    applyText(form.TokPP.Text, device.TokPP);
    applyText(form.KZPP.Text, device.KZPP);
    applyText(form.TimePP.Text, device.TimePP);
    if (device.Accepted == false)
        return true;
    return session.OKDDBitBtnClick() == DDFormOutcome::Close;
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

// Writes the member when it is set.
template<typename T>
void put(Json &object, const char *key, const std::optional<T> &value)
{
    if (value)
        object[key] = *value;
}

bool isUtf8(const std::string &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder converts when its result is taken as a string.
    const QString text
            = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
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
    for (const LineRowState &row : input.Lines) {
        LineRequest line;
        line.KindPerform = row.KindPerform.Text;
        line.Stuff = row.Stuff.Text;
        line.Ff = row.Ff.Text;
        line.Fn = row.Fn.Text;
        line.Length = row.Length;
        line.QuanPar = row.QuanPar.Text;
        line.Temperature = row.Temperature.Text;
        feed.Lines.push_back(std::move(line));
    }
    // While a device is held, the file names the inputs it was accepted with: opened again,
    // it judges the same device. Texts edited and cancelled since are not the device.
    if (const auto &accepted = session.AcceptedDeviceForm())
        feed.Device = deviceFrom(*accepted, true);
    else
        feed.Device = deviceFrom(session.DeviceForm(), false);
    return feed;
}

std::string WriteFeedDocument(const CalcRequest &feed)
{
    Json root = Json::object();
    put(root, "Name", feed.Name);
    put(root, "WindKind", feed.WindKind);
    put(root, "TransPower", feed.TransPower);
    put(root, "RArc", feed.RArc);
    put(root, "Sk", feed.Sk);
    put(root, "Uk", feed.Uk);
    put(root, "Pk", feed.Pk);
    Json lines = Json::array();
    for (const LineRequest &line : feed.Lines) {
        Json object = Json::object();
        put(object, "KindPerform", line.KindPerform);
        put(object, "Stuff", line.Stuff);
        put(object, "Ff", line.Ff);
        put(object, "Fn", line.Fn);
        put(object, "Length", line.Length);
        put(object, "QuanPar", line.QuanPar);
        put(object, "Temperature", line.Temperature);
        lines.push_back(std::move(object));
    }
    root["Lines"] = std::move(lines);
    if (feed.Device) {
        const DeviceRequest &device = *feed.Device;
        Json object = Json::object();
        put(object, "Accepted", device.Accepted);
        put(object, "AV", device.AV);
        put(object, "TokAVnom", device.TokAVnom);
        put(object, "TokNR", device.TokNR);
        put(object, "TokNRChecked", device.TokNRChecked);
        put(object, "KZAV", device.KZAV);
        put(object, "TypePP", device.TypePP);
        put(object, "TokPP", device.TokPP);
        put(object, "KZPP", device.KZPP);
        put(object, "TimePP", device.TimePP);
        put(object, "Icu", device.Icu);
        root["Device"] = std::move(object);
    }
    // Every text comes from the windows as UTF-8; a broken one is replaced rather than
    // stopping the save with an exception.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

CalcRequest ReadFeedDocument(const std::string &bytes)
{
    if (!isUtf8(bytes))
        throw InputError("текст файла не в кодировке UTF-8");
    BatchInput input = ParseBatchInput(bytes);
    if (input.IsArray)
        throw InputError("в файле схемы должен быть один объект расчета, а не массив");
    return std::move(input.Requests.front());
}

bool ApplyCalcRequest(TormelSession &session, const CalcRequest &request)
{
    setText(session.Input().WindKind.Text, request.WindKind, [&] {
        session.WindKindComboBoxChange();
    });
    applyText(session.Input().TransPower.Text, request.TransPower);
    applyText(session.Input().RArc, request.RArc);
    applyLines(session, request.Lines);
    return !request.Device || applyDevice(session, *request.Device);
}

void StartNewFeed(TormelSession &session)
{
    if (session.AcceptedDeviceForm() || session.Device().DeviceKind != ProtectionKind::None)
        session.BitBtn3Click();
    session.Input() = MainInputModel();
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
