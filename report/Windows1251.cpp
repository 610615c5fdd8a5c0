#include "report/Windows1251.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>

namespace tormel {

namespace {

constexpr const char *CodePage = "windows-1251";

struct Substitute
{
    std::string_view From;
    std::string_view To;
};

// Separators of the regional settings that Windows-1251 does not have. Spaces
// become the no-break space (the Russian group separator), a decimal separator
// the comma. The Arabic thousands separator looks like a comma, but a comma
// would read as the decimal separator that U+066B becomes.
constexpr Substitute SeparatorSubstitutes[] = {
        {"\u2007", "\u00A0"}, // figure space
        {"\u2008", "\u00A0"}, // punctuation space
        {"\u2009", "\u00A0"}, // thin space
        {"\u200A", "\u00A0"}, // hair space
        {"\u202F", "\u00A0"}, // narrow no-break space (French)
        {"\u205F", "\u00A0"}, // medium mathematical space
        {"\u066B", ","},      // Arabic decimal separator
        {"\u066C", "\u00A0"}, // Arabic thousands separator
        {"\u060C", ","},      // Arabic comma
        {"\u2E41", "\u00A0"}, // reversed comma, the group separator of Adlam locales
};

// The code page as two tables, made once from the library's converter, one byte at
// a time (a single-byte code page has no state between bytes): a report of many
// points is then converted at the speed of a copy. A character that the tables do
// not hold (the converter's best-fit fallbacks among them) is refused, so every text
// encoded reads back as it was.
class CodePageTables
{
public:
    CodePageTables()
    {
        m_twoByte.fill(-1);
        for (int byte = 0; byte < 256; ++byte) {
            const char raw = char(byte);
            QStringDecoder decoder(CodePage);
            const QByteArray utf8 = QString(decoder.decode(QByteArrayView(&raw, 1))).toUtf8();
            std::string &text = m_decoded[std::size_t(byte)];
            text.assign(utf8.constData(), std::size_t(utf8.size()));
            m_asciiSame = m_asciiSame && (byte >= 0x80 || text == std::string(1, raw));
            if (byte < 0x80 || text.empty())
                continue;
            if (text.size() == 2)
                m_twoByte[key(text)] = std::int16_t(byte);
            else
                m_longer.emplace(text, raw);
        }
    }

    std::string decode(std::string_view bytes) const
    {
        std::string text;
        text.reserve(bytes.size() + bytes.size() / 2);
        std::size_t plain = 0; // ASCII bytes not yet appended
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (byte < 0x80 && m_asciiSame)
                continue;
            text.append(bytes.substr(plain, i - plain));
            text.append(m_decoded[byte]);
            plain = i + 1;
        }
        text.append(bytes.substr(plain));
        return text;
    }

    bool decodesTo(std::string_view bytes, std::string_view utf8) const
    {
        std::size_t at = 0;
        for (const char raw : bytes) {
            const auto byte = static_cast<unsigned char>(raw);
            if (byte < 0x80 && m_asciiSame) {
                if (at == utf8.size() || utf8[at] != raw)
                    return false;
                ++at;
                continue;
            }
            const std::string &text = m_decoded[byte];
            if (utf8.compare(at, text.size(), text) != 0)
                return false;
            at += text.size();
        }
        return at == utf8.size();
    }

    std::optional<std::string> encode(std::string_view utf8) const
    {
        if (!m_asciiSame)
            return std::nullopt;
        std::string bytes;
        bytes.reserve(utf8.size());
        std::size_t plain = 0;
        std::size_t i = 0;
        while (i < utf8.size()) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            if (lead < 0x80) {
                ++i;
                continue;
            }
            // The length of a well-formed character; anything else is not in the table.
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            int byte = -1;
            if (length == 2 && i + 1 < utf8.size()) {
                byte = m_twoByte[key(utf8.substr(i, 2))];
            } else if (length > 2) {
                const auto found = m_longer.find(utf8.substr(i, length));
                if (found != m_longer.end())
                    byte = static_cast<unsigned char>(found->second);
            }
            if (byte < 0)
                return std::nullopt;
            bytes.append(utf8.substr(plain, i - plain));
            bytes.push_back(char(byte));
            i += length;
            plain = i;
        }
        bytes.append(utf8.substr(plain));
        return bytes;
    }

private:
    // A two-byte character by its two bytes.
    static std::size_t key(std::string_view pair)
    {
        return std::size_t(static_cast<unsigned char>(pair[0])) << 8
               | static_cast<unsigned char>(pair[1]);
    }

    std::array<std::string, 256> m_decoded;
    std::array<std::int16_t, 1 << 16> m_twoByte; // the byte, or -1
    std::map<std::string, char, std::less<>> m_longer;
    bool m_asciiSame = true;
};

const CodePageTables &Tables()
{
    static const CodePageTables tables;
    return tables;
}

} // namespace

std::string DecodeWindows1251(std::string_view bytes)
{
    return Tables().decode(bytes);
}

std::optional<std::string> EncodeWindows1251(std::string_view utf8)
{
    return Tables().encode(utf8);
}

bool DecodesTo(std::string_view bytes, std::string_view utf8)
{
    return Tables().decodesTo(bytes, utf8);
}

bool IsWindows1251Text(std::string_view utf8)
{
    return EncodeWindows1251(utf8).has_value();
}

std::string WithWindows1251Separators(std::string_view utf8)
{
    // The lead bytes of every substitute: the text between them is copied at once,
    // and no match can start inside another character.
    const auto nextLead = [&](std::size_t from) {
        for (; from < utf8.size(); ++from) {
            const auto byte = static_cast<unsigned char>(utf8[from]);
            if (byte == 0xD8 || byte == 0xD9 || byte == 0xE2)
                return from;
        }
        return std::string_view::npos;
    };
    std::string text;
    text.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t lead = nextLead(i);
        if (lead == std::string_view::npos)
            break;
        text.append(utf8.substr(i, lead - i));
        i = lead;
        const Substitute *match = nullptr;
        for (const Substitute &substitute : SeparatorSubstitutes) {
            if (utf8.substr(i).starts_with(substitute.From)) {
                match = &substitute;
                break;
            }
        }
        if (match) {
            text += match->To;
            i += match->From.size();
        } else {
            text += utf8[i++];
        }
    }
    text.append(utf8.substr(std::min(i, utf8.size())));
    return text;
}

} // namespace tormel
