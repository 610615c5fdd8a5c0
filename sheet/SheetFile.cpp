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

namespace {

QtMessageHandler DefaultHandler = nullptr;

// The toolkit's notes about the platform (no runtime folder, say) are no concern of the
// user of a windowless program, whose error output carries one line per failure.
void KeepSeriousMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        DefaultHandler(type, context, text);
}

} // namespace

std::unique_ptr<QGuiApplication> OffscreenGuiApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    DefaultHandler = qInstallMessageHandler(KeepSeriousMessages);
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
