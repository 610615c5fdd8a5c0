#include "report/Windows1251.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace

std::string DecodeWindows1251(std::string_view bytes)
{
    QStringDecoder decoder(CodePage);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), std::size_t(utf8.size()));
}

std::optional<std::string> EncodeWindows1251(std::string_view utf8)
{
    // Invalid UTF-8 turns into U+FFFD here, which the code page lacks, so the
    // encoder reports it like any other character it cannot hold.
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool IsWindows1251Text(std::string_view utf8)
{
    return EncodeWindows1251(utf8).has_value();
}

std::string WithWindows1251Separators(std::string_view utf8)
{
    std::string text;
    text.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Every substitute starts with a lead byte, so plain ASCII passes quickly
        // and no match can start inside another character.
        const Substitute *match = nullptr;
        if (static_cast<unsigned char>(utf8[i]) >= 0xC0) {
            for (const Substitute &substitute : SeparatorSubstitutes) {
                if (utf8.substr(i).starts_with(substitute.From)) {
                    match = &substitute;
                    break;
                }
            }
        }
        if (match) {
            text += match->To;
            i += match->From.size();
        } else {
            text += utf8[i++];
        }
    }
    return text;
}

} // namespace tormel
