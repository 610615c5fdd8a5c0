#include "feed/JsonSyntaxError.h"

#include <array>
#include <regex>
#include <string_view>
#include <utility>

namespace tormel {

namespace {

// The library's names of the pieces of JSON.
std::string TokenText(std::string_view token)
{
    static const std::array<std::pair<std::string_view, std::string_view>, 15> names{{
            {"'['", "\"[\""},
            {"']'", "\"]\""},
            {"'{'", "\"{\""},
            {"'}'", "\"}\""},
            {"':'", "\":\""},
            {"','", "\",\""},
            {"end of input", "конец текста"},
            {"string literal", "строка"},
            {"number literal", "число"},
            {"true literal", "true"},
            {"false literal", "false"},
            {"null literal", "null"},
            {"'[', '{', or a literal", "значение"},
            {"<parse error>", "ошибка"},
            {"<uninitialized>", "значение"},
    }};
    for (const auto &[english, russian] : names) {
        if (token == english)
            return std::string(russian);
    }
    return "элемент JSON";
}

// What the library's reader of single tokens found wrong.
std::string LexerText(const std::string &message)
{
    static const std::array<std::pair<std::string_view, std::string_view>, 12> texts{{
            {"invalid string: missing closing quote", "строка не закрыта кавычкой"},
            {"invalid string: '\\u' must be followed by 4 hex digits",
             "после \\u должны идти четыре шестнадцатеричные цифры"},
            {"invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF",
             "за кодом U+D800..U+DBFF должен идти код U+DC00..U+DFFF"},
            {"invalid string: surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF",
             "коду U+DC00..U+DFFF должен предшествовать код U+D800..U+DBFF"},
            {"invalid string: forbidden character after backslash", "недопустимый символ после \\"},
            {"invalid string: ill-formed UTF-8 byte", "байт не в кодировке UTF-8"},
            {"invalid number; expected digit after '-'", "неверное число: после \"-\" нет цифры"},
            {"invalid number; expected digit after '.'", "неверное число: после \".\" нет цифры"},
            {"invalid number; expected '+', '-', or digit after exponent",
             "неверное число: после \"e\" нет знака или цифры"},
            {"invalid number; expected digit after exponent sign",
             "неверное число: после знака порядка нет цифры"},
            {"invalid literal", "неизвестное слово (допустимы true, false и null)"},
            {"invalid BOM; must be 0xEF 0xBB 0xBF if given", "неверная метка порядка байтов"},
    }};
    for (const auto &[english, russian] : texts) {
        if (message.compare(0, english.size(), english) == 0)
            return std::string(russian);
    }
    static const std::regex control(R"(invalid string: control character (U\+[0-9A-F]{4}).*)");
    if (std::smatch found; std::regex_match(message, found, control))
        return "управляющий символ " + found[1].str() + " внутри строки (пишется как \\u"
               + found[1].str().substr(2) + ")";
    return "синтаксическая ошибка";
}

} // namespace

std::string JsonSyntaxErrorText(const std::string &libraryMessage)
{
    // Taken apart by searching, not by a regular expression: the text read, which the
    // message quotes, may be as long as the document.
    constexpr std::string_view Syntax = "syntax error ";
    constexpr std::string_view Dash = " - ";
    std::string text;
    const std::size_t syntax = libraryMessage.find(Syntax);
    const std::size_t dash
            = syntax == std::string::npos ? syntax : libraryMessage.find(Dash, syntax);
    if (dash == std::string::npos)
        return "синтаксическая ошибка";
    std::string_view rest = std::string_view(libraryMessage).substr(dash + Dash.size());

    // "; expected ..." ends the message, naming one of the library's tokens.
    std::string expected;
    constexpr std::string_view Expected = "; expected ";
    if (const std::size_t at = rest.rfind(Expected); at != std::string_view::npos) {
        const std::string name = TokenText(rest.substr(at + Expected.size()));
        if (name != "элемент JSON") {
            expected = name;
            rest = rest.substr(0, at);
        }
    }
    constexpr std::string_view Unexpected = "unexpected ";
    if (rest.substr(0, Unexpected.size()) == Unexpected) {
        const std::string found = TokenText(rest.substr(Unexpected.size()));
        text += found == "конец текста" ? "текст оборвался" : "здесь не может стоять " + found;
    } else {
        // The lexer's own message, without the text it read (which may be anything).
        if (const std::size_t at = rest.find("; last read: "); at != std::string_view::npos)
            rest = rest.substr(0, at);
        text += LexerText(std::string(rest));
    }
    if (!expected.empty())
        text += ", ожидается " + expected;
    return text;
}

} // namespace tormel
