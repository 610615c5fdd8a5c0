#include "app/SettingsRecentFeeds.h"

#include <QSettings>
#include <QStringList>

namespace tormel {

namespace {

const char *const RecentKey = "feed/recent";

// A fixed name: the application title carries the version, which must not start an empty
// list with every new version.
const char *const SettingsName = "tormel";

} // namespace

std::vector<std::string> SettingsRecentFeeds::loadRecentFeeds()
{
    std::vector<std::string> paths;
    const QSettings settings{QLatin1String(SettingsName), QLatin1String(SettingsName)};
    for (const QString &path : settings.value(QLatin1String(RecentKey)).toStringList())
        paths.push_back(path.toStdString());
    return paths;
}

void SettingsRecentFeeds::saveRecentFeeds(const std::vector<std::string> &paths)
{
    QStringList list;
    for (const std::string &path : paths)
        list.append(QString::fromStdString(path));
    QSettings settings{QLatin1String(SettingsName), QLatin1String(SettingsName)};
    settings.setValue(QLatin1String(RecentKey), list);
}

} // namespace tormel
