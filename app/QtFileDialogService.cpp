#include "app/QtFileDialogService.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace tormel {

namespace {

// The dialog's filter text: "Таблица (*.csv)" already names its pattern; a description
// without one gets it appended.
QString filterText(const FileFilter &filter)
{
    const QString description = QString::fromStdString(filter.Description);
    const QString pattern = QString::fromStdString(filter.Pattern);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
        return description;
    return QStringLiteral("%1 (%2)").arg(description, pattern);
}

std::optional<std::string> run(QFileDialog &dialog, const std::string &defaultExtension)
{
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    // A platform dialog may not add the extension itself.
    if (!defaultExtension.empty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QString::fromStdString(defaultExtension);
    return path.toStdString();
}

QWidget *ownerWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

std::optional<std::string> QtFileDialogService::askSaveFileName(const FileFilter &filter,
                                                                const std::string &defaultExtension)
{
    QFileDialog dialog(ownerWindow());
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(filterText(filter));
    return run(dialog, defaultExtension);
}

std::optional<std::string>
QtFileDialogService::askOpenFileName(const std::vector<FileFilter> &filters,
                                     const std::string &defaultExtension)
{
    QFileDialog dialog(ownerWindow());
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList names;
    for (const FileFilter &filter : filters)
        names << filterText(filter);
    dialog.setNameFilters(names);
    if (!names.isEmpty())
        dialog.selectNameFilter(names.constFirst());
    return run(dialog, defaultExtension);
}

} // namespace tormel
