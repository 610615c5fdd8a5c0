#pragma once

#include "report/export/SpreadsheetExport.h"

#include <memory>
#include <string>

namespace tormel {

// How the Calc export reaches LibreOffice. The defaults are the desktop program's:
// the user's own office and profile, visible documents, and the office left running
// with its documents when the program ends. Tests use a private profile, a headless
// office and hidden documents, and end the office.
struct CalcOfficeOptions
{
    // The office's start program; empty: "soffice" on the search path, else the
    // office in /usr/lib/libreoffice.
    std::string officeProgram;
    // An office profile as a file URL (-env:UserInstallation); empty: the user's own.
    std::string profileUrl;
    bool headless = false;
    // New documents are loaded with Hidden=true (a display-less office needs it).
    bool hiddenDocuments = false;
    // End an office that the export started when the export goes away.
    bool terminateOffice = false;
    // How long to wait for the office to accept a connection.
    int startTimeoutMs = 60000;
};

// "в Calc": the document is made by LibreOffice through its UNO bridge, in the module
// libtormel_uno.so. The module is loaded the first time an export asks, so the
// program itself never links LibreOffice's libraries; without the module or without
// LibreOffice the office counts as not installed.
class CalcExport final : public ISpreadsheetExport
{
public:
    // `modulePath` overrides the search for the module (next to the program, then in
    // the build tree).
    explicit CalcExport(CalcOfficeOptions options = {}, std::string modulePath = {});
    ~CalcExport() override;

    bool isInstalled() override;
    bool exportGrid(const ExportGrid &grid, IExportProgress &progress) override;

    // Why the module could not be loaded (empty while it loads or was not tried).
    const std::string &loadError() const { return m_loadError; }

private:
    ISpreadsheetExport *load();

    CalcOfficeOptions m_options;
    std::string m_modulePath;
    bool m_tried = false;
    std::string m_loadError;
    std::unique_ptr<ISpreadsheetExport> m_export;
};

// The module's entry points (C linkage, looked up by name after dlopen). The module
// and the program are built together, so C++ types cross the boundary.
inline constexpr int CalcModuleAbiVersion = 2;
inline constexpr const char *CalcModuleAbiSymbol = "tormel_uno_module_abi";
inline constexpr const char *CalcModuleCreateSymbol = "tormel_uno_create_export";
using CalcModuleAbiFunction = int (*)();
// The caller owns the export and deletes it before the program ends.
using CalcModuleCreateFunction = ISpreadsheetExport *(*)(const CalcOfficeOptions *options);

} // namespace tormel
