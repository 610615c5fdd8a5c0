// The batch input of tormel-calc: any document is either read or refused with an
// InputError whose message is one line; what is read is valid JSON of the contract,
// and written out again as JSON it reads back to the same requests.

#include "FuzzSupport.h"

#include "feed/BatchInput.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace {

using tormel::BatchInput;
using tormel::CalcRequest;
using tormel::DeviceRequest;
using tormel::LineRequest;
using tormel::fuzz::KnownFault;
using tormel::fuzz::Require;
using Json = nlohmann::ordered_json;

template<typename Value>
void put(Json &object, const char *key, const std::optional<Value> &value)
{
    if (value)
        object[key] = *value;
}

// The document that says the same as the requests read, every text as a string.
Json toJson(const BatchInput &input)
{
    Json requests = Json::array();
    for (const CalcRequest &request : input.Requests) {
        Json object = Json::object();
        put(object, "Name", request.Name);
        put(object, "WindKind", request.WindKind);
        put(object, "TransPower", request.TransPower);
        put(object, "RArc", request.RArc);
        if (!request.Lines.empty()) {
            Json lines = Json::array();
            for (const LineRequest &line : request.Lines) {
                Json l = Json::object();
                put(l, "KindPerform", line.KindPerform);
                put(l, "Stuff", line.Stuff);
                put(l, "Ff", line.Ff);
                put(l, "Fn", line.Fn);
                put(l, "Length", line.Length);
                put(l, "QuanPar", line.QuanPar);
                put(l, "Temperature", line.Temperature);
                lines.push_back(l);
            }
            object["Lines"] = lines;
        }
        if (request.Device) {
            const DeviceRequest &device = *request.Device;
            Json d = Json::object();
            put(d, "AV", device.AV);
            put(d, "TokAVnom", device.TokAVnom);
            put(d, "TokNR", device.TokNR);
            put(d, "TokNRChecked", device.TokNRChecked);
            put(d, "KZAV", device.KZAV);
            put(d, "TypePP", device.TypePP);
            put(d, "TokPP", device.TokPP);
            put(d, "KZPP", device.KZPP);
            put(d, "TimePP", device.TimePP);
            object["Device"] = d;
        }
        requests.push_back(object);
    }
    return input.IsArray ? requests : requests.at(0);
}

bool sameLine(const LineRequest &a, const LineRequest &b)
{
    return a.KindPerform == b.KindPerform && a.Stuff == b.Stuff && a.Ff == b.Ff && a.Fn == b.Fn
           && a.Length == b.Length && a.QuanPar == b.QuanPar && a.Temperature == b.Temperature;
}

bool sameDevice(const DeviceRequest &a, const DeviceRequest &b)
{
    return a.AV == b.AV && a.TokAVnom == b.TokAVnom && a.TokNR == b.TokNR
           && a.TokNRChecked == b.TokNRChecked && a.KZAV == b.KZAV && a.TypePP == b.TypePP
           && a.TokPP == b.TokPP && a.KZPP == b.KZPP && a.TimePP == b.TimePP;
}

bool sameRequest(const CalcRequest &a, const CalcRequest &b)
{
    if (a.Name != b.Name || a.WindKind != b.WindKind || a.TransPower != b.TransPower
        || a.RArc != b.RArc || a.Lines.size() != b.Lines.size()
        || a.Device.has_value() != b.Device.has_value())
        return false;
    for (std::size_t i = 0; i < a.Lines.size(); ++i)
        if (!sameLine(a.Lines[i], b.Lines[i]))
            return false;
    return !a.Device || sameDevice(*a.Device, *b.Device);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string document(reinterpret_cast<const char *>(data), size);
    BatchInput input;
    try {
        input = tormel::ParseBatchInput(document);
    } catch (const tormel::InputError &error) {
        const std::string message = error.what();
        Require(!message.empty(), "a refusal says why");
        Require(tormel::fuzz::IsOneLineOrTolerated(message), "a refusal is one line", message);
        // A syntax error is told in the program's words at its place; only a field name
        // in a contract error quotes the user's text.
        if (message.rfind("неверный JSON: ", 0) == 0)
            Require(message.find("json.exception") == std::string::npos
                            && message.find("last read") == std::string::npos,
                    "a syntax error is told in the program's words, without the text read",
                    message);
        return 0;
    } catch (const nlohmann::json::out_of_range &error) {
        if (tormel::fuzz::Tolerate(KnownFault::JsonNumberOutOfRange))
            return 0;
        Require(false, "a document is read or refused with an InputError", error.what());
    } catch (const std::exception &error) {
        Require(false, "a document is read or refused with an InputError", error.what());
    }

    Require(Json::accept(document), "only valid JSON is read", document);
    // The library stops at a NUL as at the end; no JSON holds one.
    Require(document.find('\0') == std::string::npos, "a document with a NUL is not read");
    for (const CalcRequest &request : input.Requests)
        Require(request.Lines.size() <= 6, "at most six lines");
    Require(input.IsArray || input.Requests.size() == 1, "an object is one request");

    // Every text read is valid UTF-8 (the JSON reader checks strings).
    const Json again = toJson(input);
    const std::string written = again.dump();
    BatchInput reread;
    try {
        reread = tormel::ParseBatchInput(written);
    } catch (const std::exception &error) {
        Require(false,
                "the requests written as JSON are read again",
                written + ": " + error.what());
    }
    Require(reread.IsArray == input.IsArray && reread.Requests.size() == input.Requests.size(),
            "the requests written as JSON read back the same",
            written);
    for (std::size_t i = 0; i < input.Requests.size(); ++i)
        Require(sameRequest(input.Requests[i], reread.Requests[i]),
                "the requests written as JSON read back the same",
                written);
    return 0;
}
