#pragma once

#include "report/export/ToExcelUnit.h"

namespace tormel {

// Opens files with the desktop's default application through the toolkit.
class DesktopFileOpener : public IFileOpener
{
public:
    bool openFile(const std::string &path) override;
};

} // namespace tormel
