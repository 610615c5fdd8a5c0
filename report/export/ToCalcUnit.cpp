#include "report/export/ToCalcUnit.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tormel {

namespace {

constexpr const char *ModuleFileName = "libtormel_uno.so";
constexpr const char *NoServiceManagerMessage = "Couldn't get ServiceManager";

std::vector<std::string> ModuleCandidates(const std::string &explicitPath)
{
    if (!explicitPath.empty())
        return {explicitPath};
    std::vector<std::string> candidates;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto dir = program.parent_path();
        candidates.push_back((dir / ModuleFileName).string());
        candidates.push_back((dir / TORMEL_MODULE_DIR_FROM_BIN / ModuleFileName).string());
    }
#ifdef TORMEL_UNO_MODULE_BUILD_PATH
    candidates.emplace_back(TORMEL_UNO_MODULE_BUILD_PATH);
#endif
    return candidates;
}

} // namespace

CalcExport::CalcExport(CalcOfficeOptions options, std::string modulePath)
    : m_options(std::move(options))
    , m_modulePath(std::move(modulePath))
{}

// The module stays loaded: LibreOffice's libraries keep threads and caches that do
// not survive being unloaded. Only the export is ended here.
CalcExport::~CalcExport() = default;

ISpreadsheetExport *CalcExport::load()
{
    if (m_tried)
        return m_export.get();
    m_tried = true;
    m_loadError = "модуль " + std::string(ModuleFileName) + " не найден";
    for (const std::string &path : ModuleCandidates(m_modulePath)) {
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            continue;
        void *module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            // Usually LibreOffice's own libraries are missing.
            const char *reason = dlerror();
            m_loadError = reason ? reason : path;
            continue;
        }
        const auto abi
                = reinterpret_cast<CalcModuleAbiFunction>(dlsym(module, CalcModuleAbiSymbol));
        const auto create
                = reinterpret_cast<CalcModuleCreateFunction>(dlsym(module, CalcModuleCreateSymbol));
        if (!abi || !create || abi() != CalcModuleAbiVersion) {
            m_loadError = path + ": модуль другой версии";
            dlclose(module);
            continue;
        }
        m_export.reset(create(&m_options));
        if (m_export) {
            m_loadError.clear();
            break;
        }
    }
    return m_export.get();
}

bool CalcExport::isInstalled()
{
    ISpreadsheetExport *module = load();
    return module && module->isInstalled();
}

bool CalcExport::exportGrid(const ExportGrid &grid, IExportProgress &progress)
{
    ISpreadsheetExport *module = load();
    if (!module)
        throw ExportError(NoServiceManagerMessage);
    return module->exportGrid(grid, progress);
}

} // namespace tormel
