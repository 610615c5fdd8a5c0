#include "feed/BatchInput.h"

#include "core/QuotedText.h"
#include "feed/JsonSyntaxError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <functional>
#include <iterator>
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
                    {"TimePP", text(device.TimePP)},
                    {"Icu", text(device.Icu)}});
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
                    {"Sk", text(request.Sk)},
                    {"Uk", text(request.Uk)},
                    {"Pk", text(request.Pk)},
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

// The document in pieces, as the library's input iterator: the pieces are read as
// the parser asks for them, and the lines are counted on the way, since the library
// does not say where a number too large for a double stands.
class DocumentSource
{
public:
    explicit DocumentSource(const ReadDocumentPiece &read)
        : m_read(read)
        , m_next(m_buffer.data())
        , m_last(m_buffer.data())
    {}

    class Iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char *;
        using reference = const char &;

        Iterator() = default;
        explicit Iterator(DocumentSource *source)
            : m_source(source)
        {}

        // Only ever compared with the end, as the library does.
        bool operator==(const Iterator &other) const { return atEnd() == other.atEnd(); }
        bool operator!=(const Iterator &other) const { return !(*this == other); }
        const char &operator*() const
        {
            // The library takes a NUL for the end of the text and would accept whatever
            // follows it unread; no JSON holds one, in a string or outside.
            if (*m_source->m_next == '\0')
                m_source->refuseNul();
            return *m_source->m_next;
        }
        Iterator &operator++()
        {
            m_source->advance();
            return *this;
        }

    private:
        bool atEnd() const { return m_source == nullptr || !m_source->fill(); }

        DocumentSource *m_source = nullptr;
    };

    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }

    // Line and column (from 1, in bytes, as in the library's messages) of a place
    // already read whose line ends at most one character later.
    std::pair<std::size_t, std::size_t> lineAndColumn(std::size_t offset) const
    {
        std::size_t lines = m_lines;
        std::size_t lineStart = m_lineStart;
        if (lines > 0 && lineStart > offset) {
            --lines;
            lineStart = m_previousLineStart;
        }
        return {1 + lines, 1 + offset - lineStart};
    }

private:
    [[noreturn]] void refuseNul() const
    {
        const std::size_t offset = m_offset + std::size_t(m_next - m_buffer.data());
        throw InputError("неверный JSON: строка " + std::to_string(1 + m_lines) + ", столбец "
                         + std::to_string(1 + offset - m_lineStart) + ": нулевой байт");
    }

    bool fill()
    {
        if (m_next != m_last)
            return true;
        if (m_ended)
            return false;
        m_offset += std::size_t(m_last - m_buffer.data());
        const std::size_t got = m_read(m_buffer.data(), m_buffer.size());
        m_next = m_buffer.data();
        m_last = m_next + got;
        m_ended = got == 0;
        return got != 0;
    }

    void advance()
    {
        if (*m_next == '\n') {
            ++m_lines;
            m_previousLineStart = m_lineStart;
            m_lineStart = m_offset + std::size_t(m_next - m_buffer.data()) + 1;
        }
        ++m_next;
    }

    const ReadDocumentPiece &m_read;
    std::array<char, 1 << 16> m_buffer{};
    const char *m_next;
    const char *m_last;
    std::size_t m_offset = 0; // of the buffer's first byte in the document
    bool m_ended = false;
    std::size_t m_lines = 0;
    std::size_t m_lineStart = 0;
    std::size_t m_previousLineStart = 0;
};

// Builds the calculation objects one at a time with the library's own document
// builder and hands each on when it is complete: the elements of a root array, or
// the root itself.
class ObjectSplitter
{
public:
    ObjectSplitter(const DocumentSource &source, const CalcRequestHandler &handle)
        : m_source(source)
        , m_handle(handle)
    {}

    bool isArray() const { return m_isArray; }

    // The first contract error, once the document has been read to its end.
    void throwPendingError() const
    {
        if (m_pending)
            throw *m_pending;
    }

