#include "core/LocaleSeparators.h"

#include <QLocale>
#include <QString>

namespace tormel {

namespace {

NumberSeparators separatorsOf(const QLocale &locale)
{
    NumberSeparators separators;
    separators.decimal = locale.decimalPoint().toStdString();
    separators.group = locale.groupSeparator().toStdString();
    return separators;
}

} // namespace

NumberSeparators SystemNumberSeparators()
{
    return separatorsOf(QLocale::system());
}

std::optional<NumberSeparators> NamedNumberSeparators(const std::string &name)
{
    const QLocale locale(QString::fromStdString(name));
    // An unknown name falls back to the "C" locale inside the toolkit.
    if (locale.language() == QLocale::C && name != "C" && name != "POSIX")
        return std::nullopt;
    return separatorsOf(locale);
}

} // namespace tormel
