#include "sheet/SheetFile.h"

#include <QCoreApplication>

namespace tormel {

FileResult WriteSheetPdf(const std::string &path, const SheetDocument &document)
{
    const QByteArray bytes = SheetPdf(document);
    if (bytes.isEmpty())
        return FileResult::failure("не удалось построить PDF");
    return WriteFileReplacing(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

std::unique_ptr<QGuiApplication> OffscreenGuiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    // The application keeps references to these for its whole life.
    static int argc = 3;
    static char name[] = "tormel-calc";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char *argv[] = {name, option, platform, nullptr};
    argc = 3;
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace tormel
