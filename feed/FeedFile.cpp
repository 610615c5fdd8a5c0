#include "feed/FeedFile.h"

#include <QStringDecoder>

#include <nlohmann/json.hpp>

namespace tormel {

namespace {

using Json = nlohmann::ordered_json;

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

} // namespace tormel
