#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tormel {

// One entry of a file dialog's type list: the text the user sees, such as
// "Таблица (*.csv)", and the name pattern it selects, such as "*.csv".
struct FileFilter
{
    std::string Description;
    std::string Pattern;
};

// The program's file open and save dialogs. The desktop program shows real
// dialogs; the tests answer with a path of their own. Every answer is the full
// path in UTF-8, or nothing when the user cancelled.
class IFileDialogService
{
public:
    virtual ~IFileDialogService() = default;

    // Save dialog with one file type. A name typed without an extension receives
    // "." + defaultExtension. The dialog asks nothing about existing files: the
    // caller asks its own overwrite question.
    virtual std::optional<std::string> askSaveFileName(const FileFilter &filter,
                                                       const std::string &defaultExtension)
            = 0;

    // Open dialog with the file types in this order, the first one selected.
    // A name typed without an extension receives "." + defaultExtension.
    virtual std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &filters,
                                                       const std::string &defaultExtension)
            = 0;
};

} // namespace tormel