    bool null() { return m_builder ? m_builder->null() : deliver(Json(nullptr)); }
    bool boolean(bool value)
    {
        return m_builder ? m_builder->boolean(value) : deliver(Json(value));
    }
    bool number_integer(Json::number_integer_t value)
    {
        return m_builder ? m_builder->number_integer(value) : deliver(Json(value));
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        return m_builder ? m_builder->number_unsigned(value) : deliver(Json(value));
    }
    bool number_float(Json::number_float_t value, const Json::string_t &text)
    {
        if (m_builder)
            return m_builder->number_float(value, text);
        return deliver(Json(value));
    }
    bool string(Json::string_t &value)
    {
        if (m_builder)
            return m_builder->string(value);
        return deliver(Json(std::move(value)));
    }
    bool binary(Json::binary_t &value)
    {
        if (m_builder)
            return m_builder->binary(value);
        return deliver(Json(std::move(value)));
    }
    bool key(Json::string_t &value) { return m_builder->key(value); }

    bool start_object(std::size_t size)
    {
        open();
        return m_builder->start_object(size);
    }
    bool start_array(std::size_t size)
    {
        if (!m_builder && m_depth == 0) {
            m_isArray = true;
            m_depth = 1;
            return true;
        }
        open();
        return m_builder->start_array(size);
    }
    bool end_object() { return close(m_builder->end_object()); }
    bool end_array()
    {
        if (!m_builder) {
            m_depth = 0;
            return true;
        }
        return close(m_builder->end_array());
    }

    template<typename Exception>
    bool parse_error(std::size_t end, const std::string &token, const Exception &error)
    {
        if constexpr (std::is_same_v<Exception, Json::out_of_range>) {
            // The place is just after the number.
            const std::size_t start = end - std::min(end, token.size());
            const auto [line, column] = m_source.lineAndColumn(start);
            throw InputError("неверный JSON: строка " + std::to_string(line) + ", столбец "
                             + std::to_string(column) + ": число " + token
                             + " слишком велико по модулю");
        }
        throw error;
    }

private:
    using Builder = nlohmann::detail::json_sax_dom_parser<Json>;

    void open()
    {
        if (!m_builder) {
            m_value = Json();
            m_builder.emplace(m_value);
            m_builderDepth = m_depth;
        }
        ++m_depth;
    }

    bool close(bool result)
    {
        if (--m_depth == m_builderDepth) {
            m_builder.reset();
            return deliver(std::move(m_value));
        }
        return result;
    }

    bool deliver(const Json &value)
    {
        ++m_position;
        if (m_pending)
            return true;
        CalcRequest request;
        try {
            request = parseRequest(value, m_position);
        } catch (const InputError &error) {
            m_pending = error;
            return true;
        }
        m_handle(std::move(request), m_isArray);
        return true;
    }

    const DocumentSource &m_source;
    const CalcRequestHandler &m_handle;
    Json m_value;
    std::optional<Builder> m_builder;
    std::size_t m_depth = 0;        // containers open around the next value
    std::size_t m_builderDepth = 0; // where the object being built began
    std::size_t m_position = 0;
    bool m_isArray = false;
    std::optional<InputError> m_pending;
};

} // namespace

bool ReadBatchInput(const ReadDocumentPiece &read, const CalcRequestHandler &handle)
{
    DocumentSource source(read);
    ObjectSplitter splitter(source, handle);
    try {
        Json::sax_parse(source.begin(), source.end(), &splitter);
    } catch (const Json::parse_error &error) {
        // The place counted here: the library puts a line break that ends a string at
        // column 0 of the next line.
        const auto [line, column] = source.lineAndColumn(error.byte > 0 ? error.byte - 1 : 0);
        throw InputError("неверный JSON: строка " + std::to_string(line) + ", столбец "
                         + std::to_string(column) + ": " + JsonSyntaxErrorText(error.what()));
    }
    splitter.throwPendingError();
    return splitter.isArray();
}

BatchInput ParseBatchInput(const std::string &document)
{
    std::size_t consumed = 0;
    const ReadDocumentPiece read = [&](char *buffer, std::size_t size) {
        const std::size_t count = std::min(size, document.size() - consumed);
        document.copy(buffer, count, consumed);
        consumed += count;
        return count;
    };
    BatchInput input;
    input.IsArray = ReadBatchInput(read, [&](CalcRequest &&request, bool) {
        input.Requests.push_back(std::move(request));
    });
    return input;
}

} // namespace tormel
