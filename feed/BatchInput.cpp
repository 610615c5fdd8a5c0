#include "feed/BatchInput.h"

#include "core/QuotedText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <type_traits>

namespace tormel {

namespace {

using Json = nlohmann::json;

std::string describe(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "логическое значение";
    case Json::value_t::string:
        return "строка";
    case Json::value_t::array:
        return "массив";
    case Json::value_t::object:
        return "объект";
    default:
        return "число";
    }
}

class Reader
{
public:
    explicit Reader(std::size_t position)
        : m_position(position)
    {}

    [[noreturn]] void fail(const std::string &field, const std::string &what) const
    {
        std::string text = "объект " + std::to_string(m_position);
        if (!field.empty())
            text += ", поле " + QuotedText(field);
        throw InputError(text + ": " + what);
    }

    void requireNotNull(const Json &value, const std::string &field) const
    {
        if (value.is_null())
            fail(field, "значение null не допускается");
    }

    // A text field: a string as it stands, or a number as its shortest round-trip text.
    std::string text(const Json &value, const std::string &field) const
    {
        requireNotNull(value, field);
        if (value.is_string())
            return value.get<std::string>();
        if (value.is_number_integer() || value.is_number_unsigned())
            return value.dump();
        if (value.is_number_float()) {
            char buffer[64];
            const auto [end, ec]
                    = std::to_chars(std::begin(buffer), std::end(buffer), value.get<double>());
            (void)ec;
            return std::string(buffer, end);
        }
        fail(field, "ожидается строка или число, а не " + describe(value));
    }

    bool flag(const Json &value, const std::string &field) const
    {
        requireNotNull(value, field);
        if (!value.is_boolean())
            fail(field, "ожидается true или false, а не " + describe(value));
        return value.get<bool>();
    }

    const Json &object(const Json &value, const std::string &field) const
    {
        requireNotNull(value, field);
        if (!value.is_object())
            fail(field, "ожидается объект, а не " + describe(value));
        return value;
    }

    // Calls the handler of every member; a member without a handler is an error.
    void members(const Json &object,
                 const std::string &prefix,
                 const std::map<std::string, std::function<void(const Json &, const std::string &)>>
                         &handlers) const
    {
        for (const auto &[key, value] : object.items()) {
            const std::string field = prefix + key;
            const auto handler = handlers.find(key);
            if (handler == handlers.end())
                fail(field, "неизвестное поле");
            handler->second(value, field);
        }
    }

private:
    std::size_t m_position;
};

LineRequest parseLine(const Reader &reader, const Json &value, const std::string &field)
{
    LineRequest line;
    const auto text = [&](std::optional<std::string> &target) {
        return [&reader, &target](const Json &v, const std::string &f) {
            target = reader.text(v, f);
        };
    };
    reader.members(reader.object(value, field),
                   field + ".",
                   {{"KindPerform", text(line.KindPerform)},
                    {"Stuff", text(line.Stuff)},
                    {"Ff", text(line.Ff)},
                    {"Fn", text(line.Fn)},
                    {"Length", text(line.Length)},
                    {"QuanPar", text(line.QuanPar)},
                    {"Temperature", text(line.Temperature)}});
    return line;
}

DeviceRequest parseDevice(const Reader &reader, const Json &value, const std::string &field)
{
    DeviceRequest device;
    const auto text = [&](std::optional<std::string> &target) {
        return [&reader, &target](const Json &v, const std::string &f) {
            target = reader.text(v, f);
        };
    };
    const auto flag = [&](std::optional<bool> &target) {
        return [&reader, &target](const Json &v, const std::string &f) {
            target = reader.flag(v, f);
        };
    };
    reader.members(reader.object(value, field),
                   field + ".",
                   {{"Accepted", flag(device.Accepted)},
                    {"AV", flag(device.AV)},
                    {"TokAVnom", text(device.TokAVnom)},
                    {"TokNR", text(device.TokNR)},
                    {"TokNRChecked", flag(device.TokNRChecked)},
                    {"KZAV", text(device.KZAV)},
                    {"TypePP", text(device.TypePP)},
                    {"TokPP", text(device.TokPP)},
                    {"KZPP", text(device.KZPP)},
                    {"TimePP", text(device.TimePP)}});
    return device;
}

CalcRequest parseRequest(const Json &value, std::size_t position)
{
    const Reader reader(position);
    if (!value.is_object())
        reader.fail("", "ожидается объект расчета, а не " + describe(value));

    CalcRequest request;
    const auto text = [&](std::optional<std::string> &target) {
        return [&reader, &target](const Json &v, const std::string &f) {
            target = reader.text(v, f);
        };
    };
    reader.members(value,
                   "",
                   {{"Name", text(request.Name)},
                    {"WindKind", text(request.WindKind)},
                    {"TransPower", text(request.TransPower)},
                    {"RArc", text(request.RArc)},
                    {"Lines",
                     [&](const Json &v, const std::string &f) {
                         reader.requireNotNull(v, f);
                         if (!v.is_array())
                             reader.fail(f, "ожидается массив, а не " + describe(v));
                         if (v.size() > 6)
                             reader.fail(f, "линий не может быть больше 6");
                         for (std::size_t i = 0; i < v.size(); ++i)
                             request.Lines.push_back(parseLine(
                                     reader, v[i], f + "[" + std::to_string(i + 1) + "]"));
                     }},
                    {"Device", [&](const Json &v, const std::string &f) {
                         request.Device = parseDevice(reader, v, f);
                     }}});
    return request;
}

// The library's own document builder, which also says where a number too large
// for a double stands: the library reports that error without its place.
class DocumentBuilder : public nlohmann::detail::json_sax_dom_parser<Json>
{
public:
    DocumentBuilder(Json &result, const std::string &document)
        : json_sax_dom_parser(result)
        , m_document(document)
    {}

    template<typename Exception>
    bool parse_error(std::size_t end, const std::string &token, const Exception &error)
    {
        if constexpr (std::is_same_v<Exception, Json::out_of_range>) {
            // The place is just after the number; lines and columns count bytes
            // from 1, as in the library's other messages.
            const std::size_t start = end - std::min(end, token.size());
            const std::string_view before = std::string_view(m_document).substr(0, start);
            const std::size_t lineStart = before.rfind('\n');
            const std::size_t line
                    = 1 + std::size_t(std::count(before.begin(), before.end(), '\n'));
            const std::size_t column
                    = 1 + start - (lineStart == std::string_view::npos ? 0 : lineStart + 1);
            throw InputError("неверный JSON: строка " + std::to_string(line) + ", столбец "
                             + std::to_string(column) + ": число " + token
                             + " слишком велико по модулю");
        }
        return json_sax_dom_parser::parse_error(end, token, error);
    }

private:
    const std::string &m_document;
};

} // namespace

BatchInput ParseBatchInput(const std::string &document)
{
    Json root;
    try {
        DocumentBuilder builder(root, document);
        Json::sax_parse(document, &builder);
    } catch (const Json::parse_error &error) {
        throw InputError("неверный JSON: " + OneLineText(error.what()));
    }

    BatchInput input;
    if (root.is_array()) {
        input.IsArray = true;
        for (std::size_t i = 0; i < root.size(); ++i)
            input.Requests.push_back(parseRequest(root[i], i + 1));
    } else {
        input.Requests.push_back(parseRequest(root, 1));
    }
    return input;
}

} // namespace tormel
