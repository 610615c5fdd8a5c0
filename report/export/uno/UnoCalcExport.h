#pragma once

#include "report/export/uno/CalcOffice.h"

namespace tormel::uno {

// The Calc export over UNO: the office's service manager, a new spreadsheet document
// from its Desktop, then the sheet named, formatted and filled, in this order.
class UnoCalcExport final : public ISpreadsheetExport
{
public:
    explicit UnoCalcExport(const CalcOfficeOptions &options);
    ~UnoCalcExport() override;

    bool isInstalled() override;
    bool exportGrid(const ExportGrid &grid, IExportProgress &progress) override;

    // The office's side of the connection, once an export has reached it (tests read
    // the documents back through it).
    Reference<css::uno::XComponentContext> officeContext() const;

private:
    // The service manager as the export's own reference: set when it is created,
    // kept only while no document has been opened with it.
    void createServiceManager(IExportProgress &progress);

    CalcOfficeOptions m_options;
    std::optional<OfficeInstall> m_office;
    Reference<css::uno::XComponentContext> m_local;
    std::unique_ptr<OfficeConnection> m_connection;
    Reference<css::lang::XMultiServiceFactory> m_serviceManager;
};

} // namespace tormel::uno
