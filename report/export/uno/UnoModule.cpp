// The module's entry points, looked up by name after dlopen.

#include "report/export/uno/UnoCalcExport.h"

extern "C" SAL_DLLPUBLIC_EXPORT int tormel_uno_module_abi()
{
    return tormel::CalcModuleAbiVersion;
}

extern "C" SAL_DLLPUBLIC_EXPORT tormel::ISpreadsheetExport *
tormel_uno_create_export(const tormel::CalcOfficeOptions *options)
{
    try {
        return new tormel::uno::UnoCalcExport(options ? *options : tormel::CalcOfficeOptions());
    } catch (...) {
        return nullptr;
    }
}
