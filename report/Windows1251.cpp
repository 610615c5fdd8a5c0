#include "report/Windows1251.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace tormel {

namespace {

constexpr const char *CodePage = "windows-1251";

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

} // namespace tormel
