#include "report/export/DesktopFileOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace tormel {

bool DesktopFileOpener::openFile(const std::string &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace tormel
