#include "core/QuotedText.h"

#include <cstdint>
#include <cstdio>

namespace tormel {

namespace {

// The length of the UTF-8 sequence at the start of the text and its code point;
// 0 when the bytes there are not a well-formed sequence.
std::size_t DecodeUtf8(std::string_view text, char32_t &codePoint)
{
    const auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Appends the text with its control characters and stray bytes escaped, and its quotes
// and backslashes too when it stands between quotes.
void AppendEscaped(std::string &quoted, std::string_view text, bool betweenQuotes)
{
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, c);
        char escape[8];
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(std::uint8_t(text[0])));
            quoted += escape;
            text.remove_prefix(1);
            continue;
        }
        if (betweenQuotes && (c == '"' || c == '\\')) {
            quoted += '\\';
            quoted += char(c);
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (IsControl(c)) {
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(c));
            quoted += escape;
        } else {
            quoted.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
}

} // namespace

std::string QuotedText(std::string_view text)
{
    std::string quoted = "\"";
    AppendEscaped(quoted, text, true);
    return quoted + "\"";
}

std::string OneLineText(std::string_view text)
{
    std::string line;
    AppendEscaped(line, text, false);
    return line;
}

} // namespace tormel
