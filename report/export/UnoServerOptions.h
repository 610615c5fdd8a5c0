#pragma once

#include "report/export/Automation.h"

#include <string>

namespace tormel {

// How the "com.sun.star.ServiceManager" server reaches LibreOffice. The defaults are
// the desktop program's: the user's own office and profile, visible documents, and
// the office left running with its documents when the program ends. Tests use a
// private profile, a headless office and hidden documents, and end the office.
struct UnoServerOptions
{
    // The office's start program; empty: "soffice" on the search path, else the
    // office in /usr/lib/libreoffice.
    std::string officeProgram;
    // An office profile as a file URL (-env:UserInstallation); empty: the user's own.
    std::string profileUrl;
    bool headless = false;
    // New documents are loaded with Hidden=true (a display-less office needs it).
    bool hiddenDocuments = false;
    // End an office that this server started when the server goes away.
    bool terminateOffice = false;
    // How long to wait for the office to accept a connection.
    int startTimeoutMs = 60000;
};

// The plug-in module's entry points (C linkage, looked up by name after dlopen).
// The module and the program are built together, so C++ types cross the boundary.
inline constexpr int UnoPluginAbiVersion = 1;
inline constexpr const char *UnoPluginAbiSymbol = "tormel_uno_plugin_abi";
inline constexpr const char *UnoPluginCreateSymbol = "tormel_uno_create_server";
using UnoPluginAbiFunction = int (*)();
// The caller owns the server and deletes it before the program ends.
using UnoPluginCreateFunction = IAutomationServer *(*)(const UnoServerOptions *options);

} // namespace tormel
