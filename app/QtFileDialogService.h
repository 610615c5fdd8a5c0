#pragma once

#include "core/FileDialogService.h"

namespace tormel {

// The program's file dialogs as real modal file dialogs over the active window. They
// have no title of their own, and the save dialog asks nothing about existing files:
// the report asks its own overwrite question.
class QtFileDialogService : public IFileDialogService
{
public:
    std::optional<std::string> askSaveFileName(const FileFilter &filter,
                                               const std::string &defaultExtension) override;
    std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &filters,
                                               const std::string &defaultExtension) override;
};

} // namespace tormel
